// The Windows backend's window, message loop and message boxes.
#include <string>

#include "platform/win32/win32_shared.h"
#include "platform/window.h"

namespace korvane::platform {
namespace win32 {
namespace {

HWND gameWindow = nullptr;
WindowProcedure gameProcedure = nullptr;

// The message the game's procedure is handling now, for DefWindowProcA. The
// procedure is entered again from inside DefWindowProcA, DirectDraw's mode
// changes and MessageBoxA's own loop, so each call keeps the one it replaced.
struct HostMessage {
    HWND window;
    UINT number;
    WPARAM wParam;
    LPARAM lParam;
};
const HostMessage* handling = nullptr;

// The last message PeekMessageA took, for TranslateMessage and DispatchMessageA.
MSG taken{};

// Alt+Enter, pressed, not held: the key's context bit says Alt is down, the
// previous-state bit that it was not down already.
bool IsAltEnter(UINT number, WPARAM wParam, LPARAM lParam) {
    return number == WM_SYSKEYDOWN && wParam == VK_RETURN && (lParam & (1L << 29)) != 0 &&
           (lParam & (1L << 30)) == 0;
}

// What the window answers itself, without the game's procedure: true with
// `result` set when the message was handled here.
bool HandledHere(HWND window, UINT number, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = 0;
    switch (number) {
        case WM_SYSKEYDOWN:
            if (IsAltEnter(number, wParam, lParam)) {
                ToggleWindowed();
                return true;
            }
            return false;
        case WM_SYSCHAR:
            // The Enter of Alt+Enter has no menu to choose from.
            return wParam == '\r';
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                // Alt alone would open the window menu and hold the game in
                // its loop; the screen saver and display sleep are held off
                // while the game runs.
                case SC_KEYMENU:
                case SC_SCREENSAVE:
                case SC_MONITORPOWER:
                    return true;
                default:
                    return false;
            }
        case WM_PAINT:
            if (!Windowed()) {
                return false;
            }
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            RepaintWindow();
            return true;
        case WM_SETCURSOR:
            // In a window the pointer shows over the frame, not the picture.
            if (Windowed() && LOWORD(lParam) == HTCLIENT) {
                SetCursor(nullptr);
                *result = TRUE;
                return true;
            }
            return false;
        default:
            return false;
    }
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT number, WPARAM wParam, LPARAM lParam) {
    if (gameProcedure == nullptr) {
        return DefWindowProcA(window, number, wParam, lParam);
    }
    LRESULT answer = 0;
    if (HandledHere(window, number, wParam, lParam, &answer)) {
        return answer;
    }
    const HostMessage current{window, number, wParam, lParam};
    const HostMessage* outer = handling;
    handling = &current;
    // Closing the window (Alt+F4, its close button, the taskbar) is the
    // user's request to end the game: the game hears it as the window going
    // away, but the window stays until the program has released the devices
    // attached to it and put the display mode back, and goes with the
    // process. Left to the default procedure, it would be destroyed at once
    // under DirectDraw and DirectInput, and a frame more would run on it.
    const bool closing = number == WM_CLOSE || number == WM_DESTROY;
    const WindowMessage message{closing ? MessageKind::Destroy : MessageKind::Other, 0};
    const intptr_t result = gameProcedure(message);
    handling = outer;
    return static_cast<LRESULT>(result);
}

}  // namespace

HINSTANCE ModuleHandle() {
    return GetModuleHandleA(nullptr);
}

HWND GameWindow() {
    return gameWindow;
}

}  // namespace win32

void WindowRegisterClass(const char* className, WindowProcedure procedure) {
    win32::gameProcedure = procedure;
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = win32::HostWindowProc;
    windowClass.hInstance = win32::ModuleHandle();
    windowClass.hIcon = LoadIconA(windowClass.hInstance, MAKEINTRESOURCEA(1));
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-cstyle-cast): the system's own macro
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

void WindowCreate(const char* className, const char* title, int width, int height) {
    win32::gameWindow = CreateWindowExA(
        0, className, title, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MAXIMIZE, 0, 0,
        width, height, nullptr, nullptr, win32::ModuleHandle(), nullptr);
}

void WindowShow() {
    ShowWindow(win32::gameWindow, SW_SHOWDEFAULT);
    // A game played with the arrow keys' repeat alone, or left in a menu,
    // sends the system no input for long stretches: the display is kept on
    // while it runs (the entry puts it back at the end).
    SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
}

void CursorShow(bool visible) {
    ShowCursor(visible ? TRUE : FALSE);
}

bool WindowPeekMessage(WindowMessage* message) {
    if (PeekMessageA(&win32::taken, nullptr, 0, 0, PM_REMOVE) == 0) {
        return false;
    }
    // Only a quit carries its parameter, the exit code; key and mouse
    // messages carry theirs to the window procedure alone.
    if (win32::taken.message == WM_QUIT) {
        *message = WindowMessage{MessageKind::Quit, static_cast<uintptr_t>(win32::taken.wParam)};
    } else {
        *message = WindowMessage{MessageKind::Other, 0};
    }
    return true;
}

intptr_t WindowDispatch(const WindowMessage& /*message*/) {
    TranslateMessage(&win32::taken);
    return static_cast<intptr_t>(DispatchMessageA(&win32::taken));
}

intptr_t WindowDefaultProcedure(const WindowMessage& /*message*/) {
    const win32::HostMessage* current = win32::handling;
    if (current == nullptr) {
        return 0;
    }
    return static_cast<intptr_t>(
        DefWindowProcA(current->window, current->number, current->wParam, current->lParam));
}

void PostQuitMessage(int exitCode) {
    ::PostQuitMessage(exitCode);
}

void ShowMessageBox(const char* text) {
    // In the exclusive full screen a dialog is drawn on the surface GDI uses,
    // which may be behind the game's picture: it is brought to the front
    // first, and the picture back after, since the game may go on.
    const bool pictureAway = win32::ShowDialogSurface();
    // No caption of its own: Windows shows its default, "Error".
    MessageBoxA(win32::gameWindow, text, nullptr, MB_OK);
    if (pictureAway) {
        win32::ShowGamePicture();
    }
}

namespace {

bool WriteWhole(HANDLE to, const std::string& text) {
    DWORD written = 0;
    return to != nullptr && to != INVALID_HANDLE_VALUE &&
           WriteFile(to, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0 &&
           written == text.size();
}

}  // namespace

void WriteErrorLine(const char* line) {
    const std::string text = std::string(line) + "\r\n";
    // A program for the desktop has a standard error only when whoever
    // started it gave it one (a redirection).
    if (WriteWhole(GetStdHandle(STD_ERROR_HANDLE), text)) {
        return;
    }
    // Started from a console (cmd, PowerShell), the line goes there; started
    // from Explorer there is no console and nothing to tell.
    if (AttachConsole(ATTACH_PARENT_PROCESS) == 0) {
        return;
    }
    HANDLE console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    WriteWhole(console, text);
    if (console != INVALID_HANDLE_VALUE) {
        CloseHandle(console);
    }
    FreeConsole();
}

}  // namespace korvane::platform
