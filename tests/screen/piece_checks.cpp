#include "tests/screen/piece_checks.h"

#include <cstdarg>
#include <cstdio>
#include <optional>
#include <utility>

#include "app/frame.h"

namespace korvane::screen {
namespace {

// Rows a piece falls with Left, Right or Up held before the key is taken to
// have done nothing: every frame in which gravity acts also samples the
// keyboard, so four rows are four samples, the first of which may have come
// just before the key went down, however slowly the game runs.
constexpr int kRowsWithoutAnswer = 4;

Verdict Say(Outcome outcome, const char* format, ...) __attribute__((format(printf, 2, 3)));

Verdict Say(Outcome outcome, const char* format, ...) {
    char text[160];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return {outcome, text};
}

}  // namespace

bool ParseCheck(std::string_view name, Check* check) {
    constexpr std::pair<std::string_view, Check> kNames[] = {
        {"fall", Check::kFall}, {"down", Check::kDown},   {"turn", Check::kTurn},
        {"left", Check::kLeft}, {"right", Check::kRight},
    };
    for (const auto& [text, value] : kNames) {
        if (name == text) {
            *check = value;
            return true;
        }
    }
    return false;
}

int RowsByGravity(int64_t from_us, int64_t to_us) {
    constexpr int64_t kGravityUs = int64_t{kGravityIntervalMs} * 1000;
    return static_cast<int>((to_us - from_us) / kGravityUs) + 2;
}

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::kPass:
            return "pass";
        case Outcome::kFail:
            return "fail";
        case Outcome::kLost:
            return "lost";
        case Outcome::kWait:
            return "wait";
    }
    return "?";
}

Verdict Judge(Check check, const Well& known, const std::vector<Reading>& readings) {
    const std::optional<Piece> was = FallingPiece(known);
    const std::optional<Piece> first =
        readings.empty() || !readings[0].readable ? std::nullopt : FallingPiece(readings[0].well);
    // The look before the key shows the piece last seen: the same shape in
    // the same column, no higher.
    if (!was || !first || first->shape != was->shape || first->left != was->left ||
        first->top < was->top) {
        return Say(Outcome::kLost, "the piece was gone before its key");
    }
    const Piece before = *first;
    const bool turning = check == Check::kTurn;
    // The last sight of the piece, and how far it could fall from there.
    int64_t seen_at = readings[0].began_us;
    int seen_room = turning ? before.turn_room : before.room;
    // Rows fallen while the key was held: in earlier stretches, and in this
    // one from its first picture.
    int held_rows = 0;
    int stretch_rows = 0;
    int stretch_top = -1;
    // Down: every sight of the piece, to measure against gravity from each.
    std::vector<std::pair<int, int64_t>> sights{{before.top, seen_at}};
    for (size_t k = 1; k < readings.size(); ++k) {
        const Reading& reading = readings[k];
        // Until the piece can have landed, no other can have come, so the
        // piece seen is the one followed; past that, nothing seen answers.
        // Down takes it further than gravity, and is told by its own rule.
        if (check != Check::kDown && RowsByGravity(seen_at, reading.ended_us) >= seen_room) {
            return Say(Outcome::kLost, "it may have landed");
        }
        const std::optional<Piece> piece =
            reading.readable ? FallingPiece(reading.well) : std::nullopt;
        if (!piece) {
            return Say(Outcome::kLost, "no piece falling: it landed (or another came) first");
        }
        if (piece->top < before.top) {
            return Say(Outcome::kLost, "the piece rose: another came");
        }
        if (!turning && piece->shape != before.shape) {
            return Say(Outcome::kLost, "the piece changed its shape on its own");
        }
        if ((check == Check::kFall || check == Check::kDown) && piece->left != before.left) {
            return Say(Outcome::kLost, "the piece changed its column on its own");
        }
        if (reading.pressed_again || stretch_top < 0) {
            held_rows += stretch_rows;
            stretch_top = piece->top;
        }
        stretch_rows = piece->top - stretch_top;
        seen_at = reading.began_us;
        seen_room = turning ? piece->turn_room : piece->room;
        const int rows_held = held_rows + stretch_rows;
        switch (check) {
            case Check::kFall:
                if (piece->top > before.top) {
                    return Say(Outcome::kPass, "top row %d -> %d", before.top, piece->top);
                }
                break;
            case Check::kLeft:
            case Check::kRight: {
                const int way = check == Check::kLeft ? -1 : 1;
                if ((piece->left - before.left) * way > 0) {
                    return Say(Outcome::kPass, "column %d -> %d", before.left, piece->left);
                }
                if (rows_held >= kRowsWithoutAnswer) {
                    return Say(Outcome::kFail,
                               "it fell %d rows with the key held and stayed in its column",
                               rows_held);
                }
                break;
            }
            case Check::kTurn:
                if (piece->shape != before.shape || piece->left != before.left) {
                    return Say(Outcome::kPass, "%dx%d -> %dx%d, at column %d -> %d", before.width,
                               before.height, piece->width, piece->height, before.left,
                               piece->left);
                }
                if (rows_held >= kRowsWithoutAnswer) {
                    return Say(Outcome::kFail, "it fell %d rows with the key held and never turned",
                               rows_held);
                }
                break;
            case Check::kDown:
                // Any two sights will do, so that a spell in which a busy
                // machine hardly ran the game does not hide the Down steps of
                // the rest.
                for (const auto& [top, at] : sights) {
                    const int gravity = RowsByGravity(at, reading.ended_us);
                    if (piece->top - top > gravity) {
                        return Say(Outcome::kPass, "%d rows in %.2f s, gravity alone at most %d",
                                   piece->top - top, (reading.ended_us - at) / 1e6, gravity);
                    }
                }
                sights.emplace_back(piece->top, reading.began_us);
                break;
        }
    }
    return {Outcome::kWait, ""};
}

Verdict Resumed(const Well& before, const Well& after) {
    const Well settled = Settled(before);
    for (size_t cell = 0; cell < settled.block.size(); ++cell) {
        if (settled.block[cell] && !after.block[cell]) {
            return Say(Outcome::kFail, "a settled block is gone (column %d, row %d)",
                       static_cast<int>(cell % kWellColumns),
                       static_cast<int>(cell / kWellColumns));
        }
    }
    // The piece goes on falling, whole or coming into view, or lands: it
    // never shows fewer blocks (no row is full in so few pieces). Between
    // two pieces there may be none in view at either moment.
    const int count = after.Count();
    if (count < before.Count() || count == 0) {
        return Say(Outcome::kFail, "%d blocks, %d before: its piece is gone", count,
                   before.Count());
    }
    if (count == static_cast<int>(after.block.size())) {
        return Say(Outcome::kFail, "every cell of the well shows a block");
    }
    return Say(Outcome::kPass, "%d settled blocks where they were, and its piece", settled.Count());
}

}  // namespace korvane::screen
