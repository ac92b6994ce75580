#include "platform/fake/fake_platform.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <stdexcept>

#include "platform/fake/fake_internal.h"

namespace korvane::fake {

void Reset() {
    detail::ResetFailures();
    detail::ResetJournal();
    detail::ResetClock();
    detail::ResetFiles();
    detail::ResetWindow();
    detail::ResetDisplay();
    detail::ResetSoundDevice();
    detail::ResetInputDevices();
}

namespace {

struct Failure {
    int code;
    int onCall;
};

std::map<std::string, Failure, std::less<>> failures;
std::map<std::string, int, std::less<>> calls;
std::vector<std::string> journal;

}  // namespace

// Every step of the backend that a test or script can make fail.
constexpr std::string_view kStepNames[] = {"display.open",
                                           "display.version",
                                           "display.exclusive",
                                           "display.mode",
                                           "display.primary",
                                           "display.backbuffer",
                                           "display.format",
                                           "display.offscreen",
                                           "display.lock",
                                           "display.unlock",
                                           "display.flip",
                                           "display.fill",
                                           "display.blit",
                                           "display.textcontext",
                                           "display.font",
                                           "display.text",
                                           "input.create",
                                           "input.keyboard.create",
                                           "input.keyboard.cooperate",
                                           "input.keyboard.format",
                                           "input.keyboard.acquire",
                                           "input.mouse.create",
                                           "input.mouse.cooperate",
                                           "input.mouse.format",
                                           "input.mouse.acquire",
                                           "input.keyboard.read",
                                           "input.mouse.read",
                                           "sound.create",
                                           "sound.cooperate",
                                           "sound.buffer",
                                           "sound.lock",
                                           "sound.unlock",
                                           "sound.position",
                                           "sound.play",
                                           "sound.stop",
                                           "sound.status",
                                           "sound.volume",
                                           "sound.frequency",
                                           "sound.pan",
                                           "riff.open",
                                           "riff.descend",
                                           "riff.read",
                                           "riff.ascend",
                                           "file.open",
                                           "file.size",
                                           "file.read",
                                           "alloc.board",
                                           "alloc.image",
                                           "alloc.image.file",
                                           "alloc.sound",
                                           "clock.frequency"};

bool IsStepName(std::string_view step) {
    return std::find(std::begin(kStepNames), std::end(kStepNames), step) != std::end(kStepNames);
}

void FailStep(std::string_view step, int code, int onCall) {
    if (!IsStepName(step)) {
        throw std::invalid_argument("no platform step is called '" + std::string(step) + "'");
    }
    failures[std::string(step)] = Failure{code == 0 ? 1 : code, onCall};
}

int StepFailure(std::string_view step) {
    auto counted = calls.find(step);
    if (counted == calls.end()) {
        counted = calls.emplace(std::string(step), 0).first;
    }
    int call = ++counted->second;
    auto failure = failures.find(step);
    if (failure == failures.end()) {
        return 0;
    }
    const Failure& f = failure->second;
    return (f.onCall == 0 || f.onCall == call) ? f.code : 0;
}

int StepCalls(std::string_view step) {
    auto counted = calls.find(step);
    return counted == calls.end() ? 0 : counted->second;
}

void Journal(std::string line) {
    journal.push_back(std::move(line));
}

const std::vector<std::string>& JournalLines() {
    return journal;
}

namespace detail {

void ResetFailures() {
    failures.clear();
    calls.clear();
}

void ResetJournal() {
    journal.clear();
}

}  // namespace detail
}  // namespace korvane::fake
