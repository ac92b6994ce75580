#include "tools/artgen/screens.h"

#include <string>

#include "tools/artgen/blocks.h"
#include "tools/artgen/lettering.h"
#include "tools/artgen/palette.h"
#include "tools/artgen/scenery.h"
#include "tools/artgen/shapes.h"

namespace korvane::artgen {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Where the game draws on the playing screen.
constexpr Box kWellArea{251, 0, 563, 480};
constexpr Box kLevelDigits{102, 67, 151, 99};
constexpr Box kScoreDigits{54, 161, 197, 193};
constexpr Box kLinesDigits{90, 256, 162, 288};
constexpr Box kPreviewArea{88, 353, 160, 449};

// Shapes for the decorations, as cells of their own box.
constexpr int kBar[4][2] = {{0, 0}, {0, 1}, {0, 2}, {0, 3}};
constexpr int kTee[4][2] = {{0, 0}, {1, 0}, {2, 0}, {1, 1}};
constexpr int kEll[4][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 2}};
constexpr int kEss[4][2] = {{1, 0}, {2, 0}, {0, 1}, {1, 1}};
constexpr int kSquare[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
constexpr int kZed[4][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 1}};

TextStyle Style(double cap_height, double weight) {
    TextStyle style;
    style.cap_height = cap_height;
    style.weight = weight;
    return style;
}

// Pieces tumbling past the edges of the title screens.
void DrawFallingPieces(Canvas& canvas) {
    DrawPiece(canvas, 18, -40, 30, 1, kBar, 0.45);
    DrawPiece(canvas, 70, 300, 30, 4, kTee, 0.5);
    DrawPiece(canvas, -20, 400, 30, 6, kSquare, 0.55);
    DrawPiece(canvas, 548, 30, 30, 5, kEll, 0.5);
    DrawPiece(canvas, 520, 330, 30, 0, kEss, 0.5);
    DrawPiece(canvas, 590, 200, 30, 3, kZed, 0.55);
}

// A key cap and what the key does; a key that does nothing is dimmed and
// says so on a second line.
void DrawMenuItem(Canvas& canvas, double y, std::string_view key, std::string_view label,
                  std::string_view note = {}) {
    constexpr double kCapSize = 40.0;
    const bool live = note.empty();
    DrawKeyCap(canvas, 182, y, kCapSize, key, live);
    const TextStyle text = Style(20, 1.9);
    if (live) {
        DrawText(canvas, LayOut(label, 240, y + 10, text), text, PlainLook(palette::kText));
        return;
    }
    DrawText(canvas, LayOut(label, 240, y + 2, text), text, PlainLook(palette::kTextDim));
    const TextStyle small = Style(9, 0.9);
    DrawText(canvas, LayOut(note, 241, y + 29, small), small, PlainLook(Hex(0xE8866A)));
}

}  // namespace

Canvas MakeLoadingScreen() {
    Canvas canvas(kWidth, kHeight, palette::kSkyTop);
    PaintBackdrop(canvas, 11);
    DrawFallingPieces(canvas);
    DrawTitle(canvas, 320, 150, 84);
    DrawTextCentred(canvas, "A FALLING-BLOCK PUZZLE", 320, 262, Style(14, 1.3),
                    PlainLook(Hex(0xB8C4F0)));
    // The eight blocks in a row, as they are being loaded.
    for (int i = 0; i < 8; ++i) {
        DrawBlock(canvas, 320 - 4 * 30 + i * 30 + 3, 318, 24, i);
    }
    DrawTextCentred(canvas, "LOADING...", 320, 372, Style(22, 2.0), LabelLook());
    return canvas;
}

Canvas MakeMainMenu() {
    Canvas canvas(kWidth, kHeight, palette::kSkyTop);
    PaintBackdrop(canvas, 23);
    DrawFallingPieces(canvas);
    DrawTitle(canvas, 320, 40, 64);
    DrawPanel(canvas, {150, 146, 490, 408}, 14);
    DrawMenuItem(canvas, 168, "N", "NEW GAME");
    DrawMenuItem(canvas, 226, "R", "RESUME");
    DrawMenuItem(canvas, 284, "G", "FILE MENU");
    DrawMenuItem(canvas, 342, "E", "EXIT");
    DrawTextCentred(canvas, "IN PLAY:  [ ]  MOVE    {  TURN    }  DOWN    ESC  MENU", 320, 440,
                    Style(11, 1.1), PlainLook(Hex(0x9AA6D4)));
    return canvas;
}

