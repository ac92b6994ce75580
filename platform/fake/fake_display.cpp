#include "platform/display.h"
#include "platform/fake/fake_internal.h"

namespace korvane::fake::detail {
void ResetDisplay() {}
}  // namespace korvane::fake::detail
