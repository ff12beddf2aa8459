// The Windows side of atomic_file: the temporary is made with
// CreateFileW(CREATE_NEW), flushed with FlushFileBuffers and moved into
// place with MoveFileExW. f.fd is a runtime descriptor in binary mode over
// the handle, so the log can wrap it in a FILE as on Linux.
//
// A write in progress is marked by its open handle, which shares reading
// and deleting (so it can be moved while open) but not writing; a stale
// temporary is one that can be opened alone, and is deleted on close.
// Links (reparse points) are never followed: one at the target is not a
// regular file, and is not replaced.
#include "atomic_file.h"
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include "win_text.h"

static bool fail(AtomicFile& f, const char* reason) {
    int e = errno;
    snprintf(f.reason, sizeof f.reason, "%s", reason);
    errno = e;
    return false;
}

// From a Windows error code: errno and reason set, the temporary removed.
static bool failWindows(AtomicFile& f, DWORD error) {
    int e = errnoFromWindowsError(error);
    fail(f, strerror(e));
    abortAtomicFile(f);
    errno = e;
    return false;
}

static bool wide(AtomicFile& f, const char* path, std::wstring& out) {
    if (utf8ToWide(path, out) && !out.empty()) return true;
    errno = EINVAL;
    fail(f, "the path is not valid UTF-8");
    abortAtomicFile(f);
    return false;
}

// True for NAME.XXXXXX.tmp, a temporary beginAtomicFile makes for NAME.
static bool isTemporaryOf(const char* entry, const char* base) {
    size_t n = strlen(base);
    if (_strnicmp(entry, base, n) != 0 || strlen(entry) != n + 11 || entry[n] != '.' || _stricmp(entry + n + 7, ".tmp") != 0)
        return false;
    for (int i = 1; i <= 6; i++)
        if (!isalnum((unsigned char)entry[n + i])) return false;
    return true;
}

