#pragma once
// A backend that draws in memory and shows the picture itself (the desktop's
// window, the page's canvas). The seam's display, surface, text, keyboard and
// window-queue calls are written once over memory surfaces
// (memory_display.cpp, memory_text.cpp, snapshot_input.cpp,
// posted_messages.cpp); each such backend supplies only the functions below,
// chosen at link time like the seam itself.
#include <cstdint>
#include <memory>

#include "platform/common/memory_surface.h"
#include "platform/window.h"

namespace korvane::platform {

class SizedFace;
struct HostFace;  // a face of the host's own fonts; defined by the backend

// The primary surface while there is one, for a backend that must show it
// again on its own (a window uncovered or resized); null when there is none.
const Surface* ShownPrimary();

namespace backend {

// ---- The screen -------------------------------------------------------------------
// Gets hold of the screen (DisplayOpen).
bool OpenScreen();
// Whether the open screen can show a picture drawn in memory (DisplayCheckFeatures).
bool ScreenFits();
// Makes the screen the game's, whole (DisplayTakeScreen).
bool TakeScreen();
// Makes ready to show a picture of `width` x `height` 16-bit 5-6-5 pixels;
// the size and depth were checked by then.
bool SizeScreen(uint32_t width, uint32_t height);
void CloseScreen();
// Shows `area` of the primary surface at once: a lock ended, a fill, a strip
// copied onto it. `area` lies inside the surface.
void ShowArea(const Surface& primary, const Rect& area);
// Shows the primary surface after a flip; its back buffer holds what was
// shown until the flip, so only what differs need be sent.
void ShowFlip(const Surface& primary);

// ---- The keyboard and mouse ------------------------------------------------------------
// Readies the host's keyboard (InputCreate); false when there is none.
bool StartInput();
void StopInput();
// Marks 0x80 in the 256-byte snapshot, which comes cleared, for every key
// held (game controllers' included), by scan code (platform/scan_codes.h).
void ReadKeyboard(uint8_t* snapshot);
// Writes the mouse's snapshot (kMouseStateBytes), which comes cleared.
void ReadMouse(uint8_t* snapshot);

// ---- Text -------------------------------------------------------------------------------
// The host's face closest to `name`, found once; null where the backend
// writes in the game's own lettering alone. The same name gives the same face.
const HostFace* FindHostFace(const char* name);
// `face` at `height` (negative: the character height) and `weight`; null
// when it cannot be opened.
std::unique_ptr<SizedFace> OpenHostFace(const HostFace& face, int32_t height, int32_t weight);

}  // namespace backend

// ---- The window's queue --------------------------------------------------------------------
// The messages the game posted itself come first, in order, before anything
// of the host's: the backend's WindowPeekMessage asks here first.
bool TakePostedMessage(WindowMessage* message);
// The handler WindowDispatch calls, set by the backend's WindowRegisterClass.
void SetWindowProcedure(WindowProcedure procedure);

}  // namespace korvane::platform
