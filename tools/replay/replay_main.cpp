// korvane-replay [--assets DIR] [--trace FILE] [--shots DIR] [--check]
//                [--random SEED] [--demo] [--frames N] SCRIPT
// Plays the whole game on the headless machine in virtual time, as the
// script says, and writes what happened as a trace. See docs/replay.md.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "tools/replay/replay_run.h"
#include "tools/replay/replay_script.h"

namespace {

constexpr int kUsageError = 64;
constexpr int kViolation = 70;
constexpr int kCannotCreate = 73;

// A whole decimal number, or nothing.
std::optional<uint64_t> Number(const char* text) {
    const std::string digits = text;
    if (digits.empty() || digits.size() > 18 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoull(digits);
}

// The data folder: the installed game's, found from where this program is
// installed (on Linux, where /proc tells), or else the build tree's. The
// build tree's is named from this program's own folder where that is known,
// so that the program carries no trace of the folder it was built in and
// builds in two places give the same bytes; elsewhere it is absolute.
std::string DefaultDataDir() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path installed = self.parent_path() / KORVANE_INSTALLED_DATA;
        if (std::filesystem::is_directory(installed / "Art", error)) {
            return installed.lexically_normal().string();
        }
        return (self.parent_path() / KORVANE_DEFAULT_DATA).lexically_normal().string();
    }
    return KORVANE_DEFAULT_DATA;
}

int Usage(const char* problem) {
    std::fprintf(stderr,
                 "korvane-replay: %s\n"
                 "usage: korvane-replay [--assets DIR] [--trace FILE] [--shots DIR] [--check] "
                 "[--random SEED] [--demo] [--frames N] SCRIPT\n",
                 problem);
    return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
    korvane::replay::Options options;
    options.dataDir = DefaultDataDir();
    options.shotsDir = ".";
    std::string tracePath;
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--assets" && hasValue) {
            options.dataDir = argv[++i];
        } else if (arg == "--trace" && hasValue) {
            tracePath = argv[++i];
        } else if (arg == "--shots" && hasValue) {
            options.shotsDir = argv[++i];
        } else if (arg == "--frames" && hasValue && Number(argv[i + 1])) {
            options.maxFrames = *Number(argv[++i]);
        } else if (arg == "--demo") {
            options.demo = true;
        } else if (arg == "--check") {
            options.check = true;
        } else if (arg == "--random" && hasValue && Number(argv[i + 1])) {
            options.randomSeed = Number(argv[++i]);
        } else if (!arg.empty() && arg[0] != '-' && scriptPath.empty()) {
            scriptPath = arg;
        } else {
            return Usage(("unexpected argument '" + arg + "'").c_str());
        }
    }
    if (scriptPath.empty()) {
        return Usage("no script given");
    }
    std::ifstream scriptFile(scriptPath);
    if (!scriptFile) {
        return Usage(("cannot read the script " + scriptPath).c_str());
    }
    std::stringstream text;
    text << scriptFile.rdbuf();
    std::string error;
    const auto script = korvane::replay::ParseScript(text.str(), &error);
    if (!script) {
        std::fprintf(stderr, "korvane-replay: %s: %s\n", scriptPath.c_str(), error.c_str());
        return kUsageError;
    }
    if (options.randomSeed && !script->endMs) {
        return Usage("--random needs an 'end' line in the script");
    }
    std::ofstream traceFile;
    if (!tracePath.empty()) {
        traceFile.open(tracePath);
        if (!traceFile) {
            return Usage(("cannot write the trace " + tracePath).c_str());
        }
    }
    std::ostream& trace = tracePath.empty() ? std::cout : traceFile;
    std::error_code madeShotsDir;
    std::filesystem::create_directories(options.shotsDir, madeShotsDir);
    const auto outcome = korvane::replay::RunScript(*script, options, trace);
    if (options.check) {
        std::fprintf(stderr, "korvane-replay: checked %llu frames\n",
                     static_cast<unsigned long long>(outcome.frames));
    }
    if (outcome.violations > 0) {
        std::fprintf(stderr, "korvane-replay: %d broken rule(s) after %llu frames; see the trace\n",
                     outcome.violations, static_cast<unsigned long long>(outcome.frames));
        return kViolation;
    }
    for (const std::string& shot : outcome.unwrittenShots) {
        std::fprintf(stderr, "korvane-replay: cannot write the shot %s\n", shot.c_str());
    }
    if (!outcome.unwrittenShots.empty()) {
        return kCannotCreate;
    }
    return outcome.exitCode;
}