static void removeStaleTemporaries(const char* target) {
    std::wstring pattern;
    if (!utf8ToWide((std::string(target) + ".*.tmp").c_str(), pattern)) return;
    const char* slash = strrchr(target, '/');
    std::string folder(target, slash ? (size_t)(slash - target) + 1 : 0);
    const char* base = slash ? slash + 1 : target;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name;
        std::wstring path;
        if (!wideToUtf8(found.cFileName, name) || !isTemporaryOf(name.c_str(), base) ||
            (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
            !utf8ToWide((folder + name).c_str(), path))
            continue;
        // Sharing nothing fails while a writer holds it open.
        HANDLE h = CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// Six letters or digits, different for each call in any process.
static void randomPart(char* out) {
    static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static LONG counter = 0;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    uint64_t x = (uint64_t)now.QuadPart * 0x9E3779B97F4A7C15ull ^ ((uint64_t)GetCurrentProcessId() << 32) ^
                 (uint64_t)InterlockedIncrement(&counter) * 0xBF58476D1CE4E5B9ull;
    for (int i = 0; i < 6; i++, x /= 36) out[i] = digits[x % 36];
    out[6] = 0;
}

bool beginAtomicFile(AtomicFile& f, const char* path, unsigned mode, int flags) {
    f.fd = -1;
    f.flags = flags;
    f.mode = mode;
    f.temporary[0] = f.reason[0] = 0;
    if (snprintf(f.path, sizeof f.path, "%s", path) >= (int)sizeof f.path) {
        errno = ENAMETOOLONG;
        return fail(f, strerror(errno));
    }
    removeStaleTemporaries(f.path);
    for (int attempt = 0; attempt < 100; attempt++) {
        char part[7];
        randomPart(part);
        if (snprintf(f.temporary, sizeof f.temporary, "%s.%s.tmp", f.path, part) >= (int)sizeof f.temporary) {
            f.temporary[0] = 0;
            errno = ENAMETOOLONG;
            return fail(f, strerror(errno));
        }
        std::wstring name;
        if (!wide(f, f.temporary, name)) return false;
        // CREATE_NEW never opens an existing file or link; the handle is
        // not inherited by programs this one starts.
        HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD e = GetLastError();
            f.temporary[0] = 0;
            if (e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS) continue;
            return failWindows(f, e);
        }
        f.fd = _open_osfhandle((intptr_t)h, _O_WRONLY | _O_BINARY);
        if (f.fd < 0) {
            CloseHandle(h);
            DeleteFileW(name.c_str());
            f.temporary[0] = 0;
            errno = EMFILE;
            return fail(f, strerror(errno));
        }
        return true;
    }
    return failWindows(f, ERROR_FILE_EXISTS);
}

bool writeAtomicFile(AtomicFile& f, const void* data, int64_t size) {
    if (f.fd < 0 || !f.temporary[0]) return fail(f, "no file is being written");
    HANDLE h = (HANDLE)_get_osfhandle(f.fd);
    const char* p = (const char*)data;
    while (size > 0) {
        DWORD n = 0;
        if (!WriteFile(h, p, (DWORD)(size < (1 << 30) ? size : (1 << 30)), &n, nullptr)) return failWindows(f, GetLastError());
        if (n == 0) return failWindows(f, ERROR_WRITE_FAULT);
        p += n;
        size -= n;
    }
    return true;
}

// Moves the flushed temporary to path; the temporary is then forgotten and,
// unless the caller keeps writing, closed.
static bool moveInto(AtomicFile& f, const char* path, DWORD moveFlags) {
    std::wstring from, to;
    if (!wide(f, f.temporary, from) || !wide(f, path, to)) return false;
    if (!FlushFileBuffers((HANDLE)_get_osfhandle(f.fd))) return failWindows(f, GetLastError());
    if (!MoveFileExW(from.c_str(), to.c_str(), moveFlags | MOVEFILE_WRITE_THROUGH)) {
        DWORD e = GetLastError();
        if (e == ERROR_ALREADY_EXISTS || e == ERROR_FILE_EXISTS) {
            errno = EEXIST;
            return fail(f, "the file exists");
        }
        return failWindows(f, e);
    }
    f.temporary[0] = 0;
    if (!(f.flags & AtomicKeepOpen)) {
        _close(f.fd);
        f.fd = -1;
    }
    return true;
}

bool commitAtomicFile(AtomicFile& f) {
    if (f.fd < 0 || !f.temporary[0]) return fail(f, "no file is being written");
    std::wstring target;
    if (!wide(f, f.path, target)) return false;
    DWORD a = GetFileAttributesW(target.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) {
        DWORD e = GetLastError();
        if (e != ERROR_FILE_NOT_FOUND && e != ERROR_PATH_NOT_FOUND) return failWindows(f, e);
    } else if (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)) {
        abortAtomicFile(f);
        errno = EINVAL;
        return fail(f, "not a regular file");
    }
    return moveInto(f, f.path, MOVEFILE_REPLACE_EXISTING);
}

bool commitNewAtomicFile(AtomicFile& f, const char* path) {
    if (f.fd < 0 || !f.temporary[0]) return fail(f, "no file is being written");
    return moveInto(f, path, 0);
}

void abortAtomicFile(AtomicFile& f) {
    if (f.fd >= 0) _close(f.fd);
    f.fd = -1;
    std::wstring name;
    if (f.temporary[0] && utf8ToWide(f.temporary, name)) DeleteFileW(name.c_str());
    f.temporary[0] = 0;
}

bool atomicFileTarget(const char* path, char* reason, int reasonSize) {
    std::wstring target;
    const char* why = nullptr;
    if (!utf8ToWide(path, target) || target.empty()) {
        why = "the path is not valid UTF-8";
    } else {
        DWORD a = GetFileAttributesW(target.c_str());
        std::wstring folder = target.substr(0, target.find_last_of(L"/\\") + 1);
        DWORD f = GetFileAttributesW(folder.empty() ? L"." : folder.c_str());
        if (a != INVALID_FILE_ATTRIBUTES && (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)))
            why = "not a regular file";
        else if (f == INVALID_FILE_ATTRIBUTES || !(f & FILE_ATTRIBUTE_DIRECTORY))
            why = strerror(ENOENT);
    }
    if (why && reason) snprintf(reason, (size_t)reasonSize, "%s", why);
    return !why;
}
