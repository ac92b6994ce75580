// Saving the fake display's pictures as PNG files, 8 bits per channel.
#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/fake/fake_display.h"
#include "platform/fake/fake_surface.h"

namespace korvane::fake {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Widens a 5- or 6-bit channel to 8 bits, repeating its top bits below.
uint8_t Widen(uint32_t value, int bits) {
    return static_cast<uint8_t>((value << (8 - bits)) | (value >> (2 * bits - 8)));
}

std::vector<uint8_t> ToRgb(const platform::Surface& surface) {
    const bool is555 = detail::DisplayIs555();
    std::vector<uint8_t> rgb(static_cast<size_t>(surface.width) * surface.height * 3);
    size_t at = 0;
    for (uint32_t y = 0; y < surface.height; ++y) {
        for (uint32_t x = 0; x < surface.width; ++x) {
            const uint32_t pixel = surface.Get(x, y);
            if (is555) {
                rgb[at++] = Widen((pixel >> 10) & 0x1F, 5);
                rgb[at++] = Widen((pixel >> 5) & 0x1F, 5);
            } else {
                rgb[at++] = Widen((pixel >> 11) & 0x1F, 5);
                rgb[at++] = Widen((pixel >> 5) & 0x3F, 6);
            }
            rgb[at++] = Widen(pixel & 0x1F, 5);
        }
    }
    return rgb;
}

}  // namespace

bool SavePng(const platform::Surface* surface, const std::string& hostPath) {
    if (surface == nullptr || surface->width == 0 || surface->height == 0) {
        return false;
    }
    const std::vector<uint8_t> rgb = ToRgb(*surface);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(hostPath.c_str(), "wb"));
    if (!file) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    // libpng reports errors by long jump; nothing with a destructor is made
    // between here and the end of the writing.
    if (setjmp(png_jmpbuf(png)) != 0) {  // NOLINT(cert-err52-cpp)
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, surface->width, surface->height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (uint32_t y = 0; y < surface->height; ++y) {
        png_write_row(png, rgb.data() + static_cast<size_t>(y) * surface->width * 3);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool SavePng(Buffer which, const std::string& hostPath) {
    return SavePng(DisplaySurface(which), hostPath);
}

}  // namespace korvane::fake
