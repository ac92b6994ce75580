// The RIFF reader on its own: padding, forward search, searches bounded by
// the parent, reads bounded by the file only, and never a step outside it.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "platform/riff.h"
#include "tests/support/wav_bytes.h"

namespace korvane {
namespace {

using platform::FourCc;
using platform::RiffChunk;
using testing::Bytes;
using testing::Chunk;
using testing::Put32;

class RiffReaderTest : public ::testing::Test {
  protected:
    void SetUp() override { fake::Reset(); }

    static platform::RiffFile Open(const Bytes& bytes) {
        fake::AddFile("Sound\\T.wav", bytes);
        return platform::RiffOpen("Sound\\T.wav");
    }
};

Bytes Form(const char* type, std::initializer_list<Bytes> chunks, int64_t declared = -1) {
    Bytes body(type, type + 4);
    for (const Bytes& chunk : chunks) {
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    return Chunk("RIFF", body, declared);
}

TEST_F(RiffReaderTest, FindsTheFormAndItsChunksPastOddSizedOnes) {
    auto file = Open(Form("WAVE", {Chunk("abc ", Bytes(3, 7)), Chunk("data", Bytes{1, 2, 3, 4})}));
    ASSERT_TRUE(file);
    RiffChunk form;
    ASSERT_TRUE(platform::RiffDescendForm(*file, FourCc("WAVE"), &form));
    EXPECT_EQ(form.id, FourCc("RIFF"));
    EXPECT_EQ(form.formType, FourCc("WAVE"));
    EXPECT_EQ(form.dataOffset, 8U);
    EXPECT_EQ(form.size, 4U + 12 + 12);
    RiffChunk data;
    ASSERT_TRUE(platform::RiffDescendChunk(*file, FourCc("data"), form, &data));
    EXPECT_EQ(data.dataOffset, 12U + 12 + 8);
    EXPECT_EQ(data.size, 4U);
    uint8_t bytes[4] = {};
    uint32_t got = 0;
    ASSERT_TRUE(platform::RiffRead(*file, bytes, 4, &got));
    EXPECT_EQ(got, 4U);
    EXPECT_EQ(bytes[3], 4);
}

TEST_F(RiffReaderTest, SkipsOtherTopLevelChunksAndFormsOfAnotherType) {
    Bytes bytes = Chunk("JUNK", Bytes(5, 0));
    const Bytes other = Form("AVI ", {Chunk("data", Bytes(4, 0))});
    const Bytes wave = Form("WAVE", {Chunk("data", Bytes(4, 9))});
    bytes.insert(bytes.end(), other.begin(), other.end());
    bytes.insert(bytes.end(), wave.begin(), wave.end());
    auto file = Open(bytes);
    RiffChunk form;
    ASSERT_TRUE(platform::RiffDescendForm(*file, FourCc("WAVE"), &form));
    EXPECT_EQ(form.dataOffset, 14U + other.size() + 8);
}

TEST_F(RiffReaderTest, SearchesOnlyInsideTheParent) {
    // The form claims to hold the format chunk alone; a data chunk after it
    // lies outside.
    const Bytes fmt = Chunk("fmt ", Bytes(16, 0));
    Bytes bytes = Form("WAVE", {fmt}, 4 + static_cast<int64_t>(fmt.size()));
    const Bytes outside = Chunk("data", Bytes(4, 0));
    bytes.insert(bytes.end(), outside.begin(), outside.end());
    auto file = Open(bytes);
    RiffChunk form;
    RiffChunk chunk;
    ASSERT_TRUE(platform::RiffDescendForm(*file, FourCc("WAVE"), &form));
    EXPECT_FALSE(platform::RiffDescendChunk(*file, FourCc("data"), form, &chunk));
}

TEST_F(RiffReaderTest, ReadsPastTheChunkButNotPastTheFile) {
    auto file = Open(Form("WAVE", {Chunk("fmt ", Bytes(16, 1)), Chunk("data", Bytes(2, 2))}));
    RiffChunk form;
    RiffChunk fmt;
    ASSERT_TRUE(platform::RiffDescendForm(*file, FourCc("WAVE"), &form));
    ASSERT_TRUE(platform::RiffDescendChunk(*file, FourCc("fmt "), form, &fmt));
    uint8_t bytes[64] = {};
    uint32_t got = 0;
    ASSERT_TRUE(platform::RiffRead(*file, bytes, 18, &got));
    EXPECT_EQ(got, 18U);
    EXPECT_EQ(bytes[16], 'd') << "the next chunk's id";
    ASSERT_TRUE(platform::RiffRead(*file, bytes, 64, &got));
    EXPECT_EQ(got, 8U) << "the rest of the file";
}

TEST_F(RiffReaderTest, AscendsPastThePadByteAndRefusesToLeaveTheFile) {
    auto file = Open(Form("WAVE", {Chunk("odd ", Bytes(5, 0)), Chunk("next", Bytes(2, 0))}));
    RiffChunk form;
    RiffChunk odd;
    RiffChunk next;
    ASSERT_TRUE(platform::RiffDescendForm(*file, FourCc("WAVE"), &form));
    ASSERT_TRUE(platform::RiffDescendChunk(*file, FourCc("odd "), form, &odd));
    ASSERT_TRUE(platform::RiffAscend(*file, odd));
    ASSERT_TRUE(platform::RiffDescendChunk(*file, FourCc("next"), form, &next));
    EXPECT_EQ(next.dataOffset, odd.dataOffset + 6 + 8);

    RiffChunk huge = odd;
    huge.size = 0xFFFFFFFF;
    EXPECT_FALSE(platform::RiffAscend(*file, huge));
}

TEST_F(RiffReaderTest, LastChunkWithoutItsPadByteEndsAtTheFileEnd) {
    Bytes bytes = Form("WAVE", {Chunk("last", Bytes(3, 0))});
    bytes.pop_back();  // the pad byte
    auto file = Open(bytes);
    RiffChunk form;
    RiffChunk last;
    ASSERT_TRUE(platform::RiffDescendForm(*file, FourCc("WAVE"), &form));
    ASSERT_TRUE(platform::RiffDescendChunk(*file, FourCc("last"), form, &last));
    EXPECT_TRUE(platform::RiffAscend(*file, last));
}

TEST_F(RiffReaderTest, HugeChunkSizesEndTheSearchInsteadOfWrapping) {
    // A chunk claiming 4 GiB whose end, taken modulo 2^32, would land back on
    // the data chunk before it.
    Bytes body{'W', 'A', 'V', 'E'};
    const Bytes liar = Chunk("big ", Bytes{}, 0xFFFFFFF0);
    body.insert(body.end(), liar.begin(), liar.end());
    Bytes bytes{'R', 'I', 'F', 'F'};
    Put32(bytes, 0xFFFFFFFF);
    bytes.insert(bytes.end(), body.begin(), body.end());
    const Bytes data = Chunk("data", Bytes(8, 0));
    bytes.insert(bytes.end(), data.begin(), data.end());
    auto file = Open(bytes);
    RiffChunk form;
    RiffChunk chunk;
    ASSERT_TRUE(platform::RiffDescendForm(*file, FourCc("WAVE"), &form));
    EXPECT_FALSE(platform::RiffDescendChunk(*file, FourCc("data"), form, &chunk));
    EXPECT_FALSE(platform::RiffDescendForm(*file, FourCc("XXXX"), &form));
}

TEST_F(RiffReaderTest, OpenFailsForMissingFilesAndWhenTheFileCannotBeSized) {
    EXPECT_FALSE(platform::RiffOpen("Sound\\None.wav"));
    fake::FailStep("file.size");
    EXPECT_FALSE(Open(Form("WAVE", {})));
}

}  // namespace
}  // namespace korvane
