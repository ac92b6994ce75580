// The Windows backend's window, message loop and message boxes.
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

LRESULT CALLBACK HostWindowProc(HWND window, UINT number, WPARAM wParam, LPARAM lParam) {
    if (gameProcedure == nullptr) {
        return DefWindowProcA(window, number, wParam, lParam);
    }
    const HostMessage current{window, number, wParam, lParam};
    const HostMessage* outer = handling;
    handling = &current;
    const WindowMessage message{number == WM_DESTROY ? MessageKind::Destroy : MessageKind::Other,
                                0};
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
    // No caption of its own: Windows shows its default, "Error".
    MessageBoxA(win32::gameWindow, text, nullptr, MB_OK);
}

}  // namespace korvane::platform
