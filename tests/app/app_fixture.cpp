#include "tests/app/app_fixture.h"

#include <filesystem>
#include <optional>
#include <sstream>

#include "app/frame.h"
#include "app/program_state.h"
#include "app/screen_state.h"
#include "app/startup.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"
#include "tests/support/test_assets.h"
#include "tools/replay/replay_script.h"

namespace korvane::testing {

ScratchFolder::ScratchFolder(const std::string& prefix) : path_(MakeTempFolder(prefix)) {}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

const std::string& TestAssetsFolder() {
    static const ScratchFolder folder("korvane-app-assets");
    static const bool written = (WriteTestAssets(folder.path()), true);
    (void)written;
    return folder.path();
}

void FrameTest::SetUp() {
    fake::Reset();
    ResetProgramState();
    fake::SetFileRoot(TestAssetsFolder());
    ASSERT_EQ(StartUp(), 1) << StartUpFailure();
}

void FrameTest::TearDown() {
    ShutDown();
}

bool FrameTest::RunUntil(const char* state, int limit) {
    for (int i = 0; i < limit; ++i) {
        if (State() == state) {
            return true;
        }
        RunFrame();
    }
    return State() == state;
}

void FrameTest::Hold(uint8_t scanCode) {
    fake::SetKey(scanCode, true);
}
void FrameTest::Release(uint8_t scanCode) {
    fake::SetKey(scanCode, false);
}

void FrameTest::RunUntilKeysSampled() {
    const int before = fake::KeyboardReads();
    while (fake::KeyboardReads() == before) {
        RunFrame();
    }
}

std::string FrameTest::State() {
    return ScreenStateName(screenState);
}

uint64_t FrameTest::NowVirtualMs() {
    return fake::VirtualTimeNs() / 1'000'000;
}

namespace {

// "key=value" fields of a trace line.
std::string Field(const std::string& line, const std::string& key) {
    const std::string needle = " " + key + "=";
    const size_t at = line.find(needle);
    if (at == std::string::npos) {
        return {};
    }
    const size_t start = at + needle.size();
    return line.substr(start, line.find(' ', start) - start);
}

std::vector<int> Numbers(const std::string& commaSeparated) {
    std::vector<int> numbers;
    std::stringstream in(commaSeparated);
    std::string part;
    while (std::getline(in, part, ',')) {
        numbers.push_back(std::stoi(part));
    }
    return numbers;
}

TracedFrame ParseFrame(const std::string& line) {
    TracedFrame f;
    f.n = std::stoull(Field(line, "n"));
    f.t = std::stoull(Field(line, "t"));
    f.state = Field(line, "state");
    f.score = static_cast<uint32_t>(std::stoul(Field(line, "score")));
    f.level = static_cast<uint32_t>(std::stoul(Field(line, "level")));
    f.lines = static_cast<uint32_t>(std::stoul(Field(line, "lines")));
    const auto cur = Numbers(Field(line, "cur"));
    const auto next = Numbers(Field(line, "next"));
    f.shape = cur.at(0);
    f.color = cur.at(1);
    f.column = cur.at(2);
    f.row = cur.at(3);
    f.rotation = cur.at(4);
    f.nextShape = next.at(0);
    f.nextColor = next.at(1);
    return f;
}

}  // namespace

size_t ReplayResult::FirstFrame(const std::string& state, size_t from) const {
    for (size_t i = from; i < frames.size(); ++i) {
        if (frames[i].state == state) {
            return i;
        }
    }
    return frames.size();
}

ReplayResult Replay(const std::string& script, replay::Options options) {
    std::string error;
    const auto parsed = replay::ParseScript(script, &error);
    EXPECT_TRUE(parsed.has_value()) << error;
    ReplayResult result;
    if (!parsed) {
        return result;
    }
    if (options.dataDir.empty()) {
        options.dataDir = TestAssetsFolder();
    }
    // Shots nobody asked for go to a folder that goes with the run.
    std::optional<ScratchFolder> shots;
    if (options.shotsDir.empty()) {
        shots.emplace("korvane-shots");
        options.shotsDir = shots->path();
    }
    std::ostringstream trace;
    result.outcome = replay::RunScript(*parsed, options, trace);
    std::istringstream lines(trace.str());
    std::string line;
    while (std::getline(lines, line)) {
        result.lines.push_back(line);
        if (line.rfind("frame ", 0) == 0) {
            result.frames.push_back(ParseFrame(line));
        } else if (line.rfind("msgbox ", 0) == 0) {
            const size_t open = line.find('"');
            result.messageBoxes.push_back(line.substr(open + 1, line.rfind('"') - open - 1));
        }
    }
    return result;
}

}  // namespace korvane::testing
