// Bringing the display up and down: each failing step with its message, and
// a shut-down that releases only what was made, in order.
#include <gtest/gtest.h>

#include "tests/gfx/gfx_fixture.h"

namespace korvane::testing {
namespace {

using Lines = std::vector<std::string>;

struct InitFailure {
    const char* step;
    const char* message;
    Lines journalAfterShutdown;  // from the start of VideoInit
};

class VideoInitFailureTest : public ::testing::TestWithParam<InitFailure> {
  protected:
    void SetUp() override { ResetVideo(); }
    void TearDown() override { VideoShutdown(); }
};

TEST_P(VideoInitFailureTest, ShowsItsMessageOnceAndShutdownReleasesOnlyWhatWasMade) {
    const InitFailure& failure = GetParam();
    fake::FailStep(failure.step);
    EXPECT_EQ(VideoInit(640, 480, 16), 0);
    EXPECT_EQ(fake::MessageBoxes(), Lines{failure.message});
    EXPECT_EQ(VideoShutdown(), 1);
    EXPECT_EQ(fake::JournalLines(), failure.journalAfterShutdown);
    EXPECT_EQ(fake::SurfacesAlive(), 0);
    // A second shut-down finds nothing left to release.
    EXPECT_EQ(VideoShutdown(), 1);
    EXPECT_EQ(fake::JournalLines().size(), failure.journalAfterShutdown.size());
}

const std::string kMessageLine = "window.messagebox ";

INSTANTIATE_TEST_SUITE_P(
    EachStep, VideoInitFailureTest,
    ::testing::Values(
        InitFailure{"display.open",
                    "Unable to create Direct Draw Object.",
                    {kMessageLine + "Unable to create Direct Draw Object."}},
        InitFailure{
            "display.version",
            "Unable to create Direct Draw 4 Object. Make sure you have DX 6.0+.",
            {"display.open", "display.close",
             kMessageLine + "Unable to create Direct Draw 4 Object. Make sure you have DX 6.0+."}},
        InitFailure{"display.exclusive",
                    "Unable to Set the Cooperative Level.",
                    {"display.open", kMessageLine + "Unable to Set the Cooperative Level.",
                     "display.restore", "display.close"}},
        InitFailure{
            "display.mode",
            "Unable to Set the Display Mode.",
            {"display.open", "display.exclusive", kMessageLine + "Unable to Set the Display Mode.",
             "display.restore", "display.close"}},
        InitFailure{"display.primary",
                    "Unable to create primary surface.",
                    {"display.open", "display.exclusive", "display.mode 640x480x16",
                     kMessageLine + "Unable to create primary surface.", "display.restore",
                     "display.close"}},
        InitFailure{
            "display.backbuffer",
            "Unable to create back buffer.",
            {"display.open", "display.exclusive", "display.mode 640x480x16",
             "surface.create primary 640x480", kMessageLine + "Unable to create back buffer.",
             "display.restore", "surface.release primary 640x480", "display.close"}}),
    [](const auto& info) {
        std::string name = info.param.step;
        return name.substr(name.find('.') + 1);
    });

class VideoInitTest : public VideoTest {};

TEST_F(VideoInitTest, SuccessRecordsTheModeAndShutsDownInOrder) {
    ASSERT_EQ(VideoInit(640, 480, 16), 1);
    EXPECT_TRUE(fake::MessageBoxes().empty());
    EXPECT_EQ(videoDevice.width, 640u);
    EXPECT_EQ(videoDevice.height, 480u);
    EXPECT_EQ(videoDevice.depth, 16u);
    EXPECT_EQ(videoDevice.primary.get(), fake::DisplaySurface(fake::Buffer::Visible));
    EXPECT_EQ(videoDevice.backBuffer, fake::DisplaySurface(fake::Buffer::Back));
    EXPECT_NE(videoDevice.primary.get(), videoDevice.backBuffer);
    VideoShutdown();
    EXPECT_EQ(fake::JournalLines(),
              (Lines{"display.open", "display.exclusive", "display.mode 640x480x16",
                     "surface.create primary 640x480", "surface.backbuffer", "display.restore",
                     "surface.release primary 640x480", "display.close"}));
    EXPECT_EQ(videoDevice.primary, nullptr);
    EXPECT_EQ(videoDevice.backBuffer, nullptr);
}

TEST_F(VideoInitTest, ModeFailureRecordsNoSize) {
    fake::FailStep("display.mode");
    EXPECT_EQ(VideoInit(640, 480, 16), 0);
    EXPECT_EQ(videoDevice.width, 0u);
    EXPECT_EQ(videoDevice.depth, 0u);
    EXPECT_EQ(fake::StepCalls("display.primary"), 0);
}

TEST_F(VideoInitTest, LayoutFollowsTheRedMask) {
    struct Case {
        uint32_t mask;
        uint32_t depth;
        PixelLayout start;
        PixelLayout expected;
    };
    const Case cases[] = {
        {0x7C00, 16, PixelLayout::Rgb565, PixelLayout::Rgb555},
        {0xF800, 16, PixelLayout::Rgb555, PixelLayout::Rgb565},
        {0x7C00, 24, PixelLayout::Rgb565, PixelLayout::Rgb565},    // other depths keep it
        {0xFF0000, 16, PixelLayout::Rgb555, PixelLayout::Rgb565},  // only shift 10 is 5-5-5
        {0, 16, PixelLayout::Rgb555, PixelLayout::Rgb555},         // nothing to count
        {0, 16, PixelLayout::Rgb565, PixelLayout::Rgb565},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "mask " << c.mask << " depth " << c.depth);
        ResetVideo();
        fake::SetRedMask(c.mask);
        videoDevice.layout = c.start;
        ASSERT_EQ(VideoInit(640, 480, c.depth), 1);
        EXPECT_EQ(videoDevice.layout, c.expected);
        VideoShutdown();
    }
}

TEST_F(VideoInitTest, UnreadableFormatKeepsTheLayout) {
    fake::FailStep("display.format");
    videoDevice.layout = PixelLayout::Rgb555;
    ASSERT_EQ(VideoInit(640, 480, 16), 1);
    EXPECT_EQ(videoDevice.layout, PixelLayout::Rgb555);
    EXPECT_EQ(VideoDetectPixelFormat(nullptr), 1);
    EXPECT_EQ(videoDevice.layout, PixelLayout::Rgb555);
}

}  // namespace
}  // namespace korvane::testing
