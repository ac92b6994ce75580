// WAV files written by sox, a program that is not ours: they load, their
// samples reach the device exactly as sox itself decodes them, they play, and
// the encodings outside the PCM subset are refused without a word.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/sound/sound_fixture.h"

namespace korvane {
namespace {

using testing::Bytes;
using testing::Chunk;
using testing::SoundTest;

namespace fs = std::filesystem;

// Runs a shell command and returns what it printed; false when it failed.
// The output goes through a file, not a pipe, so this works wherever a
// program may start a command at all (the web build's tests under Node too).
// The file is named after the test as well as the process: every program of
// the web build has the same process id, and CTest runs two at once.
bool Capture(const std::string& command, Bytes* output) {
    const fs::path file = fs::temp_directory_path() /
                          ("korvane-sox-output-" + std::to_string(getpid()) + "-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    const bool ran = std::system((command + " > '" + file.string() + "'").c_str()) == 0;
    std::ifstream in(file, std::ios::binary);
    output->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    in.close();
    std::error_code ignored;
    fs::remove(file, ignored);
    return ran;
}

std::string CaptureText(const std::string& command) {
    Bytes output;
    EXPECT_TRUE(Capture(command, &output)) << command;
    std::string text(output.begin(), output.end());
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

struct SoxFormat {
    int bits;
    int channels;
    int rate;
};

class SoxFilesTest : public SoundTest {
  protected:
    void SetUp() override {
        if (std::system("sox --version >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "sox is not installed (scripts/install-deps.sh test)";
        }
        SoundTest::SetUp();
        root_ = fs::temp_directory_path() /
                ("korvane-sox-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(root_ / "Sound");
        fake::SetFileRoot(root_.string());
    }
    void TearDown() override {
        SoundTest::TearDown();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path PathOf(const std::string& name) const { return root_ / "Sound" / (name + ".wav"); }

    // Has sox write Sound/<name>.wav: a rising tone, 50 ms, with `options`
    // choosing the encoding.
    void Make(const std::string& name, const std::string& options) const {
        const std::string command = "sox -n " + options + " '" + PathOf(name).string() +
                                    "' synth 0.05 sine 200-3000 sine 500 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    // The samples as sox decodes them, in the file's own encoding.
    Bytes SoxSamples(const std::string& name, int bits) const {
        const std::string encoding =
            bits == 8 ? "-e unsigned-integer -b 8" : "-e signed-integer -b 16 -L";
        Bytes samples;
        EXPECT_TRUE(Capture(
            "sox '" + PathOf(name).string() + "' -t raw " + encoding + " - 2>/dev/null", &samples));
        return samples;
    }

    std::string Soxi(const std::string& option, const std::string& name) const {
        return CaptureText("soxi " + option + " '" + PathOf(name).string() + "'");
    }

    static SoundId LoadName(const std::string& name) {
        return SoundLoadWav(("Sound\\" + name + ".wav").c_str(), 0);
    }

  private:
    fs::path root_;
};

TEST_F(SoxFilesTest, PcmFilesOfEveryKindLoadWithTheSamplesSoxReads) {
    const SoxFormat formats[] = {{8, 1, 11025},  {16, 1, 22050}, {16, 2, 44100}, {8, 2, 48000},
                                 {16, 2, 32000}, {8, 1, 16000},  {16, 1, 48000}};
    SoundId expected = 0;
    for (const SoxFormat& f : formats) {
        const std::string name = "f" + std::to_string(f.bits) + "_" + std::to_string(f.channels) +
                                 "_" + std::to_string(f.rate);
        Make(name, "-r " + std::to_string(f.rate) + " -b " + std::to_string(f.bits) + " -c " +
                       std::to_string(f.channels) + " -e " +
                       (f.bits == 8 ? "unsigned-integer" : "signed-integer"));
        ASSERT_EQ(LoadName(name), expected) << name;
        const auto buffer = fake::InspectSoundBuffer(expected);
        ASSERT_TRUE(buffer.has_value()) << name;
        EXPECT_EQ(std::to_string(buffer->description.format.samplesPerSecond), Soxi("-r", name))
            << name;
        EXPECT_EQ(std::to_string(buffer->description.format.channels), Soxi("-c", name)) << name;
        EXPECT_EQ(std::to_string(buffer->description.format.bitsPerSample), Soxi("-b", name))
            << name;
        EXPECT_EQ(std::to_string(buffer->description.bytes / buffer->description.format.blockAlign),
                  Soxi("-s", name))
            << name << ": samples per channel";
        const Bytes samples = SoxSamples(name, f.bits);
        ASSERT_FALSE(samples.empty()) << name;
        EXPECT_EQ(buffer->bytes, samples) << name;
        ++expected;
    }
    EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(SoxFilesTest, InfoListChunksBeforeOrAfterTheFormatAreSkipped) {
    // This sox writes no LIST chunk of its own for a comment, so one is put
    // into its file: before the format chunk, then between it and the data.
    Make("plain", "-r 22050 -b 16 -c 1 --comment 'made by sox'");
    const Bytes plain = ReadFile(PathOf("plain"));
    ASSERT_GE(plain.size(), 44U);
    const Bytes info =
        Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'C', 'M', 'T', 11,  0,   0,   0,
                            'm', 'a', 'd', 'e', ' ', 'b', 'y', ' ', 's', 'o', 'x', 0});
    auto spliced = [&](size_t at) {
        Bytes bytes(plain.begin(), plain.begin() + static_cast<std::ptrdiff_t>(at));
        bytes.insert(bytes.end(), info.begin(), info.end());
        bytes.insert(bytes.end(), plain.begin() + static_cast<std::ptrdiff_t>(at), plain.end());
        const auto form = static_cast<uint32_t>(bytes.size() - 8);
        for (int i = 0; i < 4; ++i) {
            bytes[4 + i] = static_cast<uint8_t>(form >> (8 * i));
        }
        return bytes;
    };
    WriteFile(PathOf("before"), spliced(12));   // right after "WAVE"
    WriteFile(PathOf("between"), spliced(36));  // after the 16-byte format chunk
    const Bytes samples = SoxSamples("plain", 16);
    ASSERT_EQ(LoadName("before"), 0);
    ASSERT_EQ(LoadName("between"), 1);
    EXPECT_EQ(BufferBytes(0), samples);
    EXPECT_EQ(BufferBytes(1), samples);
}

TEST_F(SoxFilesTest, EncodingsOutsideThePcmSubsetAreRefusedSilently) {
    Make("alaw", "-r 8000 -e a-law -c 1");
    Make("adpcm", "-r 8000 -e ima-adpcm -c 1");
    Make("float", "-r 8000 -e floating-point -b 32 -c 1");
    Make("deep", "-r 48000 -b 24 -c 1");  // an extensible format chunk
    for (const char* name : {"alaw", "adpcm", "float", "deep"}) {
        EXPECT_EQ(LoadName(name), -1) << name;
    }
    EXPECT_TRUE(fake::MessageBoxes().empty());
    Make("good", "-r 8000 -b 8 -c 1");
    EXPECT_EQ(LoadName("good"), 0) << "every refusal left slot 0 free";
}

TEST_F(SoxFilesTest, SoxFileWithAnUnderstatedFormLoadsWhole) {
    Make("whole", "-r 11025 -b 16 -c 2");
    Bytes bytes = ReadFile(PathOf("whole"));
    const uint32_t understated = static_cast<uint32_t>(bytes.size()) - 8 - 1000;
    for (int i = 0; i < 4; ++i) {
        bytes[4 + i] = static_cast<uint8_t>(understated >> (8 * i));
    }
    WriteFile(PathOf("understated"), bytes);
    ASSERT_EQ(LoadName("understated"), 0);
    EXPECT_EQ(BufferBytes(0), SoxSamples("whole", 16));
}

TEST_F(SoxFilesTest, SoxFilePlaysAsSoxDecodesIt) {
    Make("tone", "-r 22050 -b 16 -c 1");
    ASSERT_EQ(LoadName("tone"), 0);
    const Bytes samples = SoxSamples("tone", 16);
    const auto frames = static_cast<uint32_t>(samples.size() / 2);
    ASSERT_EQ(SoundPlay(0, kPlayOnce), 1);
    const auto mix = fake::MixSound(22050, frames);
    for (uint32_t i = 0; i < frames; ++i) {
        const auto value = static_cast<int16_t>(samples[2 * i] | samples[2 * i + 1] << 8);
        ASSERT_FLOAT_EQ(mix[2 * i], value / 32768.0F) << i;
        ASSERT_FLOAT_EQ(mix[2 * i + 1], value / 32768.0F) << i;
    }
}

}  // namespace
}  // namespace korvane
