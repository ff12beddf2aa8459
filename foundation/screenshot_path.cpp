// screenshot_path: where a screenshot goes, alike on every platform; the
// folders themselves come from the platform's user_folders.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include "qz_utils.h"
#include "user_folders.h"

static bool fits(int n, int outSize) { return n > 0 && n < outSize; }

bool screenshotPath(char* out, int outSize, const char* name) {
    const char* file = strrchr(name, '/');
    file = file ? file + 1 : name;
    char folder[QZ_MAX_PATH];
    if (!programInstalled()) {
        // Print Screen would otherwise do nothing on a fresh build.
        resolveAppFile(folder, "shots");
        if (!makeFolderPath(folder, 0755)) {
            logMessage("can't write screenshots into '%s': %s", folder, strerror(errno));
            return false;
        }
        return fits(snprintf(out, (size_t)outSize, "%s", name), outSize);
    }
    char pictures[QZ_MAX_PATH];
    if (!picturesFolder(pictures, sizeof pictures) ||
        !fits(snprintf(folder, sizeof folder, "%s/ZENTREL", pictures), (int)sizeof folder)) {
        logMessage("can't write screenshots: no pictures folder");
        return false;
    }
    char absolute[QZ_MAX_PATH];
    if (!usableFolder(folder, absolute, sizeof absolute)) {
        logMessage("can't write screenshots into '%s': %s", folder, strerror(errno));
        return false;
    }
    return fits(snprintf(out, (size_t)outSize, "%s/%s", absolute, file), outSize);
}
