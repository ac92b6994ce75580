// The end-to-end tests' one reader of the screen: the desktop's and Wine's
// scripts (X window dumps) and the browsers' (PNG files of the canvas) take
// pictures and ask it what they show. Pictures are whole screens of the
// game's size unless said otherwise; the well is where the game draws it.
//   shot_probe SHOT size                  -> "W H"
//   shot_probe SHOT pixel X Y             -> "R G B"
//   shot_probe SHOT blocks X0 Y0 X1 Y1 R G B
//        -> "count X0 Y0 X1 Y1": how many pixels in the rectangle differ from
//           R G B, and their bounding box ("0 -1 -1 -1 -1" when none)
//   shot_probe SHOT differs OTHER [TOLERANCE] [beside-well]
//        -> how many pixels differ from OTHER's by more than TOLERANCE (0) in
//           a channel (only right of the well, where nothing moves in play,
//           with beside-well); all of them when the sizes differ
//   shot_probe SHOT region well|beside-well [R G B] [in X Y W H]
//        -> "count X0 Y0 X1 Y1 area": as blocks, over the well or the screen
//           right of it, against the well's background unless R G B are
//           given; with "in", of the game's picture shown scaled into that
//           rectangle of the shot
//   shot_probe SHOT well                  -> the well's cells, a line a row
//           from the top: '#' a block, '.' none
//   shot_probe SHOT piece [KNOWN]
//        -> "LEFT TOP WIDTH HEIGHT fresh|falling turns|same left|right|none"
//           of the falling piece (in cells, from the well's top left): fresh
//           when it has just come whole into view, "same" for a shape that
//           looks the same turned, the wall it touches. Exit 1 when no piece
//           falls, or the well holds more blocks than KNOWN's (another came).
//   shot_probe SHOT resumed BEFORE        -> verdict, as below: the game
//           left at BEFORE came back with its settled blocks and its piece
//   shot_probe KNOWN judge fall|down|turn|left|right [--trace]
//              FIRST BEGAN ENDED [+] SHOT BEGAN ENDED ...
//        -> "pass|fail|lost|wait WHY": whether the key (or gravity, for
//           fall) moved the piece KNOWN showed; FIRST is the look right
//           before the key went down, each SHOT one taken while it was held,
//           with the microseconds between which it was taken; "+" marks the
//           key pressed again after it was let go. "lost": the moment to
//           tell was missed; "wait": no answer yet, ask again with more.
// Exit 2 for a question asked wrongly, 1 for a picture that cannot be read.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/screen/picture.h"
#include "tests/screen/piece_checks.h"
#include "tests/screen/well.h"

namespace {

using korvane::screen::Picture;

int Usage() {
    std::fprintf(
        stderr,
        "usage: shot_probe SHOT size | pixel X Y | blocks X0 Y0 X1 Y1 R G B"
        " | differs OTHER [TOLERANCE] [beside-well] | region well|beside-well [R G B] [in X Y W H]"
        " | well | piece [KNOWN] | resumed BEFORE\n"
        "       shot_probe KNOWN judge CHECK [--trace] FIRST BEGAN ENDED"
        " [+] SHOT BEGAN ENDED...\n");
    return 2;
}

bool Load(const std::string& path, Picture* picture) {
    if (korvane::screen::LoadPicture(path, picture)) {
        return true;
    }
    std::fprintf(stderr, "shot_probe: cannot read %s\n", path.c_str());
    return false;
}

bool LoadWell(const std::string& path, korvane::screen::Well* well) {
    Picture picture;
    if (!Load(path, &picture)) {
        return false;
    }
    if (!korvane::screen::ReadWell(picture, well)) {
        std::fprintf(stderr, "shot_probe: %s is %dx%d, not the game's screen\n", path.c_str(),
                     picture.width, picture.height);
        return false;
    }
    return true;
}

struct Box {
    int count = 0;
    int x0 = -1, y0 = -1, x1 = -1, y1 = -1;
};

Box Blocks(const Picture& picture, int x0, int y0, int x1, int y1, const uint8_t colour[3]) {
    Box box;
    for (int y = std::max(0, y0); y <= std::min(picture.height - 1, y1); ++y) {
        for (int x = std::max(0, x0); x <= std::min(picture.width - 1, x1); ++x) {
            if (!korvane::screen::Differs(picture.At(x, y), colour)) {
                continue;
            }
            box.x0 = box.count == 0 ? x : std::min(box.x0, x);
            box.y0 = box.count == 0 ? y : std::min(box.y0, y);
            box.x1 = std::max(box.x1, x);
            box.y1 = std::max(box.y1, y);
            ++box.count;
        }
    }
    return box;
}

bool Colour(char** argv, int at, uint8_t colour[3]) {
    for (int c = 0; c < 3; ++c) {
        const int value = std::atoi(argv[at + c]);
        if (value < 0 || value > 255) {
            return false;
        }
        colour[c] = static_cast<uint8_t>(value);
    }
    return true;
}

// The part of a screen right of the well; nothing of a picture of another
// size.
Picture BesideWell(const Picture& picture) {
    namespace s = korvane::screen;
    Picture part;
    if (picture.width != static_cast<int>(korvane::kScreenWidth) ||
        picture.height != static_cast<int>(korvane::kScreenHeight)) {
        return part;
    }
    part.width = picture.width - (s::kWellRight + 1);
    part.height = picture.height;
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* row = picture.At(s::kWellRight + 1, y);
        part.rgb.insert(part.rgb.end(), row, row + 3 * part.width);
    }
    return part;
}

