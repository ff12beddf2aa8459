#include "options.h"
#include <cstring>
#include "settings.h"

void readSettings(int argc, const char* const* argv) {
    DisplayFlags f = readDisplayFlags();
    optFullscreen = f.fullscreen;
    optAntiAlias = f.antiAlias;
    optVSync = f.vSync;
    optFastVoxels = f.fastVoxels;
    optWidth = optHeight = 0;

    for (int i = 1; i < argc; i++) {
        const char* a = argv[i];
        if (!strcmp(a, "-720")) {
            optWidth = 1280;
            optHeight = 720;
        } else if (!strcmp(a, "-360")) {
            optWidth = 640;
            optHeight = 360;
        } else if (!strcmp(a, "-aa")) {
            optAntiAlias = true;
        } else if (!strcmp(a, "-noaa")) {
            optAntiAlias = false;
        } else if (!strcmp(a, "-vs")) {
            optVSync = true;
        } else if (!strcmp(a, "-novs")) {
            optVSync = false;
        } else if (!strcmp(a, "-fullscr")) {
            optFullscreen = true;
        } else if (!strcmp(a, "-win")) {
            optFullscreen = false;
        }
    }
}
