#pragma once
// Whether a key moved or turned the falling piece, or gravity alone moved
// it, judged from screenshots taken while the key was held; and when the
// moment to tell was missed (the piece may have landed, or another come),
// so that the check is made again on a new piece rather than answered.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/screen/well.h"

namespace korvane::screen {

enum class Check { kFall, kDown, kTurn, kLeft, kRight };
// "fall", "down", "turn", "left", "right".
bool ParseCheck(std::string_view name, Check* check);

// The most rows gravity alone can have moved a piece between a picture taken
// at or after `from_us` and one taken at or before `to_us` (microseconds):
// one step every gravity interval at most, one more for a step already under
// way at `from_us`, and one for the step that picture may have come just
// before.
int RowsByGravity(int64_t from_us, int64_t to_us);

struct Reading {
    Well well;
    bool readable = true;  // false when its picture could not be read
    int64_t began_us = 0;  // the picture was taken between these moments
    int64_t ended_us = 0;
    // The key went down again right before this picture, after being let go
    // while the pictures before it were read.
    bool pressed_again = false;
};

enum class Outcome { kPass, kFail, kLost, kWait };
const char* OutcomeName(Outcome outcome);

struct Verdict {
    Outcome outcome = Outcome::kWait;
    std::string why;  // what was seen, for the report
};

// `known` is the well when the piece was last looked at (fresh, or at the
// end of the check before); readings[0] the look right before the key went
// down, the piece's `before`; the rest the pictures taken while it was held,
// in order. The same readings always give the same verdict, so a driver may
// ask again with more of them until the answer is not kWait.
Verdict Judge(Check check, const Well& known, const std::vector<Reading>& readings);

// After leaving a game and coming back into it: the settled blocks of
// `before` are all where they were, and its piece too (no fewer blocks).
Verdict Resumed(const Well& before, const Well& after);

}  // namespace korvane::screen
