// Reads a screenshot (PNG) and answers questions the end-to-end tests ask:
//   shot_probe SHOT pixel X Y          -> "R G B"
//   shot_probe SHOT blocks X0 Y0 X1 Y1 R G B
//        -> "count X0 Y0 X1 Y1": how many pixels in the rectangle differ from
//           the colour R G B by more than 24 in any channel, and their
//           bounding box ("0 -1 -1 -1 -1" when none)
//   shot_probe SHOT size               -> "W H"
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* At(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * width + x)]; }
};

bool Load(const char* path, Picture* picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path) == 0) {
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    picture->width = static_cast<int>(image.width);
    picture->height = static_cast<int>(image.height);
    picture->rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, picture->rgb.data(), 0, nullptr) != 0;
}

int Usage() {
    std::fprintf(stderr, "usage: shot_probe SHOT pixel X Y | blocks X0 Y0 X1 Y1 R G B | size\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return Usage();
    }
    Picture picture;
    if (!Load(argv[1], &picture)) {
        std::fprintf(stderr, "shot_probe: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string question = argv[2];
    auto number = [&](int i) { return std::atoi(argv[i]); };
    if (question == "size") {
        std::printf("%d %d\n", picture.width, picture.height);
        return 0;
    }
    if (question == "pixel" && argc == 5) {
        const int x = number(3);
        const int y = number(4);
        if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) {
            return Usage();
        }
        const uint8_t* p = picture.At(x, y);
        std::printf("%d %d %d\n", p[0], p[1], p[2]);
        return 0;
    }
    if (question == "blocks" && argc == 10) {
        const int x0 = std::max(0, number(3));
        const int y0 = std::max(0, number(4));
        const int x1 = std::min(picture.width - 1, number(5));
        const int y1 = std::min(picture.height - 1, number(6));
        const int background[3] = {number(7), number(8), number(9)};
        int count = 0;
        int bx0 = -1, by0 = -1, bx1 = -1, by1 = -1;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const uint8_t* p = picture.At(x, y);
                bool differs = false;
                for (int c = 0; c < 3; ++c) {
                    differs = differs || std::abs(p[c] - background[c]) > 24;
                }
                if (!differs) {
                    continue;
                }
                bx0 = count == 0 ? x : std::min(bx0, x);
                by0 = count == 0 ? y : std::min(by0, y);
                bx1 = std::max(bx1, x);
                by1 = std::max(by1, y);
                ++count;
            }
        }
        std::printf("%d %d %d %d %d\n", count, bx0, by0, bx1, by1);
        return 0;
    }
    return Usage();
}
