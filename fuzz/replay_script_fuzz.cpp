// The replay script parser fed any text. What it accepts is a script the
// runner can act on (known keys, known failure steps, shot names that stay in
// their folder); what it refuses names the line at fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/fake/fake_platform.h"
#include "tools/replay/replay_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvane;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto script = replay::ParseScript(text, &error);
    if (!script) {
        if (error.rfind("line ", 0) != 0) {
            std::abort();
        }
        return 0;
    }
    for (const auto& step : script->failSteps) {
        if (!fake::IsStepName(step)) {
            std::abort();
        }
    }
    for (const auto& action : script->actions) {
        const bool isKey = action.kind == replay::TimedAction::Kind::KeyDown ||
                           action.kind == replay::TimedAction::Kind::KeyUp;
        if (isKey && action.scanCode == 0) {
            std::abort();
        }
        if (action.kind == replay::TimedAction::Kind::Shot &&
            (action.name.empty() || action.name.find('/') != std::string::npos)) {
            std::abort();
        }
    }
    return 0;
}
