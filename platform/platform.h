#pragma once
// The one seam between the game and the machine it runs on. Subsystem code
// includes this (or one of the headers below) and never a host header; each
// backend (platform/fake headless, platform/sdl on the Linux desktop,
// platform/win32 on Windows, platform/web in the browser) defines every
// function declared here, and the choice of backend is made at link time.
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/input_device.h"
#include "platform/memory.h"
#include "platform/riff.h"
#include "platform/sound_device.h"
#include "platform/window.h"
