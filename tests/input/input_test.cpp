// Opening and closing the input devices in their order, every failure with
// its one message, and the keyboard snapshot's contract.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/input.h"
#include "input/key_map.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"

namespace korvane {
namespace {

const char* const kMessage = "Unable to create Initialize Direct Input.";

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InputShutdown();
        fake::Reset();
    }
    void TearDown() override { InputShutdown(); }

    static std::vector<std::string> Journal() {
        std::vector<std::string> lines;
        for (const auto& line : fake::JournalLines()) {
            if (line.rfind("input.", 0) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }
};

TEST_F(InputTest, OpensKeyboardCompletelyBeforeMouseAndClosesInReverse) {
    ASSERT_EQ(InputInit(), 1);
    EXPECT_TRUE(fake::MessageBoxes().empty());
    InputShutdown();
    const std::vector<std::string> expected = {
        "input.create",           "input.keyboard.create",  "input.keyboard.cooperate",
        "input.keyboard.format",  "input.keyboard.acquire", "input.mouse.create",
        "input.mouse.cooperate",  "input.mouse.format",     "input.mouse.acquire",
        "input.mouse.unacquire",  "input.mouse.release",    "input.keyboard.unacquire",
        "input.keyboard.release", "input.release",
    };
    EXPECT_EQ(Journal(), expected);
}

TEST_F(InputTest, EveryFailingStepShowsOneMessageAndShutdownReleasesWhatExists) {
    struct Case {
        const char* step;
        std::vector<std::string> released;
    };
    const std::vector<Case> cases = {
        {"input.create", {}},
        {"input.keyboard.create", {"input.release"}},
        {"input.keyboard.cooperate",
         {"input.keyboard.unacquire", "input.keyboard.release", "input.release"}},
        {"input.keyboard.acquire",
         {"input.keyboard.unacquire", "input.keyboard.release", "input.release"}},
        {"input.mouse.create",
         {"input.keyboard.unacquire", "input.keyboard.release", "input.release"}},
        {"input.mouse.format",
         {"input.mouse.unacquire", "input.mouse.release", "input.keyboard.unacquire",
          "input.keyboard.release", "input.release"}},
        {"input.mouse.acquire",
         {"input.mouse.unacquire", "input.mouse.release", "input.keyboard.unacquire",
          "input.keyboard.release", "input.release"}},
    };
    for (const Case& c : cases) {
        fake::Reset();
        fake::FailStep(c.step);
        EXPECT_EQ(InputInit(), 0) << c.step;
        EXPECT_EQ(fake::MessageBoxes(), std::vector<std::string>{kMessage}) << c.step;
        const size_t opened = Journal().size();
        InputShutdown();
        const std::vector<std::string> all = Journal();
        EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(opened), all.end()),
                  c.released)
            << c.step;
    }
}

TEST_F(InputTest, FailedInputCreationTriesNoDevice) {
    fake::FailStep("input.create");
    InputInit();
    EXPECT_EQ(fake::StepCalls("input.keyboard.create"), 0);
    EXPECT_EQ(fake::StepCalls("input.mouse.create"), 0);
}

TEST_F(InputTest, ReadWithoutAKeyboardClearsTheSnapshot) {
    KeyState[kKeyEscape] = 0x80;
    EXPECT_EQ(InputReadKeyboard(), 0);
    for (uint8_t byte : KeyState) {
        ASSERT_EQ(byte, 0);
    }
    EXPECT_EQ(InputReadMouse(), 0);
}

TEST_F(InputTest, SnapshotShowsKeysAsTheyAreAtTheRead) {
    ASSERT_EQ(InputInit(), 1);
    fake::SetKey(kKeyLeft, true);
    fake::ScheduleKey(50'000'000, kKeyUp, true);
    ASSERT_EQ(InputReadKeyboard(), 1);
    EXPECT_TRUE(KeyDown(kKeyLeft));
    EXPECT_FALSE(KeyDown(kKeyUp)) << "not yet pressed in virtual time";
    fake::AdvanceNs(50'000'000);
    InputReadKeyboard();
    EXPECT_TRUE(KeyDown(kKeyUp));
    EXPECT_EQ(KeyState[kKeyUp], 0x80);
}

TEST_F(InputTest, PressAndReleaseBetweenReadsIsNeverSeen) {
    ASSERT_EQ(InputInit(), 1);
    InputReadKeyboard();
    fake::ScheduleKey(10'000'000, kKeyDown, true);
    fake::ScheduleKey(60'000'000, kKeyDown, false);
    fake::AdvanceNs(100'000'000);
    InputReadKeyboard();
    EXPECT_FALSE(KeyDown(kKeyDown));
}

TEST_F(InputTest, FailedReadLeavesTheSnapshotAlone) {
    ASSERT_EQ(InputInit(), 1);
    fake::SetKey(kKeyR, true);
    InputReadKeyboard();
    fake::SetKey(kKeyR, false);
    fake::FailStep("input.keyboard.read");
    EXPECT_EQ(InputReadKeyboard(), 0);
    EXPECT_TRUE(KeyDown(kKeyR));
}

TEST_F(InputTest, MouseReportsMovementSinceTheLastRead) {
    ASSERT_EQ(InputInit(), 1);
    fake::SetMouse(5, -3, 0x80);
    ASSERT_EQ(InputReadMouse(), 1);
    EXPECT_EQ(MouseState.x, 5);
    EXPECT_EQ(MouseState.y, -3);
    EXPECT_EQ(MouseState.buttons[0], 0x80);
    InputReadMouse();
    EXPECT_EQ(MouseState.x, 0);
}

}  // namespace
}  // namespace korvane
