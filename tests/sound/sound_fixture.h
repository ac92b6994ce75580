#pragma once
// A fresh fake machine with the sound device up, for the sound tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_sound.h"
#include "sound/sound.h"
#include "tests/support/wav_bytes.h"

namespace korvane::testing {

class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::Reset();
        SoundShutdown();  // forgets whatever an earlier test left behind
        ASSERT_EQ(SoundInit(), 1);
    }
    void TearDown() override { SoundShutdown(); }

    // Adds `bytes` as "Sound\<name>.wav" and loads it with `flags`.
    static SoundId Load(const std::string& name, const Bytes& bytes, uint32_t flags = 0) {
        const std::string path = "Sound\\" + name + ".wav";
        fake::AddFile(path, bytes);
        return SoundLoadWav(path.c_str(), flags);
    }

    static Bytes BufferBytes(SoundId id) {
        auto buffer = fake::InspectSoundBuffer(id);
        return buffer ? buffer->bytes : Bytes{};
    }

    // The journal lines that start with `prefix`, in order.
    static std::vector<std::string> JournalWith(const std::string& prefix) {
        std::vector<std::string> lines;
        for (const auto& line : fake::JournalLines()) {
            if (line.rfind(prefix, 0) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }

    static std::vector<std::string> SoundCallTexts() {
        std::vector<std::string> texts;
        for (const auto& call : fake::SoundCalls()) {
            texts.push_back(call.op + " " + std::to_string(call.slot) + " " +
                            std::to_string(call.flags));
        }
        return texts;
    }
};

}  // namespace korvane::testing
