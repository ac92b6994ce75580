// korvane.exe's entry: a Windows GUI program, so no console window opens.
#include <windows.h>

#include "platform/game_entry.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    // The game reads none of these: the module handle is asked for where it
    // is needed, and the window is shown the default way.
    const int exitCode = korvane::WinMain();
    // The display may sleep again as the system decides.
    SetThreadExecutionState(ES_CONTINUOUS);
    ExitProcess(static_cast<UINT>(exitCode));
}
