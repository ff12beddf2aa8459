// The Windows side of regular_file: only plain files on a disk are read.
// A folder, a device name ("CON", "NUL", "COM1"), a pipe or a link (a
// reparse point) in place of a data file is refused (errno EINVAL), like a
// FIFO on Linux.
#include "regular_file.h"
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <cerrno>
#include <cstring>
#include <string>
#include "win_text.h"

int openRegularFile(const char* path) {
    std::wstring wide;
    if (!path || !utf8ToWide(path, wide) || wide.empty()) {
        errno = ENOENT;
        return -1;
    }
    // Backup semantics let a folder open too, so that it is refused as not a
    // file rather than reported as unreadable; a reparse point is opened
    // itself, not what it points at. Not inherited by children.
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno = errnoFromWindowsError(GetLastError());
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT))) {
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

bool readRegularFile(const char* path, DynArray<char>& bytes, int maxBytes) {
    int fd = openRegularFile(path);
    if (fd < 0) return false;
    // The size is only a hint (the file may change while it is read): it
    // refuses a file that is too large at once, and the limit is checked
    // again against what is actually read.
    LARGE_INTEGER size;
    if (!GetFileSizeEx((HANDLE)_get_osfhandle(fd), &size)) size.QuadPart = 0;
    if (size.QuadPart > maxBytes) {
        _close(fd);
        errno = EFBIG;
        return false;
    }
    bytes.reserve(bytes.num + (int)size.QuadPart);
    char chunk[4096];
    int error = 0;
    for (;;) {
        int n = _read(fd, chunk, sizeof chunk);
        if (n < 0) error = errno;
        if (n <= 0) break;
        if ((int64_t)bytes.num + n > maxBytes) {
            error = EFBIG;
            break;
        }
        bytes.append(n, chunk);
    }
    _close(fd);
    errno = error;
    return error == 0;
}
