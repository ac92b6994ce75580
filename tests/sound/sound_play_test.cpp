// Playing, stopping, status and release: the rewinding play, empty slots and
// ids outside 0 to 15, sounds that end by themselves on the virtual clock,
// the platform refusing, and the trace hook.
#include "tests/sound/sound_fixture.h"

namespace korvane {
namespace {

using testing::Ramp;
using testing::SimpleWav;
using testing::SoundTest;

constexpr uint64_t kMs = 1'000'000;  // nanoseconds

class SoundPlayTest : public SoundTest {
  protected:
    // 8000 frames of 8 kHz 8-bit mono: one second.
    static SoundId LoadOneSecond(const std::string& name) {
        return Load(name, SimpleWav(Ramp(8000)));
    }
};

TEST_F(SoundPlayTest, EmptySlotsAndOutsideIdsHaveEveryStatusBitSet) {
    for (SoundId id : {-1, 0, 15, 16, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(SoundStatus(id), 0xFFFFFFFFU) << id;
        EXPECT_NE(SoundStatus(id) & kStatusPlaying, 0U) << "a restart-when-clear caller leaves it";
    }
}

TEST_F(SoundPlayTest, EmptySlotsPlayNothingAndStopOrReleaseChangeNothing) {
    ASSERT_EQ(LoadOneSecond("Only"), 0);
    fake::ClearSoundCalls();
    for (SoundId id : {-1, 1, 16}) {
        EXPECT_EQ(SoundPlay(id, kPlayOnce), 0) << id;
        EXPECT_EQ(SoundStop(id), 1) << id;
        EXPECT_EQ(SoundRelease(id), 1) << id;
    }
    EXPECT_TRUE(fake::SoundCalls().empty());
    EXPECT_EQ(fake::LiveSoundBuffers(), 1);
    EXPECT_EQ(LoadOneSecond("Second"), 1);
}

TEST_F(SoundPlayTest, PlayRewindsThenPlaysWithTheCallersFlags) {
    ASSERT_EQ(LoadOneSecond("Music"), 0);
    fake::ClearSoundCalls();
    EXPECT_EQ(SoundPlay(0, kPlayLooping), 1);
    EXPECT_EQ(SoundCallTexts(), (std::vector<std::string>{"position 0 0", "play 0 1"}));
    EXPECT_EQ(SoundStatus(0) & kStatusPlaying, kStatusPlaying);
}

TEST_F(SoundPlayTest, PlayingAgainRestartsFromTheBeginning) {
    ASSERT_EQ(LoadOneSecond("Thud"), 0);
    ASSERT_EQ(SoundPlay(0, kPlayOnce), 1);
    fake::AdvanceNs(500 * kMs);
    EXPECT_EQ(fake::InspectSoundBuffer(0)->position, 4000U);
    ASSERT_EQ(SoundPlay(0, kPlayOnce), 1);
    EXPECT_EQ(fake::InspectSoundBuffer(0)->position, 0U);
    fake::AdvanceNs(900 * kMs);
    EXPECT_EQ(SoundStatus(0) & kStatusPlaying, kStatusPlaying) << "the restart plays a full second";
}

TEST_F(SoundPlayTest, StopHaltsAndRewinds) {
    ASSERT_EQ(LoadOneSecond("Music"), 0);
    SoundPlay(0, kPlayLooping);
    fake::AdvanceNs(300 * kMs);
    fake::ClearSoundCalls();
    EXPECT_EQ(SoundStop(0), 1);
    EXPECT_EQ(SoundCallTexts(), (std::vector<std::string>{"stop 0 0", "position 0 0"}));
    EXPECT_EQ(SoundStatus(0), 0U);
    EXPECT_EQ(fake::InspectSoundBuffer(0)->position, 0U);
}

TEST_F(SoundPlayTest, StopAllStopsEverySlotInOrder) {
    for (SoundId id = 0; id < 3; ++id) {
        ASSERT_EQ(LoadOneSecond("S" + std::to_string(id)), id);
        SoundPlay(id, kPlayLooping);
    }
    ASSERT_EQ(SoundRelease(1), 1);
    fake::ClearSoundCalls();
    EXPECT_EQ(SoundStopAll(), 1);
    EXPECT_EQ(SoundCallTexts(),
              (std::vector<std::string>{"stop 0 0", "position 0 0", "stop 2 0", "position 2 0"}));
    EXPECT_EQ(SoundStatus(0), 0U);
    EXPECT_EQ(SoundStatus(2), 0U);
}

TEST_F(SoundPlayTest, RefusedRewindOrPlayMeansNotPlaying) {
    ASSERT_EQ(LoadOneSecond("Music"), 0);
    fake::ClearSoundCalls();
    fake::FailStep("sound.position", 1, 1);
    EXPECT_EQ(SoundPlay(0, kPlayLooping), 0);
    EXPECT_TRUE(fake::SoundCalls().empty()) << "no play after a refused rewind";
    fake::FailStep("sound.play", 1, 1);
    EXPECT_EQ(SoundPlay(0, kPlayLooping), 0);
    EXPECT_EQ(SoundStatus(0), 0U);
    EXPECT_EQ(SoundPlay(0, kPlayLooping), 1);
}

TEST_F(SoundPlayTest, StatusTheDeviceCannotTellReadsAsNotPlaying) {
    ASSERT_EQ(LoadOneSecond("Music"), 0);
    SoundPlay(0, kPlayLooping);
    fake::FailStep("sound.status", 1, 1);
    EXPECT_EQ(SoundStatus(0), 0U);
    EXPECT_EQ(SoundStatus(0) & kStatusPlaying, kStatusPlaying);
}

TEST_F(SoundPlayTest, StopAndReleaseIgnoreTheDevicesAnswers) {
    ASSERT_EQ(LoadOneSecond("Music"), 0);
    SoundPlay(0, kPlayLooping);
    fake::FailStep("sound.stop");
    fake::FailStep("sound.position");
    EXPECT_EQ(SoundStop(0), 1);
    EXPECT_EQ(SoundStopAll(), 1);
    EXPECT_EQ(SoundRelease(0), 1);
    EXPECT_EQ(fake::LiveSoundBuffers(), 0);
    EXPECT_EQ(SoundStatus(0), 0xFFFFFFFFU);
    EXPECT_EQ(LoadOneSecond("Again"), 0) << "the released slot is free";
}

struct Traced {
    std::string op;
    SoundId id;
    uint32_t flags;
    size_t soundCallsBefore;
};
std::vector<Traced> traced;

void Trace(const char* op, SoundId id, uint32_t flags) {
    traced.push_back({op, id, flags, fake::SoundCalls().size()});
}

TEST_F(SoundPlayTest, ObserverSeesEveryPlayStopAndStopAllFirst) {
    ASSERT_EQ(LoadOneSecond("Music"), 0);
    traced.clear();
    fake::ClearSoundCalls();
    SetSoundObserver(Trace);
    SoundPlay(0, kPlayLooping);
    SoundPlay(-1, kPlayOnce);
    SoundStop(0);
    SoundStop(7);
    SoundStopAll();
    SoundRelease(0);  // not a traced call
    SoundStatus(0);
    SetSoundObserver(nullptr);
    SoundPlay(0, kPlayOnce);
    ASSERT_EQ(traced.size(), 5U);
    const std::vector<std::tuple<std::string, SoundId, uint32_t, size_t>> expected = {
        {"play", 0, 1, 0},
        {"play", -1, 0, 2},
        {"stop", 0, 0, 2},
        {"stop", 7, 0, 4},
        {"stopall", -1, 0, 4}};
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto& [op, id, flags, before] = expected[i];
        EXPECT_EQ(traced[i].op, op) << i;
        EXPECT_EQ(traced[i].id, id) << i;
        EXPECT_EQ(traced[i].flags, flags) << i;
        EXPECT_EQ(traced[i].soundCallsBefore, before) << "traced before the device is asked, " << i;
    }
}

}  // namespace
}  // namespace korvane
