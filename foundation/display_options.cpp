#include "display_options.h"

bool optFullscreen = false;
bool optAntiAlias = false;
bool optVSync = true;
bool optFastVoxels = false;
int32_t optWidth = 0, optHeight = 0;
bool isFullscreen = false;

WindowRect centredClientRect(const WindowRect& work, int32_t width, int32_t height) {
    WindowRect r;
    r.left = work.left + (work.right - work.left - width) / 2;
    r.top = work.top + (work.bottom - work.top - height) / 2;
    r.right = r.left + width;
    r.bottom = r.top + height;
    return r;
}
