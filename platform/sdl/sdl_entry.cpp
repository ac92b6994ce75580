// The korvane executable's entry: the game on the desktop, run from the
// folder that holds Art/ and Sound/ (installed, a launcher changes to it).
#include "platform/game_entry.h"

int main() {
    return korvane::WinMain();
}
