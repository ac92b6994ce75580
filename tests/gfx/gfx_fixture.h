#pragma once
// A fresh fake display in a chosen layout, with the video device up at
// 640x480x16, and builders for .kvp files.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/image.h"
#include "gfx/video.h"
#include "platform/fake/fake_display.h"
#include "platform/fake/fake_platform.h"

namespace korvane::testing {

struct Bgr {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
};

// A .kvp file of `width` x `height` with the given pixels, N = 3 x the pixel
// count unless `dataSize` says otherwise, bytes 8-9 as `unused`, and `tail`
// appended after the pixel data.
std::vector<uint8_t> KvpFile(uint32_t width, uint32_t height, const std::vector<Bgr>& pixels,
                             uint16_t unused = 0, std::vector<uint8_t> tail = {});
std::vector<uint8_t> KvpFileWithSize(uint32_t width, uint32_t height,
                                     const std::vector<Bgr>& pixels, uint32_t dataSize);

// A block picture of one colour.
std::vector<uint8_t> SolidKvp(uint32_t width, uint32_t height, Bgr color);

fake::Layout ToFake(PixelLayout layout);
const char* LayoutName(PixelLayout layout);

// Clears the fake machine and the video device.
void ResetVideo();

class VideoTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetVideo(); }
    void TearDown() override { VideoShutdown(); }
};

// The video device up in the parameter's layout.
class LayoutTest : public ::testing::TestWithParam<PixelLayout> {
  protected:
    void SetUp() override;
    void TearDown() override { VideoShutdown(); }
};

}  // namespace korvane::testing
