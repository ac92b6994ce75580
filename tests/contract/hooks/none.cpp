// A backend whose surfaces live in the game's own memory: nothing can take them.
#include "tests/contract/contract_fixture.h"

namespace korvane::contract {

bool TakeScreenAway() {
    return false;
}

void GiveScreenBack() {}

}  // namespace korvane::contract
