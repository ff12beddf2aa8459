// display_options: the game's display and quality options and the window's
// presentation mode, shared by the program, the device layer and the input
// layer. The game sets them from "flags" and the command line at start-up.
#pragma once
#include <cstdint>

extern bool optFullscreen;  // start as a full-screen window; default off
extern bool optAntiAlias;   // multisampled scene surfaces; default off
extern bool optVSync;       // present waits for one refresh; default on
extern bool optFastVoxels;  // level cubes drawn with their front face only; default off
// Requested client size (0 = not given); after the window exists, the
// actual client size.
extern int32_t optWidth, optHeight;
// The window is currently full screen; starts as optFullscreen, switched by
// the device layer.
extern bool isFullscreen;

// A rectangle on the desktop in window units; right and bottom are exclusive.
struct WindowRect {
    int32_t left, top, right, bottom;
};

// The client rectangle of a window of width x height centred on a work area
// (integer division, truncating).
WindowRect centredClientRect(const WindowRect& workArea, int32_t width, int32_t height);
