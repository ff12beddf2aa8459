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

bool readRecordedRunOption(int argc, const char* const* argv, RecordedRunOption* out, FixedString<64>* error) {
    static const struct {
        const char* name;
        RecordedRunMode mode;
    } options[] = {{"-record", RunRecord}, {"-replay", RunReplay}, {"-verify", RunVerify}};
    *out = {RunPlay, nullptr};
    for (int i = 1; i < argc; i++)
        for (const auto& o : options) {
            if (strcmp(argv[i], o.name) != 0) continue;
            if (i + 1 >= argc || argv[i + 1][0] == 0) {
                error->format("%s needs a file name", o.name);
                return false;
            }
            *out = {o.mode, argv[++i]};
            break;
        }
    return true;
}
