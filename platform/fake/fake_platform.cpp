#include "platform/fake/fake_platform.h"

#include <map>

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

void FailStep(std::string_view step, int code, int onCall) {
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
