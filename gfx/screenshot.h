// screenshot: Print Screen. Saves the window's last presented frame, as
// shown on the desktop, as a 32-bit TGA.
#pragma once
#include <cstddef>
#include <ctime>

// Logs "screenshot..."; writes shots/shotYYYY_MM_DD_HH_MM_SS.tga (local
// time), or that file in the player's pictures folder when the game is
// installed (see screenshotPath), and logs where. A failed capture writes
// nothing. The folder is made when missing.
void takeScreenshot();

// The part of the last presented frame that lies on the desktop, rows top
// down, ARGB words; null when nothing is visible. Valid until the next
// capture or releaseWindowCapture.
const void* captureWindowPixels(int* width, int* height, int* pitch);
void releaseWindowCapture();

// "shots/shot%4u_%02u_%02u_%02u_%02u_%02u.tga", or "shots/shot.tga" without a time.
void screenshotFileName(char* out, size_t outSize, const struct tm* localTime);
