// screenshot: Print Screen. Saves the next presented frame, as shown on the
// desktop, as a 32-bit TGA: the key marks a capture pending, and
// presentFrame reads the back buffer just before its swap (afterwards its
// contents are undefined). Copying every frame for a rarely pressed key
// would cost a full-screen pass.
#pragma once
#include <cstddef>
#include <ctime>

// Logs "screenshot..." and marks a capture pending. The next presentFrame
// writes shots/shotYYYY_MM_DD_HH_MM_SS.tga (local time), or that file in the
// player's pictures folder when the game is installed (see screenshotPath),
// and logs where. A name already taken (a second shot in the same second)
// gets "_2", "_3", … before ".tga": no shot replaces another. A failed
// capture or write leaves no file. The folder is made when missing.
void takeScreenshot();

// The part of the back buffer that lies on the desktop, rows top down, ARGB
// words; null when nothing is visible. Valid until the next capture or
// releaseWindowCapture. Read before the swap.
const void* captureWindowPixels(int* width, int* height, int* pitch);
void releaseWindowCapture();

// "shots/shot%4u_%02u_%02u_%02u_%02u_%02u.tga", or "shots/shot.tga" without a time.
void screenshotFileName(char* out, size_t outSize, const struct tm* localTime);
