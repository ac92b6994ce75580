// Watches an X screen for one of the game's pictures, laid on it as the game
// lays it (platform/common/picture_scale.h), and says when it came:
//   korvane_screen_watch SINCE_NS TIMEOUT_S PICTURE.kvp [PREVIOUS.kvp]
// prints "FIRST_MS FULL_MS": milliseconds from SINCE_NS (CLOCK_REALTIME
// nanoseconds, as `date +%s%N` gives them) until the first sample point
// showed the picture, and until every one did. With PREVIOUS, the change is
// taken to be the game's wipe (strips of 6 columns or 4 rows, 30 ms apart):
// FIRST_MS is then when its first strip was copied, worked out from when
// each point where the two pictures differ changed, since the pictures' edges
// may look alike and hide the first strips. With WATCH_SHARE
// set (0 to 1), that share of the points is enough for "every one" (a
// picture the game draws on). Exits 1 on timeout.
//
// The screen is read a few whole rows at a time, so the watch costs the X
// server little while the game starts.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>
#include <vector>

#include "platform/common/picture_scale.h"

namespace {

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> bgr;
};

bool LoadKvp(const char* path, Picture* picture) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.size() < 14) {
        return false;
    }
    auto read32 = [&bytes](size_t at) {
        return static_cast<uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                     bytes[at + 3] << 24);
    };
    picture->width = read32(0);
    picture->height = read32(4);
    const size_t size = static_cast<size_t>(picture->width) * picture->height * 3;
    if (picture->width == 0 || bytes.size() < 14 + size) {
        return false;
    }
    picture->bgr.assign(bytes.begin() + 14, bytes.begin() + 14 + static_cast<ptrdiff_t>(size));
    return true;
}

// The colour a picture's pixel has on the screen: cut to 5-6-5 by the game,
// widened again by the display.
struct Colour {
    int r = 0;
    int g = 0;
    int b = 0;
};
Colour Shown(const Picture& p, uint32_t x, uint32_t y) {
    const uint8_t* at = &p.bgr[3 * (static_cast<size_t>(y) * p.width + x)];
    auto widen = [](int value, int bits) {
        const int cut = value >> (8 - bits);
        return cut << (8 - bits) | cut >> (2 * bits - 8);
    };
    return {widen(at[2], 5), widen(at[1], 6), widen(at[0], 5)};
}

bool Near(const Colour& a, const Colour& b) {
    return std::abs(a.r - b.r) <= 12 && std::abs(a.g - b.g) <= 12 && std::abs(a.b - b.b) <= 12;
}

int64_t NowNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

struct Point {
    uint32_t x;
    uint32_t y;
    Colour want;
    bool counts;  // differs from the previous picture
    int64_t seen = -1;
};

