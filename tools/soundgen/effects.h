#pragma once

#include <vector>

namespace korvane::soundgen {

// The three short effects, mono, before scaling to their final level.
std::vector<double> MakeThud();    // a row removed: a soft low thump under a bright chime
std::vector<double> MakeDrop();    // a piece comes to rest: a short wooden knock
std::vector<double> MakeRotate();  // a turn: a quick rising tick

}  // namespace korvane::soundgen
