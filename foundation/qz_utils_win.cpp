// The Windows side of qz_utils: the program folder, data file paths and
// the clock. Text is UTF-8 here and UTF-16 at each Windows call.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <string>
#include "qz_utils.h"
#include "user_folders.h"
#include "win_text.h"

void initAppPath() {
    appPath[0] = 0;
    // Paths may be up to 32767 characters on Windows; GetModuleFileNameW
    // says it cut one by filling the buffer exactly.
    static wchar_t exe[32768];
    DWORD n = GetModuleFileNameW(nullptr, exe, (DWORD)(sizeof exe / sizeof exe[0]));
    if (n == 0 || n >= sizeof exe / sizeof exe[0]) return;
    std::string path;
    if (!widePathToUtf8(exe, path)) return;
    size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash + 1 >= QZ_MAX_PATH) return;
    snprintf(appPath, sizeof appPath, "%.*s", (int)(slash + 1), path.c_str());
}

// "C:/...", "C:\...", "/..." (the current drive's root) and "\\server\..."
// name a place without the program folder.
static bool absolutePath(const char* name) {
    if (name[0] == '/' || name[0] == '\\') return true;
    bool letter = (name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z');
    return letter && name[1] == ':' && (name[2] == '/' || name[2] == '\\');
}

void resolveAppFile(char* out, const char* name) {
    char joined[QZ_MAX_PATH];
    if (!name) snprintf(joined, sizeof joined, "%s", appPath);
    else if (absolutePath(name)) snprintf(joined, sizeof joined, "%s", name);
    else snprintf(joined, sizeof joined, "%s%s", appPath, name);
    snprintf(out, QZ_MAX_PATH, "%s", joined);

    // The full path without "." and ".." when the file exists, "/" kept as
    // the separator and a folder's trailing "/" kept, as on Linux.
    std::wstring wide;
    if (!utf8ToWide(joined, wide) || wide.empty() || GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return;
    std::wstring full((size_t)n, L'\0');
    n = GetFullPathNameW(wide.c_str(), n, &full[0], nullptr);
    if (n == 0 || n >= full.size()) return;
    full.resize(n);
    std::string canonical;
    if (!widePathToUtf8(full.c_str(), canonical)) return;
    bool folder = joined[0] && joined[strlen(joined) - 1] == '/';
    if (folder && (canonical.empty() || canonical.back() != '/')) canonical += '/';
    if (canonical.size() < QZ_MAX_PATH) snprintf(out, QZ_MAX_PATH, "%s", canonical.c_str());
}

// The performance counter: the platform's own high-resolution clock.
int64_t clockFrequency() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);  // never fails on Windows XP and later
    return (int64_t)f.QuadPart;
}

int64_t clockNow() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return (int64_t)c.QuadPart;
}
