// The data files' promises: a game path with backslashes names a file below
// the working directory; a missing file does not open; size, reads, seeks and
// the read position behave at the file's end as the loaders expect; and the
// RIFF reader finds a WAVE file's chunks and stays inside the file.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "tests/contract/contract_fixture.h"

namespace korvane::contract {
namespace {

namespace fs = std::filesystem;

// Written with the C library into the working directory, where the game's
// own files lie, and read back through the seam.
void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
}

void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void PutChunk(std::vector<uint8_t>& bytes, const char (&id)[5], const std::vector<uint8_t>& data) {
    Put32(bytes, platform::FourCc(id));
    Put32(bytes, static_cast<uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) {
        bytes.push_back(0);  // chunks are padded to an even size
    }
}

TEST(FilesTest, AGamePathReadsTheFileBelowTheWorkingDirectory) {
    std::vector<uint8_t> bytes(1000);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i * 7);
    }
    WriteFile(fs::path("contract-data") / "Art" / "Sample.bin", bytes);
    EXPECT_FALSE(platform::FileOpen("contract-data\\Art\\Missing.bin"));

    platform::File file = platform::FileOpen("contract-data\\Art\\Sample.bin");
    ASSERT_TRUE(file);
    uint32_t size = 0;
    ASSERT_TRUE(platform::FileSize(*file, &size));
    EXPECT_EQ(size, 1000U);
    EXPECT_EQ(platform::FileTell(*file), 0U);

    std::vector<uint8_t> read(1200, 0xEE);
    uint32_t came = 0;
    ASSERT_TRUE(platform::FileRead(*file, read.data(), 10, &came));
    EXPECT_EQ(came, 10U);
    EXPECT_EQ(platform::FileTell(*file), 10U);
    ASSERT_TRUE(platform::FileRead(*file, read.data() + 10, 1190, &came));
    EXPECT_EQ(came, 990U) << "a read past the end brings what there is";
    read.resize(1000);
    EXPECT_EQ(read, bytes);
    ASSERT_TRUE(platform::FileRead(*file, read.data(), 5, &came)) << "the end is not an error";
    EXPECT_EQ(came, 0U);

    ASSERT_TRUE(platform::FileSeek(*file, 998));
    EXPECT_EQ(platform::FileTell(*file), 998U);
    uint8_t pair[2] = {};
    ASSERT_TRUE(platform::FileRead(*file, pair, 2, &came));
    EXPECT_EQ(came, 2U);
    EXPECT_EQ(pair[1], bytes[999]);
    EXPECT_TRUE(platform::FileSeek(*file, 1000)) << "the end itself";
    EXPECT_FALSE(platform::FileSeek(*file, 1001)) << "beyond the end";
}

TEST(FilesTest, TheRiffReaderFindsAWaveFilesChunksAndStaysInsideTheFile) {
    std::vector<uint8_t> format;
    for (const uint8_t byte : {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0}) {
        format.push_back(byte);
    }
    std::vector<uint8_t> form;
    Put32(form, platform::FourCc("WAVE"));
    PutChunk(form, "LIST", std::vector<uint8_t>(5, 'x'));  // odd, so padded
    PutChunk(form, "fmt ", format);
    PutChunk(form, "data", {0x80, 0x90, 0xA0});
    std::vector<uint8_t> wave;
    PutChunk(wave, "RIFF", form);
    WriteFile(fs::path("contract-data") / "Sound" / "Tone.wav", wave);
    EXPECT_FALSE(platform::RiffOpen("contract-data\\Sound\\Missing.wav"));

    platform::RiffFile riff = platform::RiffOpen("contract-data\\Sound\\Tone.wav");
    ASSERT_TRUE(riff);
    EXPECT_EQ(platform::RiffFileBytes(*riff), wave.size());
    platform::RiffChunk parent;
    ASSERT_TRUE(platform::RiffDescendForm(*riff, platform::FourCc("WAVE"), &parent));
    platform::RiffChunk chunk;
    ASSERT_TRUE(platform::RiffDescendChunk(*riff, platform::FourCc("fmt "), parent, &chunk));
    EXPECT_EQ(chunk.size, 16U);
    std::vector<uint8_t> read(16);
    uint32_t came = 0;
    ASSERT_TRUE(platform::RiffRead(*riff, read.data(), 16, &came));
    EXPECT_EQ(came, 16U);
    EXPECT_EQ(read, format);
    ASSERT_TRUE(platform::RiffAscend(*riff, chunk));
    ASSERT_TRUE(platform::RiffDescendChunk(*riff, platform::FourCc("data"), parent, &chunk));
    EXPECT_EQ(chunk.size, 3U);
    EXPECT_EQ(chunk.dataOffset, wave.size() - 4) << "past the padded list and the format";
    read.assign(8, 0);
    ASSERT_TRUE(platform::RiffRead(*riff, read.data(), 8, &came));
    EXPECT_EQ(came, 4U) << "a read stops at the file's end, the pad byte included";
    EXPECT_EQ(read[2], 0xA0);
    EXPECT_FALSE(platform::RiffDescendChunk(*riff, platform::FourCc("cue "), parent, &chunk))
        << "no such chunk before the form's end";
}

}  // namespace
}  // namespace korvane::contract
