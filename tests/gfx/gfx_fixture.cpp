#include "tests/gfx/gfx_fixture.h"

#include "timing/clock.h"

namespace korvane::testing {
namespace {

void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

std::vector<uint8_t> KvpFileWithSize(uint32_t width, uint32_t height,
                                     const std::vector<Bgr>& pixels, uint32_t dataSize) {
    std::vector<uint8_t> bytes;
    Put32(bytes, width);
    Put32(bytes, height);
    bytes.push_back(0);
    bytes.push_back(0);
    Put32(bytes, dataSize);
    for (const Bgr& p : pixels) {
        bytes.insert(bytes.end(), {p.blue, p.green, p.red});
    }
    return bytes;
}

std::vector<uint8_t> KvpFile(uint32_t width, uint32_t height, const std::vector<Bgr>& pixels,
                             uint16_t unused, std::vector<uint8_t> tail) {
    auto bytes = KvpFileWithSize(width, height, pixels, static_cast<uint32_t>(pixels.size() * 3));
    bytes[8] = static_cast<uint8_t>(unused);
    bytes[9] = static_cast<uint8_t>(unused >> 8);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

std::vector<uint8_t> SolidKvp(uint32_t width, uint32_t height, Bgr color) {
    return KvpFile(width, height, std::vector<Bgr>(static_cast<size_t>(width) * height, color));
}

fake::Layout ToFake(PixelLayout layout) {
    return layout == PixelLayout::Rgb555 ? fake::Layout::Rgb555 : fake::Layout::Rgb565;
}

const char* LayoutName(PixelLayout layout) {
    return layout == PixelLayout::Rgb555 ? "Rgb555" : "Rgb565";
}

void ResetVideo() {
    VideoShutdown();
    fake::Reset();
    InitClock();
    ResetVideoState();
}

void LayoutTest::SetUp() {
    ResetVideo();
    fake::SetDisplayLayout(ToFake(GetParam()));
    ASSERT_EQ(VideoInit(640, 480, 16), 1);
    ASSERT_EQ(videoDevice.layout, GetParam());
}

}  // namespace korvane::testing
