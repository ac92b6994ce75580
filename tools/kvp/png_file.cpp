// PNG files through libpng: any colour type or depth in, 8-bit RGB out.
#include <png.h>

#include <cstdio>
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

}  // namespace

bool ReadPng(const std::string& path, Picture* picture, std::string* error) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        *error = path + ": cannot be opened";
        return false;
    }
    png_byte signature[8] = {};
    if (std::fread(signature, 1, sizeof signature, file.get()) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        *error = path + ": not a PNG file";
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
    if (setjmp(png_jmpbuf(png)) != 0) {  // NOLINT(cert-err52-cpp)
        png_destroy_read_struct(&png, &info, nullptr);
        *error = path + ": broken PNG: " + libpngError;
        return false;
    }
    png_init_io(png, file.get());
    png_set_sig_bytes(png, sizeof signature);
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
