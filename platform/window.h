#pragma once
// The game's one window, its message queue and its message boxes.
//
// Only the messages that matter to the game carry a meaning: the window being
// destroyed and the request to quit. Every other event of the host (keys,
// mouse, focus) arrives as an Other message whose parameter is 0.
#include <cstdint>

namespace korvane::platform {

enum class MessageKind : uint8_t {
    Quit,     // leave the message loop; the parameter is the exit code
    Destroy,  // the window is being destroyed (closed by the user)
    Other,
};

struct WindowMessage {
    MessageKind kind = MessageKind::Other;
    uintptr_t parameter = 0;
};

// The game's handler of dispatched messages.
using WindowProcedure = intptr_t (*)(const WindowMessage& message);

// Registers the window class with its handler. The result is not tested by
// the game, so this cannot fail.
void WindowRegisterClass(const char* className, WindowProcedure procedure);
// Creates the game window: a borderless full-screen window of the registered
// class, `width` x `height` logical pixels, not shown yet.
void WindowCreate(const char* className, const char* title, int width, int height);
// Shows the window.
void WindowShow();
// Hides or shows the mouse cursor over the window.
void CursorShow(bool visible);
// Takes at most one message off the queue without waiting; false when there
// was none.
bool WindowPeekMessage(WindowMessage* message);
// Hands a message to the registered window procedure and returns its result.
intptr_t WindowDispatch(const WindowMessage& message);
// What the host does with a message the game does not handle.
intptr_t WindowDefaultProcedure(const WindowMessage& message);
// Queues a Quit message carrying `exitCode`.
void PostQuitMessage(int exitCode);

// Shows a modal message box owned by the game window with `text`, no caption
// of its own and a single OK button; returns when it has been dismissed. The
// box is seen even over the game's full screen, and the game's picture is
// back once it has gone.
void ShowMessageBox(const char* text);

// Writes one line of text (its own newline added) where whoever started the
// game can read it: standard error, or, for a program of the host that has
// none, the console it was started from. Where there is neither, the line
// goes nowhere.
void WriteErrorLine(const char* line);

}  // namespace korvane::platform
