// The window's promises: taking a message never waits, a quit comes off the
// queue carrying the exit code it was posted with, and only once.
#include <cstdint>

#include "tests/contract/contract_fixture.h"

namespace korvane::contract {
namespace {

// Takes messages as the game's loop does, dispatching all but a quit, until
// the queue is empty; answers how many quits came and the last one's code.
struct Taken {
    int quits = 0;
    uintptr_t exitCode = 0;
    int others = 0;
};
Taken DrainQueue() {
    Taken taken;
    platform::WindowMessage message;
    // A host may have a few messages of its own queued for a new window.
    for (int i = 0; i < 10'000 && platform::WindowPeekMessage(&message); ++i) {
        if (message.kind == platform::MessageKind::Quit) {
            ++taken.quits;
            taken.exitCode = message.parameter;
        } else {
            ++taken.others;
            platform::WindowDispatch(message);
        }
    }
    return taken;
}

TEST(WindowTest, AQuitComesOffTheQueueOnceWithItsExitCode) {
    MakeGameWindow();
    const Taken before = DrainQueue();
    EXPECT_EQ(before.quits, 0) << "nothing asked to quit yet";
    platform::WindowMessage message;
    EXPECT_FALSE(platform::WindowPeekMessage(&message)) << "an empty queue answers at once";

    platform::PostQuitMessage(7);
    const Taken after = DrainQueue();
    EXPECT_EQ(after.quits, 1);
    EXPECT_EQ(after.exitCode, 7U);
    EXPECT_FALSE(platform::WindowPeekMessage(&message)) << "the quit is gone once taken";
}

}  // namespace
}  // namespace korvane::contract
