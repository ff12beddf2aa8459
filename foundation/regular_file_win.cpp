// The Windows side of regular_file: only plain files on a disk are read.
// A folder, a device name ("CON", "NUL", "COM1") or a pipe in place of a
// data file is refused (errno EINVAL), like a FIFO on Linux.
#include "regular_file.h"
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <cerrno>
#include <string>
#include "win_text.h"

int openRegularFile(const char* path) {
    std::wstring wide;
    if (!path || !utf8ToWide(path, wide) || wide.empty()) {
        errno = ENOENT;
        return -1;
    }
    // Backup semantics let a folder open too, so that it is refused as not a
    // file rather than reported as unreadable. Not inherited by children.
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno = errnoFromWindowsError(GetLastError());
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))) {
        CloseHandle(h);
        errno = EINVAL;
        return -1;
    }
    int fd = _open_osfhandle((intptr_t)h, _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        errno = EMFILE;
        return -1;
    }
    return fd;
}

FILE* openRegularFileStream(const char* path) {
    int fd = openRegularFile(path);
    if (fd < 0) return nullptr;
    FILE* f = _fdopen(fd, "rb");
    if (!f) _close(fd);
    return f;
}

int64_t regularFileSize(FILE* f) {
    if (!f) return -1;
    HANDLE h = (HANDLE)_get_osfhandle(_fileno(f));
    LARGE_INTEGER size;
    if (h == INVALID_HANDLE_VALUE || !GetFileSizeEx(h, &size)) return -1;
    return (int64_t)size.QuadPart;
}

bool readRegularFile(const char* path, DynArray<char>& bytes, int maxBytes) {
    int fd = openRegularFile(path);
    if (fd < 0) return false;
    // The size is only a hint; the limit is checked against what is read.
    char chunk[4096];
    bool ok = true;
    for (;;) {
        int n = _read(fd, chunk, sizeof chunk);
        if (n < 0) ok = false;
        if (n <= 0) break;
        if ((int64_t)bytes.num + n > maxBytes) {
            ok = false;
            break;
        }
        bytes.append(n, chunk);
    }
    _close(fd);
    return ok;
}
