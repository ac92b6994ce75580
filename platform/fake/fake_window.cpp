#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"
#include "platform/window.h"

namespace korvane {
namespace {
std::vector<std::string> messageBoxes;
}  // namespace

namespace platform {

void ShowMessageBox(const char* text) {
    messageBoxes.emplace_back(text);
    fake::Journal(std::string("window.messagebox ") + text);
}

}  // namespace platform

namespace fake {

const std::vector<std::string>& MessageBoxes() {
    return messageBoxes;
}

namespace detail {
void ResetWindow() {
    messageBoxes.clear();
}
}  // namespace detail

}  // namespace fake
}  // namespace korvane