// When the wipe's first strip was copied: each changed point's time less its
// strip's place in the wipe, in whichever direction fits the times better.
double WipeStart(const std::vector<Point>& points, uint32_t width, uint32_t height) {
    auto stripOf = [](uint32_t at, uint32_t extent, uint32_t step) {
        const uint32_t first = extent % step == 0 ? step : extent % step;
        return at < first ? 0U : 1 + (at - first) / step;
    };
    double best = 0;
    double bestSpread = -1;
    for (bool columns : {true, false}) {
        std::vector<double> starts;
        for (const Point& p : points) {
            if (p.counts && p.seen >= 0) {
                const uint32_t strip = columns ? stripOf(p.x, width, 6) : stripOf(p.y, height, 4);
                starts.push_back(static_cast<double>(p.seen) - strip * 30e6);
            }
        }
        if (starts.empty()) {
            continue;
        }
        std::sort(starts.begin(), starts.end());
        const double spread = starts[starts.size() * 9 / 10] - starts[starts.size() / 10];
        if (bestSpread < 0 || spread < bestSpread) {
            bestSpread = spread;
            best = starts[starts.size() / 2];
        }
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s SINCE_NS TIMEOUT_S PICTURE.kvp [PREVIOUS.kvp]\n", argv[0]);
        return 2;
    }
    const int64_t since = std::strtoll(argv[1], nullptr, 10);
    const int64_t deadline = NowNs() + std::strtoll(argv[2], nullptr, 10) * 1'000'000'000;
    Picture target;
    Picture previous;
    if (!LoadKvp(argv[3], &target) || (argc > 4 && !LoadKvp(argv[4], &previous))) {
        std::fprintf(stderr, "cannot read the pictures\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    const auto screenWidth = static_cast<uint32_t>(DisplayWidth(display, DefaultScreen(display)));
    const auto screenHeight = static_cast<uint32_t>(DisplayHeight(display, DefaultScreen(display)));
    const korvane::platform::PicturePlacement at = korvane::platform::PlacePicture(
        static_cast<int32_t>(target.width), static_cast<int32_t>(target.height),
        static_cast<int32_t>(screenWidth), static_cast<int32_t>(screenHeight));
    // The screen pixel whose centre is nearest the picture pixel's centre.
    auto screenX = [&](uint32_t x) {
        return at.x + static_cast<int32_t>((2 * int64_t{x} + 1) * at.width / (2 * target.width));
    };
    auto screenY = [&](uint32_t y) {
        return at.y + static_cast<int32_t>((2 * int64_t{y} + 1) * at.height / (2 * target.height));
    };
    // Where the picture is smoothed, a pixel next to a different one may be
    // shown mixed with it: each point is moved, within a few pixels, to one
    // whose neighbours all have its colour.
    auto flatAround = [&](uint32_t x, uint32_t y) {
        if (!at.smooth) {
            return true;
        }
        const Colour c = Shown(target, x, y);
        for (uint32_t ny = y == 0 ? 0 : y - 1; ny <= std::min(y + 1, target.height - 1); ++ny) {
            for (uint32_t nx = x == 0 ? 0 : x - 1; nx <= std::min(x + 1, target.width - 1); ++nx) {
                const Colour n = Shown(target, nx, ny);
                if (n.r != c.r || n.g != c.g || n.b != c.b) {
                    return false;
                }
            }
        }
        return true;
    };

    // Twelve rows of sixteen points, the picture's last row and column among them.
    std::vector<uint32_t> rows;
    for (uint32_t i = 0; i < 12; ++i) {
        rows.push_back(i == 11 ? target.height - 1 : target.height * i / 11 + 2);
    }
    std::vector<Point> points;
    for (uint32_t y : rows) {
        for (uint32_t i = 0; i < 16; ++i) {
            uint32_t x = i == 15 ? target.width - 1 : target.width * i / 15 + 2;
            for (uint32_t step = 0; step < 6 && !flatAround(x, y); ++step) {
                x = x >= 3 ? x - 1 : x + 1;
            }
            const Colour want = Shown(target, x, y);
            const bool counts = previous.bgr.empty() || !Near(Shown(previous, x, y), want);
            points.push_back({x, y, want, counts});
        }
    }

    const char* shareText = std::getenv("WATCH_SHARE");
    const double share = shareText != nullptr ? std::strtod(shareText, nullptr) : 1.0;
    const auto enough = static_cast<size_t>(std::ceil(share * static_cast<double>(points.size())));
    int64_t first = -1;
    while (NowNs() < deadline) {
        size_t matching = 0;
        bool anyCounting = false;
        for (uint32_t y : rows) {
            XImage* row = XGetImage(display, root, at.x, screenY(y),
                                    static_cast<unsigned>(at.width), 1, AllPlanes, ZPixmap);
            if (row == nullptr) {
                continue;
            }
            for (Point& p : points) {
                if (p.y != y) {
                    continue;
                }
                const unsigned long pixel = XGetPixel(row, screenX(p.x) - at.x, 0);
                const Colour seen{static_cast<int>((pixel >> 16) & 0xFF),
                                  static_cast<int>((pixel >> 8) & 0xFF),
                                  static_cast<int>(pixel & 0xFF)};
                if (Near(seen, p.want)) {
                    if (p.seen < 0) {
                        p.seen = NowNs();
                    }
                    ++matching;
                    anyCounting = anyCounting || p.counts;
                }
            }
            XDestroyImage(row);
        }
        const int64_t now = NowNs();
        if (first < 0 && anyCounting) {
            first = now;
        }
        if (matching >= enough) {
            double start = static_cast<double>(first < 0 ? now : first);
            if (!previous.bgr.empty()) {
                start = WipeStart(points, target.width, target.height);
            }
            std::printf("%.1f %.1f\n", (start - static_cast<double>(since)) / 1e6,
                        static_cast<double>(now - since) / 1e6);
            XCloseDisplay(display);
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    XCloseDisplay(display);
    std::fprintf(stderr, "the picture did not show\n");
    return 1;
}
