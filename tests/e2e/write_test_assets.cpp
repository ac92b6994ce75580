// Writes the small test versions of every game file into a folder, for the
// end-to-end tests: write_test_assets FOLDER
#include <cstdio>

#include "tests/support/test_assets.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_test_assets FOLDER\n");
        return 2;
    }
    korvane::testing::WriteTestAssets(argv[1]);
    return 0;
}
