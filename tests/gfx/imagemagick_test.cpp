// Pictures made by another program: ImageMagick writes PNG files of several
// kinds, korvane-kvp turns them into .kvp, and the game's loader must give
// ImageMagick's own pixel values, packed to 16 bits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "tests/gfx/gfx_fixture.h"

namespace korvane::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kConverter = fs::path(KORVANE_BINARY_DIR) / "tools" / "kvp" / "korvane-kvp";

bool Succeeds(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Sample {
    const char* name;
    const char* making;  // ImageMagick arguments that write the PNG named last
    uint32_t width;
    uint32_t height;
    // 8 bits a channel, so the converter's own values can be compared one
    // for one; 16-bit channels are rounded to 8 bits by both programs, which
    // need not round alike in the last bit.
    bool eightBit;
};

class ImageMagickTest : public ::testing::TestWithParam<Sample> {
  protected:
    void SetUp() override {
        if (!Succeeds("command -v convert")) {
            GTEST_SKIP() << "ImageMagick's convert is not installed";
        }
        if (!fs::exists(kConverter)) {
            GTEST_SKIP() << "korvane-kvp has not been built";
        }
        folder_ =
            fs::temp_directory_path() / ("korvane_imagemagick_" + std::string(GetParam().name) +
                                         "_" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_ / "Art");
    }
    void TearDown() override {
        if (!folder_.empty()) {
            fs::remove_all(folder_);
        }
    }
    fs::path folder_;
};

TEST_P(ImageMagickTest, LoaderMatchesImageMagicksValues) {
    const Sample& sample = GetParam();
    const fs::path png = folder_ / "picture.png";
    const fs::path raw = folder_ / "picture.rgb";
    const fs::path kvp = folder_ / "Art" / "Picture.kvp";
    ASSERT_TRUE(Succeeds("convert " + std::string(sample.making) + png.string()));
    ASSERT_TRUE(Succeeds("convert " + png.string() + " -depth 8 rgb:" + raw.string()));
    ASSERT_TRUE(Succeeds(kConverter.string() + " " + png.string() + " " + kvp.string()));
    const std::vector<uint8_t> rgb = ReadBytes(raw);
    ASSERT_EQ(rgb.size(), size_t{sample.width} * sample.height * 3);

    const std::vector<uint8_t> file = ReadBytes(kvp);
    ASSERT_EQ(file.size(), 14 + rgb.size()) << "a well-formed file and nothing more";

    for (const PixelLayout layout : {PixelLayout::Rgb565, PixelLayout::Rgb555}) {
        SCOPED_TRACE(LayoutName(layout));
        ResetVideo();
        fake::SetFileRoot(folder_.string());
        videoDevice.layout = layout;
        Image image;
        ASSERT_EQ(ImageLoad(&image, "Art\\Picture.kvp", 16), 1);
        ASSERT_EQ(image.width, sample.width);
        ASSERT_EQ(image.height, sample.height);
        for (uint32_t y = 0; y < sample.height; ++y) {
            for (uint32_t x = 0; x < sample.width; ++x) {
                const size_t at = (size_t{y} * sample.width + x) * 3;
                ASSERT_EQ(image.PixelAt(x, y), PackPixel(layout, rgb[at], rgb[at + 1], rgb[at + 2]))
                    << "pixel " << x << "," << y;
            }
        }
    }

    // And back: the .kvp made into a PNG again holds ImageMagick's values.
    if (!sample.eightBit) {
        return;
    }
    const fs::path back = folder_ / "back.png";
    const fs::path backRaw = folder_ / "back.rgb";
    ASSERT_TRUE(Succeeds(kConverter.string() + " " + kvp.string() + " " + back.string()));
    ASSERT_TRUE(Succeeds("convert " + back.string() + " -depth 8 rgb:" + backRaw.string()));
    EXPECT_EQ(ReadBytes(backRaw), rgb);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ImageMagickTest,
    ::testing::Values(
        Sample{"truecolour", "-size 16x9 xc: +noise Random -depth 8 PNG24:", 16, 9, true},
        Sample{"palette", "-size 3x5 xc:red -size 4x5 xc:#1a2b3c +append PNG8:", 7, 5, true},
        Sample{"grey", "-size 6x4 gradient: -colorspace Gray -depth 8 PNG8:", 6, 4, true},
        Sample{"deep", "-size 10x6 gradient:#102030-#f0e0d0 -depth 16 PNG48:", 10, 6, false},
        Sample{"odd_width", "-size 3x2 xc: +noise Random -depth 8 PNG24:", 3, 2, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KvpConverterTest, SaysWhatIsWrongWithABrokenFile) {
    if (!fs::exists(kConverter)) {
        GTEST_SKIP() << "korvane-kvp has not been built";
    }
    const fs::path folder = fs::temp_directory_path() /
                            ("korvane_kvp_broken_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    struct Case {
        std::vector<uint8_t> bytes;
        const char* says;
    };
    const Case cases[] = {
        {{1, 2, 3}, "shorter than the 14-byte .kvp header"},
        {KvpFileWithSize(2, 2, {{1, 2, 3}}, 12), "the file ends after 3 of its 12 bytes"},
        {KvpFileWithSize(2, 2, {}, 9), "needs 12"},
        {KvpFileWithSize(0, 2, {}, 0), "neither may be 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        const fs::path input = folder / "broken.kvp";
        std::ofstream(input, std::ios::binary)
            .write(reinterpret_cast<const char*>(c.bytes.data()),
                   static_cast<std::streamsize>(c.bytes.size()));
        const fs::path message = folder / "message.txt";
        const std::string command = kConverter.string() + " " + input.string() + " " +
                                    (folder / "out.png").string() + " 2>" + message.string();
        EXPECT_NE(std::system(command.c_str()), 0);
        const std::vector<uint8_t> text = ReadBytes(message);
        EXPECT_NE(std::string(text.begin(), text.end()).find(c.says), std::string::npos)
            << std::string(text.begin(), text.end());
    }
    fs::remove_all(folder);
}

// A picture saved under one of the game's own names must have the size the
// game reads that file at; any other name takes any size.
TEST(KvpConverterTest, RefusesAGameFileOfTheWrongSize) {
    if (!Succeeds("command -v convert") || !fs::exists(kConverter)) {
        GTEST_SKIP() << "ImageMagick's convert or korvane-kvp is missing";
    }
    const fs::path folder =
        fs::temp_directory_path() / ("korvane_kvp_names_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    struct Case {
        const char* size;
        const char* output;
        bool accepted;
    };
    const Case cases[] = {
        {"100x100", "Main.kvp", false},    {"640x480", "Main.kvp", true},
        {"640x400", "loading.KVP", false}, {"100x100", "Menu.kvp", false},
        {"640x480", "FileMenu.kvp", true}, {"25x24", "Block8.kvp", false},
        {"24x24", "Block1.kvp", true},     {"25x24", "Block9.kvp", true},
        {"100x100", "Title.kvp", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.output) + " from " + c.size);
        const fs::path png = folder / (std::string(c.size) + ".png");
        ASSERT_TRUE(
            Succeeds("convert -size " + std::string(c.size) + " xc:teal PNG24:" + png.string()));
        const fs::path kvp = folder / c.output;
        fs::remove(kvp);
        const fs::path message = folder / "message.txt";
        const int status = std::system((kConverter.string() + " " + png.string() + " " +
                                        kvp.string() + " 2>" + message.string())
                                           .c_str());
        EXPECT_EQ(status == 0, c.accepted);
        EXPECT_EQ(fs::exists(kvp), c.accepted) << "nothing is written for a refused picture";
        if (!c.accepted) {
            const std::vector<uint8_t> text = ReadBytes(message);
            EXPECT_NE(std::string(text.begin(), text.end()).find("the game reads this picture at"),
                      std::string::npos)
                << std::string(text.begin(), text.end());
        }
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace korvane::testing
