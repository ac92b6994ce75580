#include "platform/fake/fake_window.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <vector>

#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"
#include "platform/window.h"

namespace korvane {
namespace {

struct TimedMessage {
    uint64_t atNs;
    platform::WindowMessage message;
};

struct FakeWindow {
    platform::WindowProcedure procedure = nullptr;
    bool created = false;
    bool shown = false;
    int cursorCount = 0;  // the cursor shows while this is 0 or more
    std::vector<TimedMessage> timeline;
    std::deque<platform::WindowMessage> queue;
    std::vector<std::string> messageBoxes;
    std::function<void(const std::string&)> messageBoxObserver;
};

FakeWindow window;

void QueueDueMessages() {
    const uint64_t now = fake::VirtualTimeNs();
    std::stable_sort(window.timeline.begin(), window.timeline.end(),
                     [](const TimedMessage& a, const TimedMessage& b) { return a.atNs < b.atNs; });
    auto due = window.timeline.begin();
    while (due != window.timeline.end() && due->atNs <= now) {
        window.queue.push_back(due->message);
        ++due;
    }
    window.timeline.erase(window.timeline.begin(), due);
}

}  // namespace

namespace platform {

void WindowRegisterClass(const char* className, WindowProcedure procedure) {
    window.procedure = procedure;
    fake::Journal(std::string("window.register ") + className);
}

void WindowCreate(const char* className, const char* title, int width, int height) {
    window.created = true;
    fake::Journal(std::string("window.create ") + className + " \"" + title + "\" " +
                  std::to_string(width) + "x" + std::to_string(height));
}

void WindowShow() {
    window.shown = true;
    fake::Journal("window.show");
}

void CursorShow(bool visible) {
    window.cursorCount += visible ? 1 : -1;
    fake::Journal(visible ? "window.cursor show" : "window.cursor hide");
}

bool WindowPeekMessage(WindowMessage* message) {
    QueueDueMessages();
    if (window.queue.empty()) {
        return false;
    }
    *message = window.queue.front();
    window.queue.pop_front();
    return true;
}

intptr_t WindowDispatch(const WindowMessage& message) {
    return window.procedure != nullptr ? window.procedure(message) : 0;
}

intptr_t WindowDefaultProcedure(const WindowMessage& /*message*/) {
    return 0;
}

void PostQuitMessage(int exitCode) {
    window.queue.push_back({MessageKind::Quit, static_cast<uintptr_t>(exitCode)});
}

void ShowMessageBox(const char* text) {
    window.messageBoxes.emplace_back(text);
    fake::Journal(std::string("window.messagebox ") + text);
    if (window.messageBoxObserver) {
        window.messageBoxObserver(text);
    }
}

void WriteErrorLine(const char* line) {
    std::fprintf(stderr, "%s\n", line);
}

}  // namespace platform

namespace fake {

void ScheduleWindowClose(uint64_t atNs) {
    window.timeline.push_back({atNs, {platform::MessageKind::Destroy, 0}});
}

void ScheduleQuit(uint64_t atNs, int exitCode) {
    window.timeline.push_back(
        {atNs, {platform::MessageKind::Quit, static_cast<uintptr_t>(exitCode)}});
}

void PostOtherMessage(uintptr_t parameter) {
    window.queue.push_back({platform::MessageKind::Other, parameter});
}

bool CursorVisible() {
    return window.cursorCount >= 0;
}
bool WindowShown() {
    return window.shown;
}

void SetMessageBoxObserver(std::function<void(const std::string&)> observer) {
    window.messageBoxObserver = std::move(observer);
}

const std::vector<std::string>& MessageBoxes() {
    return window.messageBoxes;
}

namespace detail {
void ResetWindow() {
    window = FakeWindow{};
}
}  // namespace detail

}  // namespace fake
}  // namespace korvane
