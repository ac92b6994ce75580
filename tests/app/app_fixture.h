#pragma once
// The program started on the headless machine with the small test files,
// driven frame by frame, and replay runs with their parsed traces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/replay/replay_run.h"

namespace korvane::testing {

// A folder of its own in the system's temporary folder, removed with
// everything in it when the object goes.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The folder with the test files, written once per process and removed when
// the process ends (CTest runs each case in a process of its own).
const std::string& TestAssetsFolder();

// A fresh fake machine reading the test files, after a successful StartUp.
class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Runs frames until the screen state is `state` or `limit` frames ran;
    // returns whether it got there.
    static bool RunUntil(const char* state, int limit);
    // Holds a key down for the next frames (until Release).
    static void Hold(uint8_t scanCode);
    static void Release(uint8_t scanCode);
    // Runs frames until one has sampled the keyboard in play.
    static void RunUntilKeysSampled();
    static std::string State();
    // Virtual milliseconds since the machine started.
    static uint64_t NowVirtualMs();
};

struct TracedFrame {
    uint64_t n = 0;
    uint64_t t = 0;
    std::string state;
    uint32_t score = 0, level = 0, lines = 0;
    int shape = 0, color = 0, column = 0, row = 0, rotation = 0;
    int nextShape = 0, nextColor = 0;
};

struct ReplayResult {
    replay::Outcome outcome;
    std::vector<std::string> lines;
    std::vector<TracedFrame> frames;
    std::vector<std::string> messageBoxes;
    // The index of the first frame in `state` at or after frame index `from`;
    // frames.size() when none.
    size_t FirstFrame(const std::string& state, size_t from = 0) const;
};

// Runs a script in-process on the test files.
ReplayResult Replay(const std::string& script, replay::Options options = {});

}  // namespace korvane::testing
