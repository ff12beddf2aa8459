// The Windows side of user_folders: screenshots in "shots" beside the
// program, or, for an installed program, in ZENTREL in the player's Pictures
// folder; the log in %LOCALAPPDATA%\ZENTREL. Folders come from
// SHGetKnownFolderPath; text is UTF-8 here and UTF-16 at each Windows call.
#include "user_folders.h"
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "qz_utils.h"
#include "win_text.h"

const char* const installMarkerName = "installed";

static bool fits(int n, int outSize) { return n > 0 && n < outSize; }

// The attributes of path, or INVALID_FILE_ATTRIBUTES with errno set.
static DWORD attributesOf(const char* path) {
    std::wstring wide;
    if (!utf8ToWide(path, wide) || wide.empty()) {
        errno = EINVAL;
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD a = GetFileAttributesW(wide.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) errno = errnoFromWindowsError(GetLastError());
    return a;
}

bool programInstalled() {
    char marker[QZ_MAX_PATH];
    if (!appPath[0] || snprintf(marker, sizeof marker, "%s%s", appPath, installMarkerName) >= (int)sizeof marker)
        return false;
    DWORD a = attributesOf(marker);
    return a != INVALID_FILE_ATTRIBUTES && !(a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

// The length of the part of path that names a drive or share root
// ("C:/", "//server/share/", "/"), which is never made.
static size_t rootLength(const char* path) {
    if (path[0] && path[1] == ':') return (path[2] == '/' || path[2] == '\\') ? 3 : 2;
    if ((path[0] == '/' || path[0] == '\\') && (path[1] == '/' || path[1] == '\\')) {
        // "//server/share/"
        const char* p = path + 2;
        for (int parts = 0; parts < 2 && *p; parts++) {
            while (*p && *p != '/' && *p != '\\') p++;
            if (*p) p++;
        }
        return (size_t)(p - path);
    }
    return (path[0] == '/' || path[0] == '\\') ? 1 : 0;
}

static bool makeOneFolder(const char* dir) {
    std::wstring wide;
    if (!utf8ToWide(dir, wide)) {
        errno = EINVAL;
        return false;
    }
    if (CreateDirectoryW(wide.c_str(), nullptr)) return true;
    DWORD e = GetLastError();
    if (e == ERROR_ALREADY_EXISTS) return true;
    errno = errnoFromWindowsError(e);
    return false;
}

// The mode has no meaning here: a new folder inherits its parent's access rules.
bool makeFolderPath(const char* path, unsigned) {
    char dir[QZ_MAX_PATH];
    if (!path[0] || snprintf(dir, sizeof dir, "%s", path) >= (int)sizeof dir) return false;
    for (char* p = dir + rootLength(dir); *p; p++) {
        if (*p != '/' && *p != '\\') continue;
        char sep = *p;
        *p = 0;
        if (dir[0] && !makeOneFolder(dir)) return false;
        *p = sep;
    }
    size_t n = strlen(dir);
    if (n > rootLength(dir) && !makeOneFolder(dir)) return false;
    DWORD a = attributesOf(dir);
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) return true;
    errno = ENOTDIR;
    return false;
}

// Kept for the programs' common code; the XDG variables mean nothing to
// Windows itself.
bool xdgBaseFolder(char* out, int outSize, const char* envName, const char* homeRelative) {
    const char* xdg = getenv(envName);
    if (xdg && (xdg[0] == '/' || (xdg[0] && xdg[1] == ':'))) return fits(snprintf(out, (size_t)outSize, "%s", xdg), outSize);
    const char* home = getenv("HOME");
    if (!home || !home[0]) return false;
    return fits(snprintf(out, (size_t)outSize, "%s/%s", home, homeRelative), outSize);
}

// A known folder of the current user as UTF-8 with "/".
static bool knownFolder(REFKNOWNFOLDERID id, char* out, int outSize) {
    PWSTR wide = nullptr;
    HRESULT hr = SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &wide);
    std::string path;
    bool ok = SUCCEEDED(hr) && widePathToUtf8(wide, path);
    CoTaskMemFree(wide);  // also when the call failed, as documented
    return ok && fits(snprintf(out, (size_t)outSize, "%s", path.c_str()), outSize);
}

bool stateFolder(char* out, int outSize) {
    char base[QZ_MAX_PATH];
    if (!knownFolder(FOLDERID_LocalAppData, base, sizeof base)) return false;
    return fits(snprintf(out, (size_t)outSize, "%s/ZENTREL", base), outSize);
}

bool makeStateFolder(char* out, int outSize) { return stateFolder(out, outSize) && makeFolderPath(out, 0700); }

bool picturesFolder(char* out, int outSize) { return knownFolder(FOLDERID_Pictures, out, outSize); }

// Known folders are absolute already.
bool usableFolder(const char* folder, char* absolute, int absoluteSize) {
    return makeFolderPath(folder, 0755) && fits(snprintf(absolute, (size_t)absoluteSize, "%s", folder), absoluteSize);
}
