// Loading WAV files into slots: the slot search, the two messages, the WAV
// subset the loader accepts, which failures leave the slot free and which
// keep it taken, and what reaches the device.
#include "tests/sound/sound_fixture.h"

namespace korvane {
namespace {

using testing::Bytes;
using testing::Chunk;
using testing::FormatChunk;
using testing::Pcm;
using testing::Ramp;
using testing::RiffWave;
using testing::SimpleWav;
using testing::SoundTest;

class SoundLoadTest : public SoundTest {};

TEST_F(SoundLoadTest, StartUpLoadsTakeSlotsZeroToFourInOrder) {
    const char* names[] = {"Music", "Thud", "Drop", "Rotate", "Background"};
    for (SoundId expected = 0; expected < 5; ++expected) {
        EXPECT_EQ(Load(names[expected], SimpleWav(Ramp(100))), expected) << names[expected];
    }
    EXPECT_TRUE(fake::MessageBoxes().empty());
    EXPECT_EQ(fake::LiveSoundBuffers(), 5);
}

TEST_F(SoundLoadTest, SeventeenthLoadSaysNoFreeIdAndOpensNoFile) {
    for (SoundId id = 0; id < 16; ++id) {
        ASSERT_EQ(Load("S" + std::to_string(id), SimpleWav(Ramp(8))), id);
    }
    const int opensBefore = fake::StepCalls("file.open");
    fake::AddFile("Sound\\Extra.wav", SimpleWav(Ramp(8)));
    EXPECT_EQ(SoundLoadWav("Sound\\Extra.wav", 0), -1);
    EXPECT_EQ(fake::StepCalls("file.open"), opensBefore);
    EXPECT_EQ(fake::MessageBoxes(), std::vector<std::string>{"Unable to obtain free sound ID."});
}

TEST_F(SoundLoadTest, MissingFileSaysItCannotOpenAndLeavesTheSlotFree) {
    EXPECT_EQ(SoundLoadWav("Sound\\Missing.wav", 0), -1);
    EXPECT_EQ(fake::MessageBoxes(), std::vector<std::string>{"Unable to open .WAV file."});
    EXPECT_EQ(Load("Here", SimpleWav(Ramp(8))), 0);
}

TEST_F(SoundLoadTest, RefusedFilesFailSilentlyAndLeaveTheSlotFree) {
    auto withTag = [](uint16_t tag) {
        auto format = Pcm(1, 8000, 8);
        format.tag = tag;
        return RiffWave({FormatChunk(format, 18), Chunk("data", Ramp(8))});
    };
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"adpcm format tag", withTag(2)},
        {"extensible format tag", withTag(0xFFFE)},
        {"no RIFF header", Chunk("LIST", Ramp(40))},
        {"a RIFF form of another type",
         [] {
             Bytes b = SimpleWav(Ramp(8));
             b[8] = 'A';  // "AAVE"
             return b;
         }()},
        {"no format chunk", RiffWave({Chunk("data", Ramp(8))})},
        {"data chunk before the format chunk",
         RiffWave({Chunk("data", Ramp(8)), FormatChunk(Pcm(1, 8000, 8))})},
        {"no data chunk", RiffWave({FormatChunk(Pcm(1, 8000, 8), 18)})},
        {"format chunk shorter than 18 bytes at the end of the file",
         RiffWave({Chunk("data", Ramp(8), 0), FormatChunk(Pcm(1, 8000, 8))})},
        {"empty file", Bytes{}},
        {"format chunk running past the end of the file",
         RiffWave({Chunk("fmt ", Ramp(18), 4000)})},
    };
    for (const auto& [what, bytes] : cases) {
        EXPECT_EQ(Load("Bad", bytes), -1) << what;
    }
    EXPECT_TRUE(fake::MessageBoxes().empty());
    EXPECT_EQ(fake::LiveSoundBuffers(), 0);
    EXPECT_EQ(Load("Good", SimpleWav(Ramp(8))), 0) << "slot 0 is still free";
}

