#pragma once
// The keyboard scan codes the game tests: the seam numbers them, so the keys
// the game reads and the keys the backends set are one list.
#include "platform/scan_codes.h"
