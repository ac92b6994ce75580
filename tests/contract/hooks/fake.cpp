// The headless backend loses its surfaces as Windows does, when told.
#include "platform/fake/fake_display.h"
#include "tests/contract/contract_fixture.h"

namespace korvane::contract {

bool TakeScreenAway() {
    fake::SwitchAway();
    return true;
}

void GiveScreenBack() {
    fake::SwitchBack();
}

}  // namespace korvane::contract
