// PNG files through libpng: any colour type or depth in, 8-bit RGB out.
#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "picture.h"

namespace korvane::kvp {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// libpng reports through these; the message is kept for the person reading.
void KeepError(png_structp png, png_const_charp message) {
    auto* error = static_cast<std::string*>(png_get_error_ptr(png));
    *error = message;
    png_longjmp(png, 1);
}
void IgnoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// libpng reads the file's bytes from memory through this.
struct ByteSource {
    const std::vector<uint8_t>* bytes;
    size_t at;
};

void ReadFromBytes(png_structp png, png_bytep destination, size_t count) {
    auto* source = static_cast<ByteSource*>(png_get_io_ptr(png));
    if (count > source->bytes->size() - source->at) {
        png_error(png, "the file ends early");
    }
    std::memcpy(destination, source->bytes->data() + source->at, count);
    source->at += count;
}

// libpng takes a chunk's length on trust and allocates it before finding the
// file short, so every chunk is first checked to lie inside the file: what a
// chunk can cost is then bounded by the file's own size.
uint32_t Big32(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) << 24 | static_cast<uint32_t>(bytes[at + 1]) << 16 |
           static_cast<uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
}

bool ChunksInsideFile(const std::vector<uint8_t>& bytes, size_t at, std::string* problem) {
    while (at + 8 <= bytes.size()) {
        const uint32_t length = Big32(bytes, at);
        const std::string type(bytes.begin() + static_cast<ptrdiff_t>(at + 4),
                               bytes.begin() + static_cast<ptrdiff_t>(at + 8));
        // The chunk's data and its 4-byte check must both be there.
        if (uint64_t{length} + 12 > bytes.size() - at) {
            *problem = "its " + type + " chunk claims " + std::to_string(length) +
                       " bytes, more than the file holds";
            return false;
        }
        at += size_t{length} + 12;
        if (type == "IEND") {
            return true;
        }
    }
    *problem = "the file ends before its IEND chunk";
    return false;
}

// Decompressed text and profile chunks are limited too, and no picture may
// be larger than the largest the game shows.
void LimitCosts(png_structp png) {
    png_set_user_limits(png, kMaxWidth, kMaxHeight);
    png_set_chunk_cache_max(png, 32);
    png_set_chunk_malloc_max(png, static_cast<png_alloc_size_t>(kMaxWidth) * kMaxHeight * 8);
}

}  // namespace

bool ReadPng(const std::string& path, Picture* picture, std::string* error) {
    std::vector<uint8_t> bytes;
    return ReadWholeFile(path, &bytes, error) && DecodePng(bytes, path, picture, error);
}

bool DecodePng(const std::vector<uint8_t>& bytes, const std::string& path, Picture* picture,
               std::string* error) {
    constexpr size_t kSignatureBytes = 8;
    if (bytes.size() < kSignatureBytes || png_sig_cmp(bytes.data(), 0, kSignatureBytes) != 0) {
        *error = path + ": not a PNG file";
        return false;
    }
    std::string problem;
    if (!ChunksInsideFile(bytes, kSignatureBytes, &problem)) {
        *error = path + ": broken PNG: " + problem;
        return false;
    }
    // The header chunk comes first: its width and height follow its type.
    constexpr size_t kWidthAt = kSignatureBytes + 8;
    if (bytes.size() >= kWidthAt + 8 &&
        (Big32(bytes, kWidthAt) > kMaxWidth || Big32(bytes, kWidthAt + 4) > kMaxHeight)) {
        *error = path + ": " + std::to_string(Big32(bytes, kWidthAt)) + "x" +
                 std::to_string(Big32(bytes, kWidthAt + 4)) + " is larger than " +
                 std::to_string(kMaxWidth) + "x" + std::to_string(kMaxHeight) +
                 ", the largest picture the game shows";
        return false;
    }
    std::string libpngError;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &libpngError, KeepError, IgnoreWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        *error = path + ": out of memory";
        return false;
    }
    // Everything with a destructor exists before the jump point, so a jump
    // back from libpng skips none.
    std::vector<png_bytep> rows;
    ByteSource source{&bytes, kSignatureBytes};
    if (setjmp(png_jmpbuf(png)) != 0) {  // NOLINT(cert-err52-cpp)
        png_destroy_read_struct(&png, &info, nullptr);
        *error = path + ": broken PNG: " + libpngError;
        return false;
    }
    LimitCosts(png);
    png_set_read_fn(png, &source, ReadFromBytes);
    png_set_sig_bytes(png, kSignatureBytes);
    png_read_info(png, info);
    // Whatever the file holds becomes plain 8-bit RGB: palettes and grey are
    // expanded, 16-bit channels scaled down, transparency dropped. No gamma
    // is applied: the numbers in the file are the numbers converted.
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    picture->width = png_get_image_width(png, info);
    picture->height = png_get_image_height(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != static_cast<size_t>(picture->width) * 3) {
        png_destroy_read_struct(&png, &info, nullptr);
        *error = path + ": unexpected pixel layout after conversion";
        return false;
    }
    picture->rgb.resize(rowBytes * picture->height);
    rows.resize(picture->height);
    for (uint32_t y = 0; y < picture->height; ++y) {
        rows[y] = picture->rgb.data() + rowBytes * y;
    }
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool WritePng(const std::string& path, const Picture& picture, std::string* error) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        *error = path + ": cannot be written";
        return false;
    }
    std::string libpngError;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &libpngError, KeepError, IgnoreWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        *error = path + ": out of memory";
        return false;
    }
    std::vector<png_bytep> rows(picture.height);
    for (uint32_t y = 0; y < picture.height; ++y) {
        rows[y] =
            const_cast<png_bytep>(picture.rgb.data()) + static_cast<size_t>(picture.width) * 3 * y;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {  // NOLINT(cert-err52-cpp)
        png_destroy_write_struct(&png, &info);
        *error = path + ": cannot be written: " + libpngError;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace korvane::kvp
