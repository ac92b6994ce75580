// Starts a program, waits for it, and writes its exit code to a file:
//   exit_code_of.exe CODE_FILE PROGRAM [ARGUMENTS...]
// then ends with that code too. The Windows end-to-end tests start the game
// through it because the exit status of Wine's loader is not always the
// game's: once a process's last thread has ended, Wine's server gives its
// Unix process a second to go and then kills it, so on a busy machine a
// game that ended with 1 can show as SIGKILL. A Windows parent is told the
// code the program ended with, whatever becomes of the Unix process after.
// The program inherits the standard handles and the working folder.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// ARGUMENT as the C runtime's command-line parser will read it back.
std::wstring quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes double only before a quote, which is escaped itself.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: exit_code_of.exe CODE_FILE PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    std::wstring command_line = quoted(argv[2]);
    for (int i = 3; i < argc; ++i) {
        command_line += L' ';
        command_line += quoted(argv[i]);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "exit_code_of.exe: cannot start %ls (error %lu)\n", argv[2],
                     GetLastError());
        return 127;
    }
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.hProcess, &code)) {
        std::fprintf(stderr, "exit_code_of.exe: lost %ls (error %lu)\n", argv[2], GetLastError());
        return 127;
    }
    // The handles go with this process, which ends now.
    std::ofstream(std::filesystem::path(argv[1])) << code << '\n';
    return static_cast<int>(code);
}