TEST_F(SoundLoadTest, FormatChunksOfSixteenAndEighteenBytesBothLoad) {
    const Bytes data = Ramp(64);
    EXPECT_EQ(Load("Sixteen", RiffWave({FormatChunk(Pcm(1, 8000, 8), 16), Chunk("data", data)})),
              0);
    EXPECT_EQ(Load("Eighteen", RiffWave({FormatChunk(Pcm(1, 8000, 8), 18), Chunk("data", data)})),
              1);
    EXPECT_EQ(BufferBytes(0), data);
    EXPECT_EQ(BufferBytes(1), data);
}

TEST_F(SoundLoadTest, OtherChunksBeforeAndBetweenAreSkipped) {
    const Bytes data = Ramp(50);
    const Bytes info =
        Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'C', 'M', 'T', 3, 0, 0, 0, 'h', 'i', 0, 0});
    EXPECT_EQ(Load("Before", RiffWave({info, FormatChunk(Pcm(1, 8000, 8)), Chunk("data", data)})),
              0);
    // An odd-sized chunk in between: its pad byte must be skipped too.
    EXPECT_EQ(Load("Between", RiffWave({FormatChunk(Pcm(1, 8000, 8)), Chunk("odd ", Ramp(7)),
                                        Chunk("fact", Ramp(4)), Chunk("data", data)})),
              1);
    // An odd-sized format chunk: the walk resumes after its pad byte.
    EXPECT_EQ(Load("OddFormat", RiffWave({FormatChunk(Pcm(1, 8000, 8), 19), Chunk("data", data)})),
              2);
    for (SoundId id = 0; id < 3; ++id) {
        EXPECT_EQ(BufferBytes(id), data) << "slot " << id;
    }
}

TEST_F(SoundLoadTest, DeviceGetsTheFileFormatWithARecomputedAverageAndTheLoaderFlags) {
    auto format = Pcm(2, 22050, 16);
    format.averageBytes = 12345;  // wrong in the file
    ASSERT_EQ(Load("Stereo", RiffWave({FormatChunk(format, 18), Chunk("data", Ramp(400))}), 0x20),
              0);
    const auto buffer = fake::InspectSoundBuffer(0);
    ASSERT_TRUE(buffer.has_value());
    EXPECT_EQ(buffer->description.flags, 0x20U | 0x8AU);
    EXPECT_EQ(buffer->description.bytes, 400U);
    const platform::SoundFormat& f = buffer->description.format;
    EXPECT_EQ(f.formatTag, 1);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.samplesPerSecond, 22050U);
    EXPECT_EQ(f.averageBytesPerSecond, 22050U * 4);
    EXPECT_EQ(f.blockAlign, 4);
    EXPECT_EQ(f.bitsPerSample, 16);
    EXPECT_EQ(f.extraSize, 0);
}

TEST_F(SoundLoadTest, DataSizeIsCheckedAgainstTheFileNotTheForm) {
    const auto format = FormatChunk(Pcm(1, 8000, 8));
    // Writers often understate the form: 36 + data with a chunk before the
    // data left out, or a size far too small. Every byte is in the file.
    const Bytes note = Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'C', 'M', 'T', 0, 0, 0, 0});
    ASSERT_EQ(Load("Understated", RiffWave({format, note, Chunk("data", Ramp(100))}, 36 + 100)), 0);
    ASSERT_EQ(Load("Tiny form", RiffWave({format, Chunk("data", Ramp(50, 7))}, 4 + 24 + 8 + 2)), 1);
    EXPECT_EQ(BufferBytes(0), Ramp(100));
    EXPECT_EQ(BufferBytes(1), Ramp(50, 7));

    // What the file cannot hold is refused before any memory is taken: a
    // small file claiming 64 MiB would otherwise be a slot of silence.
    Bytes cutShort = RiffWave({format, Chunk("data", Ramp(100))});
    cutShort.resize(cutShort.size() - 60);
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"cut short inside its data", cutShort},
        {"claims 64 MiB", RiffWave({format, Chunk("data", Ramp(100), int64_t{64} << 20)})},
        {"claims gigabytes", RiffWave({format, Chunk("data", Ramp(16), 0xFFFFFFF0)})},
    };
    const int allocations = fake::StepCalls("alloc.sound");
    for (const auto& [what, bytes] : cases) {
        EXPECT_EQ(Load("Huge", bytes), -1) << what;
    }
    EXPECT_EQ(fake::StepCalls("alloc.sound"), allocations);
    // A read that fails leaves the slot free too.
    // The format read works, the data read fails.
    fake::FailStep("riff.read", 1, fake::StepCalls("riff.read") + 2);
    EXPECT_EQ(Load("Unreadable", SimpleWav(Ramp(30))), -1);
    EXPECT_TRUE(fake::MessageBoxes().empty());
    EXPECT_EQ(Load("Fine", SimpleWav(Ramp(8))), 2) << "every refusal left slot 2 free";
}

