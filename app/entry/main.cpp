// The korvane executable: the game on the desktop, run from the folder that
// holds Art/ and Sound/.
#include "app/win_main.h"

int main() {
    return korvane::WinMain();
}