Canvas MakeFileMenu() {
    Canvas canvas(kWidth, kHeight, palette::kSkyTop);
    PaintBackdrop(canvas, 37);
    DrawFallingPieces(canvas);
    DrawTitle(canvas, 320, 30, 44);
    DrawTextCentred(canvas, "FILE MENU", 320, 98, Style(22, 2.0), LabelLook());
    DrawPanel(canvas, {150, 146, 490, 350}, 14);
    DrawMenuItem(canvas, 168, "L", "LOAD GAME", "NOT AVAILABLE IN THIS GAME");
    DrawMenuItem(canvas, 226, "S", "SAVE GAME", "NOT AVAILABLE IN THIS GAME");
    DrawMenuItem(canvas, 284, "B", "BACK");
    DrawTextCentred(canvas, "PRESS B TO RETURN TO THE MAIN MENU", 320, 392, Style(12, 1.2),
                    PlainLook(Hex(0x9AA6D4)));
    return canvas;
}

Canvas MakePlayScreen() {
    Canvas canvas(kWidth, kHeight, palette::kSkyTop);
    PaintBackdrop(canvas, 47);

    // The left-hand console holding the counters and the preview.
    DrawPanel(canvas, {8, 8, 236, 472}, 16);
    const TextStyle label = Style(16, 1.6);
    DrawTextCentred(canvas, "LEVEL", 126.5, 36, label, LabelLook());
    DrawInset(canvas, kLevelDigits.Grown(6), 4);
    DrawTextCentred(canvas, "SCORE", 125.5, 130, label, LabelLook());
    DrawInset(canvas, kScoreDigits.Grown(6), 4);
    DrawTextCentred(canvas, "LINES", 126, 225, label, LabelLook());
    DrawInset(canvas, kLinesDigits.Grown(6), 4);
    DrawTextCentred(canvas, "NEXT", 124, 314, label, LabelLook());
    // The preview box leaves a margin round the area the shapes' previews cover.
    DrawInset(
        canvas,
        {kPreviewArea.x0 - 14, kPreviewArea.y0 - 12, kPreviewArea.x1 + 14, kPreviewArea.y1 + 12},
        4);

    // The well: a steel frame either side, the inside dark and plain with a
    // faint cell grid.
    const Box left_post{239, -20, 251, 500};
    const Box right_post{563, -20, 575, 500};
    for (const Box& post : {left_post, right_post}) {
        Shadow(canvas, post, RoundRect(post, 3), 3, 0, 6, 0.6);
    }
    for (int y = 0; y < kHeight; ++y) {
        for (int x = static_cast<int>(kWellArea.x0); x < static_cast<int>(kWellArea.x1); ++x) {
            Rgb c = palette::kWell;
            const int column = (x - 251) % 24;
            const int row = (y + 24) % 24;
            if (column == 0 || row == 0) {
                c = palette::kWellLine;
            }
            canvas.Set(x, y, c);
        }
    }
    for (const Box& post : {left_post, right_post}) {
        Fill(canvas, post, RoundRect(post, 3), [&](double px, double) {
            const double t = (px - post.x0) / (post.x1 - post.x0);
            return Mix(palette::kSteelLight, palette::kSteelDark, t);
        });
        Bevel(canvas, post, RoundRect(post, 3), 3, 0.6);
    }

    // The title stands in the band right of the well, one letter a line.
    TextStyle title = Style(34, 3.0);
    const std::string name = "KORVANE";
    for (std::size_t i = 0; i < name.size(); ++i) {
        DrawTextCentred(canvas, std::string_view(&name[i], 1), 607,
                        52 + 56.0 * static_cast<double>(i), title, TitleLook());
    }
    return canvas;
}

Canvas MakeIcon(int size) {
    // Laid out on a 32-pixel grid and drawn afresh at each size, so the larger
    // icons get crisp edges and the blocks' engraved marks.
    const double s = size / 32.0;
    Canvas canvas(size, size, Rgb{0, 0, 0}, 0.0);
    const Box plate{1 * s, 1 * s, 31 * s, 31 * s};
    Fill(canvas, plate, RoundRect(plate, 6 * s),
         VerticalGradient(1 * s, 31 * s, Hex(0x2A2F78), palette::kSkyTop));
    Bevel(canvas, plate, RoundRect(plate, 6 * s), 2 * s, 0.5);
    DrawBlock(canvas, 5 * s, 5 * s, 11 * s, 0);
    DrawBlock(canvas, 16 * s, 5 * s, 11 * s, 1);
    DrawBlock(canvas, 5 * s, 16 * s, 11 * s, 5);
    DrawBlock(canvas, 16 * s, 16 * s, 11 * s, 2);
    return canvas;
}

}  // namespace korvane::artgen