TEST_F(SoundLoadTest, EachSilentReadingFailureClosesTheFileAndLeavesTheSlotFree) {
    const std::vector<std::pair<const char*, int>> steps = {
        {"riff.descend", 1},  // the WAVE form
        {"riff.descend", 2},  // the format chunk
        {"riff.read", 1},     // the 18 format bytes
        {"riff.ascend", 1},   // out of the format chunk
        {"riff.descend", 3},  // the data chunk
        {"alloc.sound", 1},   // the memory for the data
    };
    for (const auto& [step, call] : steps) {
        fake::Reset();
        SoundShutdown();
        ASSERT_EQ(SoundInit(), 1);
        fake::FailStep(step, 1, call);
        EXPECT_EQ(Load("Wave", SimpleWav(Ramp(8))), -1) << step << " #" << call;
        EXPECT_EQ(JournalWith("file.").back(), "file.close") << step << " #" << call;
        EXPECT_TRUE(fake::MessageBoxes().empty()) << step << " #" << call;
        EXPECT_EQ(Load("Wave", SimpleWav(Ramp(8))), 0) << step << " #" << call;
    }
}

TEST_F(SoundLoadTest, RefusedBufferLeavesTheSlotTakenForTheWholeRun) {
    fake::FailStep("sound.buffer", 1, 1);
    EXPECT_EQ(Load("Refused", SimpleWav(Ramp(8))), -1);
    EXPECT_TRUE(fake::MessageBoxes().empty());
    EXPECT_EQ(SoundStatus(0), 0xFFFFFFFFU) << "no buffer in the slot";
    EXPECT_EQ(Load("Next", SimpleWav(Ramp(8))), 1) << "slot 0 stays taken";
    EXPECT_EQ(SoundRelease(0), 1);
    EXPECT_EQ(Load("AfterRelease", SimpleWav(Ramp(8))), 2)
        << "releasing an empty slot frees nothing";
}

TEST_F(SoundLoadTest, BufferTheDeviceCannotTakeAlsoKeepsTheSlot) {
    // Twelve-bit samples pass the loader, which sets no limits of its own.
    auto format = Pcm(1, 8000, 16);
    format.bits = 12;
    EXPECT_EQ(Load("Odd", RiffWave({FormatChunk(format), Chunk("data", Ramp(8))})), -1);
    EXPECT_EQ(Load("Empty", RiffWave({FormatChunk(Pcm(1, 8000, 8)), Chunk("data", {})})), -1);
    EXPECT_EQ(Load("Next", SimpleWav(Ramp(8))), 2);
}

TEST_F(SoundLoadTest, RefusedLockOrUnlockKeepsTheBufferInItsTakenSlot) {
    for (const char* step : {"sound.lock", "sound.unlock"}) {
        fake::FailStep(step, 1, 1);
        EXPECT_EQ(Load(step, SimpleWav(Ramp(8))), -1) << step;
    }
    EXPECT_EQ(fake::LiveSoundBuffers(), 2);
    EXPECT_EQ(SoundStatus(0), 0U) << "the buffer is there, stopped";
    EXPECT_EQ(Load("Next", SimpleWav(Ramp(8))), 2);
    SoundShutdown();
    EXPECT_EQ(fake::LiveSoundBuffers(), 0);
}

TEST_F(SoundLoadTest, DataComesBackInTwoRegionsWhenTheWritePositionIsNotTheStart) {
    fake::SetNewSoundBufferWritePosition(30);
    const Bytes data = Ramp(100);
    ASSERT_EQ(Load("Split", SimpleWav(data)), 0);
    // The lock wraps: bytes 30 to 99 get the first 70 bytes, 0 to 29 the rest.
    Bytes expected(data.begin() + 70, data.end());
    expected.insert(expected.end(), data.begin(), data.begin() + 70);
    EXPECT_EQ(BufferBytes(0), expected);
}

}  // namespace
}  // namespace korvane
