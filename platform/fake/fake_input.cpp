#include "platform/fake/fake_internal.h"
#include "platform/input_device.h"

namespace korvane::fake::detail {
void ResetInputDevices() {}
}  // namespace korvane::fake::detail
