#pragma once
// The whole program's state, back to what it is when the process starts.

namespace korvane {

// Every subsystem's variables as at program start: screen Starting, no
// pictures, sounds, surfaces, devices, board or pieces, fresh counters and
// ticks, the millisecond timer as the clock. Releases nothing: it is for
// after ShutDown (or before the first StartUp), so that a test or a replay
// can run the program again in the same process.
void ResetProgramState();

}  // namespace korvane
