#include "user_folders.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include "qz_utils.h"
#include "regular_file.h"

const char* const installMarkerName = "installed";

// Never found by trying to write beside the program: root can write anywhere.
bool programInstalled() {
    char marker[QZ_MAX_PATH];
    if (snprintf(marker, sizeof marker, "%s%s", appPath, installMarkerName) >= (int)sizeof marker) return false;
    struct stat st;
    return appPath[0] && stat(marker, &st) == 0 && S_ISREG(st.st_mode);
}

static bool isFolder(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeFolderPath(const char* path, unsigned mode) {
    char dir[QZ_MAX_PATH];
    if (!path[0] || snprintf(dir, sizeof dir, "%s", path) >= (int)sizeof dir) return false;
    for (char* p = dir + 1; *p; p++) {
        if (*p != '/') continue;
        *p = 0;
        if (mkdir(dir, mode) != 0 && errno != EEXIST) return false;
        *p = '/';
    }
    if (mkdir(dir, mode) != 0 && errno != EEXIST) return false;
    if (isFolder(dir)) return true;
    errno = ENOTDIR;
    return false;
}

static bool fits(int n, int outSize) { return n > 0 && n < outSize; }

bool xdgBaseFolder(char* out, int outSize, const char* envName, const char* homeRelative) {
    // The XDG scheme ignores relative paths in these variables.
    const char* xdg = getenv(envName);
    if (xdg && xdg[0] == '/') return fits(snprintf(out, (size_t)outSize, "%s", xdg), outSize);
    const char* home = getenv("HOME");
    if (!home || !home[0]) return false;
    return fits(snprintf(out, (size_t)outSize, "%s/%s", home, homeRelative), outSize);
}

bool stateFolder(char* out, int outSize) {
    char base[QZ_MAX_PATH];
    if (!xdgBaseFolder(base, sizeof base, "XDG_STATE_HOME", ".local/state")) return false;
    return fits(snprintf(out, (size_t)outSize, "%s/zentrel", base), outSize);
}

bool makeStateFolder(char* out, int outSize) { return stateFolder(out, outSize) && makeFolderPath(out, 0700); }

// The value of one line XDG_PICTURES_DIR="..." of user-dirs.dirs: "$HOME/..."
// or an absolute path, with backslash escapes. False for any other line.
static bool parsePicturesLine(const char* line, const char* home, char* out, int outSize) {
    static const char key[] = "XDG_PICTURES_DIR=\"";
    while (*line == ' ' || *line == '\t') line++;
    if (strncmp(line, key, sizeof key - 1) != 0) return false;
    const char* v = line + sizeof key - 1;
    int n = 0;
    if (strncmp(v, "$HOME", 5) == 0 && (v[5] == '/' || v[5] == '"')) {
        if (!home || !home[0]) return false;
        n = snprintf(out, (size_t)outSize, "%s", home);
        if (!fits(n, outSize)) return false;
        v += 5;
    } else if (v[0] != '/') {
        return false;
    }
    for (; *v && *v != '"' && *v != '\n'; v++) {
        if (*v == '\\' && v[1] && v[1] != '\n') v++;
        if (n + 1 >= outSize) return false;
        out[n++] = *v;
    }
    out[n] = 0;
    return *v == '"' && n > 0;
}

bool picturesFolder(char* out, int outSize) {
    const char* home = getenv("HOME");
    char config[QZ_MAX_PATH], dirsFile[QZ_MAX_PATH];
    if (xdgBaseFolder(config, sizeof config, "XDG_CONFIG_HOME", ".config") &&
        fits(snprintf(dirsFile, sizeof dirsFile, "%s/user-dirs.dirs", config), (int)sizeof dirsFile)) {
        // A real user-dirs.dirs is a few hundred bytes.
        DynArray<char> text;
        if (readRegularFile(dirsFile, text, 65536)) {
            char end = 0;
            text.push(end);
            for (const char* line = text.data; line; line = strchr(line, '\n'), line = line ? line + 1 : nullptr)
                if (parsePicturesLine(line, home, out, outSize)) return true;
        }
    }
    if (!home || !home[0]) return false;
    return fits(snprintf(out, (size_t)outSize, "%s/Pictures", home), outSize);
}

bool usableFolder(const char* folder, char* absolute, int absoluteSize) {
    char real[QZ_MAX_PATH];
    if (!makeFolderPath(folder, 0755) || access(folder, W_OK) != 0) return false;
    if (folder[0] == '/') return fits(snprintf(absolute, (size_t)absoluteSize, "%s", folder), absoluteSize);
    return realpath(folder, real) && fits(snprintf(absolute, (size_t)absoluteSize, "%s", real), absoluteSize);
}
