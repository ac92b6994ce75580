#pragma once
// Moving, turning and dropping the falling piece.
#include <cstdint>

namespace korvane {

inline constexpr uint32_t MoveLeft = 1;
inline constexpr uint32_t MoveRight = 2;
inline constexpr uint32_t MoveDown = 3;

// One step sideways or down. 0 while the piece is above row 21 or for an
// unknown direction; otherwise 1, whether or not the piece could move.
int MovePiece(uint32_t direction);

// A quarter turn counter-clockwise in place, with RotateSound. 1 when it
// turned; 0 while the piece is above row 21 or when the turn does not fit.
int RotatePiece();

// 1 when the piece rests on the floor or a settled block (DropSound started).
int TestContact();

// The timed fall: locks the piece and returns 0 when it rests on something,
// otherwise moves it down one row and returns 1.
int GravityStep();

}  // namespace korvane