int Region(const Picture& picture, int argc, char** argv) {
    namespace s = korvane::screen;
    const std::string name = argv[3];
    int at = 4;
    uint8_t colour[3] = {};
    bool given = false;
    if (argc >= at + 3 && std::string(argv[at]) != "in") {
        if (!Colour(argv, at, colour)) {
            return Usage();
        }
        given = true;
        at += 3;
    }
    // Where the game's picture is on the shot, and at what size.
    int left = 0, top = 0, width = picture.width, height = picture.height;
    if (argc == at + 5 && std::string(argv[at]) == "in") {
        left = std::atoi(argv[at + 1]);
        top = std::atoi(argv[at + 2]);
        width = std::atoi(argv[at + 3]);
        height = std::atoi(argv[at + 4]);
        at += 5;
    }
    if (argc != at || width <= 0 || height <= 0) {
        return Usage();
    }
    auto x_of = [&](int x) { return left + x * width / static_cast<int>(korvane::kScreenWidth); };
    auto y_of = [&](int y) { return top + y * height / static_cast<int>(korvane::kScreenHeight); };
    int x0 = 0, x1 = 0;
    if (name == "well") {
        x0 = korvane::kWellLeft;
        x1 = s::kWellRight;
    } else if (name == "beside-well") {
        x0 = s::kWellRight + 1;
        x1 = static_cast<int>(korvane::kScreenWidth) - 1;
    } else {
        return Usage();
    }
    if (!given) {
        const int bx = x_of(s::kWellRight + 1 + korvane::kBlockSize / 2);
        const int by = y_of(s::kWellTop + korvane::kBlockSize / 2);
        if (bx < 0 || by < 0 || bx >= picture.width || by >= picture.height) {
            return Usage();
        }
        const uint8_t* p = picture.At(bx, by);
        std::copy(p, p + 3, colour);
    }
    const int y0 = s::kWellTop;
    const int y1 = s::kWellBottom;
    const Box box = Blocks(picture, x_of(x0), y_of(y0), x_of(x1), y_of(y1), colour);
    const int area = (x_of(x1) - x_of(x0) + 1) * (y_of(y1) - y_of(y0) + 1);
    std::printf("%d %d %d %d %d %d\n", box.count, box.x0, box.y0, box.x1, box.y1, area);
    return 0;
}

int PieceQuestion(const Picture& picture, int argc, char** argv) {
    namespace s = korvane::screen;
    if (argc > 4) {
        return Usage();
    }
    s::Well well;
    if (!s::ReadWell(picture, &well)) {
        std::fprintf(stderr, "shot_probe: %s is not the game's screen\n", argv[1]);
        return 1;
    }
    if (argc == 4) {
        s::Well known;
        if (!LoadWell(argv[3], &known)) {
            return 1;
        }
        if (well.Count() > known.Count()) {
            return 1;
        }
    }
    const std::optional<s::Piece> piece = s::FallingPiece(well);
    if (!piece) {
        return 1;
    }
    const char* wall = piece->left == 0                                ? "left"
                       : piece->left + piece->width == s::kWellColumns ? "right"
                                                                       : "none";
    std::printf("%d %d %d %d %s %s %s\n", piece->left, piece->top, piece->width, piece->height,
                s::Fresh(*piece) ? "fresh" : "falling", s::ShowsTurn(*piece) ? "turns" : "same",
                wall);
    return 0;
}

