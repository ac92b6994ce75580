#pragma once
// What the contract tests share: the display brought up through the seam
// alone, and pixels read back through a lock.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/platform.h"

namespace korvane::contract {

// The game's window, made once for the whole program: the display takes the
// screen for it, and the sound device plays for it.
inline void MakeGameWindow() {
    static const bool made = [] {
        platform::WindowRegisterClass("KV_Class", platform::WindowDefaultProcedure);
        platform::WindowCreate("KV_Class", "KORVANE", 640, 480);
        platform::WindowShow();
        return true;
    }();
    static_cast<void>(made);
}

// The display in the game's mode, 640 x 480 at 16 bits, with its flipping
// chain; a backend that cannot show anything here skips.
class DisplayContract : public ::testing::Test {
  protected:
    void SetUp() override {
        MakeGameWindow();
        if (!platform::DisplayOpen()) {
            GTEST_SKIP() << "no display here (the desktop backend runs under Xvfb)";
        }
        opened_ = true;
        ASSERT_TRUE(platform::DisplayCheckFeatures());
        ASSERT_TRUE(platform::DisplayTakeScreen());
        ASSERT_TRUE(platform::DisplaySetMode(640, 480, 16));
        primary_ = platform::DisplayCreatePrimary();
        ASSERT_NE(primary_, nullptr);
        back_ = platform::DisplayBackBuffer(primary_);
        ASSERT_NE(back_, nullptr);
    }
    void TearDown() override {
        if (!opened_) {
            return;
        }
        platform::DisplayRestoreMode();
        if (primary_ != nullptr) {
            platform::SurfaceRelease(primary_);
        }
        platform::DisplayClose();
    }

    platform::Surface* primary_ = nullptr;
    platform::Surface* back_ = nullptr;

  private:
    bool opened_ = false;
};

// Every pixel of a surface, row by row, read through a lock.
inline std::vector<uint16_t> Pixels(platform::Surface* surface) {
    uint32_t width = 0;
    uint32_t height = 0;
    platform::SurfaceSize(surface, &width, &height);
    void* memory = nullptr;
    int32_t pitch = 0;
    std::vector<uint16_t> pixels;
    if (!platform::SurfaceLock(surface, &memory, &pitch)) {
        return pixels;
    }
    pixels.resize(static_cast<size_t>(width) * height);
    for (uint32_t y = 0; y < height; ++y) {
        std::memcpy(pixels.data() + static_cast<size_t>(y) * width,
                    static_cast<const uint8_t*>(memory) + static_cast<size_t>(y) * pitch,
                    static_cast<size_t>(width) * 2);
    }
    platform::SurfaceUnlock(surface);
    return pixels;
}

// Takes the screen from the game as its host does when another program comes
// in front, and gives it back; false, doing nothing, for a backend whose
// surfaces are the game's own memory and are never lost. One definition a
// backend, in hooks/.
bool TakeScreenAway();
void GiveScreenBack();

// Writes one pixel through a lock.
inline void SetPixel(platform::Surface* surface, uint32_t x, uint32_t y, uint16_t value) {
    void* memory = nullptr;
    int32_t pitch = 0;
    ASSERT_TRUE(platform::SurfaceLock(surface, &memory, &pitch));
    std::memcpy(static_cast<uint8_t*>(memory) + static_cast<size_t>(y) * pitch + x * 2, &value, 2);
    platform::SurfaceUnlock(surface);
}

}  // namespace korvane::contract