void Say(const korvane::screen::Verdict& verdict) {
    std::printf("%s%s%s\n", korvane::screen::OutcomeName(verdict.outcome),
                verdict.why.empty() ? "" : " ", verdict.why.c_str());
}

int JudgeQuestion(int argc, char** argv) {
    namespace s = korvane::screen;
    s::Check check;
    if (argc < 4 || !s::ParseCheck(argv[3], &check)) {
        return Usage();
    }
    s::Well known;
    if (!LoadWell(argv[1], &known)) {
        return 1;
    }
    int at = 4;
    const bool trace = at < argc && std::string(argv[at]) == "--trace";
    at += trace ? 1 : 0;
    std::vector<s::Reading> readings;
    bool pressed_again = false;
    while (at < argc) {
        if (std::string(argv[at]) == "+") {
            pressed_again = true;
            ++at;
            continue;
        }
        if (at + 3 > argc) {
            return Usage();
        }
        s::Reading reading;
        // A picture cut short (the screen grabbed as the test ended) is no
        // sight of the piece; the verdict says so rather than the program.
        reading.readable = LoadWell(argv[at], &reading.well);
        reading.began_us = std::strtoll(argv[at + 1], nullptr, 10);
        reading.ended_us = std::strtoll(argv[at + 2], nullptr, 10);
        reading.pressed_again = pressed_again;
        pressed_again = false;
        readings.push_back(reading);
        at += 3;
        if (trace) {
            const std::optional<s::Piece> piece = s::FallingPiece(reading.well);
            const s::Verdict so_far = s::Judge(check, known, readings);
            std::fprintf(stderr, "  (%s %s: %s, %.2f s after the first look: %s %s)\n", argv[3],
                         argv[at - 3],
                         piece ? ("top " + std::to_string(piece->top) + ", column " +
                                  std::to_string(piece->left))
                                     .c_str()
                               : "no piece",
                         (reading.ended_us - readings[0].began_us) / 1e6,
                         s::OutcomeName(so_far.outcome), so_far.why.c_str());
        }
    }
    if (readings.empty()) {
        return Usage();
    }
    Say(s::Judge(check, known, readings));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    namespace s = korvane::screen;
    if (argc < 3) {
        return Usage();
    }
    const std::string question = argv[2];
    if (question == "judge") {
        return JudgeQuestion(argc, argv);
    }
    Picture picture;
    if (!Load(argv[1], &picture)) {
        return 1;
    }
    auto number = [&](int i) { return std::atoi(argv[i]); };
    if (question == "size" && argc == 3) {
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
        uint8_t colour[3];
        if (!Colour(argv, 7, colour)) {
            return Usage();
        }
        const Box box = Blocks(picture, number(3), number(4), number(5), number(6), colour);
        std::printf("%d %d %d %d %d\n", box.count, box.x0, box.y0, box.x1, box.y1);
        return 0;
    }
    if (question == "differs" && argc >= 4 && argc <= 6) {
        Picture other;
        if (!Load(argv[3], &other)) {
            return 1;
        }
        const int tolerance = argc >= 5 ? number(4) : 0;
        if (argc == 6) {
            if (std::string(argv[5]) != "beside-well") {
                return Usage();
            }
            picture = BesideWell(picture);
            other = BesideWell(other);
        }
        std::printf("%lld\n",
                    static_cast<long long>(s::DifferingPixels(picture, other, tolerance)));
        return 0;
    }
    if (question == "region" && argc >= 4) {
        return Region(picture, argc, argv);
    }
    if (question == "well" && argc == 3) {
        s::Well well;
        if (!s::ReadWell(picture, &well)) {
            std::fprintf(stderr, "shot_probe: %s is not the game's screen\n", argv[1]);
            return 1;
        }
        std::printf("%s", well.Text().c_str());
        return 0;
    }
    if (question == "piece") {
        return PieceQuestion(picture, argc, argv);
    }
    if (question == "resumed" && argc == 4) {
        s::Well before;
        s::Well after;
        if (!s::ReadWell(picture, &after) || !LoadWell(argv[3], &before)) {
            return 1;
        }
        Say(s::Resumed(before, after));
        return 0;
    }
    return Usage();
}
