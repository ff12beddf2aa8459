// The Windows side of file_time: the last write time, kept in 100 ns units
// since 1601.
#include <windows.h>
#include <string>
#include "file_time.h"
#include "win_text.h"

int64_t fileModifiedTime(const char* path) {
    std::wstring wide;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !utf8ToWide(path, wide) || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return 0;
    int64_t ticks = (int64_t)data.ftLastWriteTime.dwHighDateTime << 32 | data.ftLastWriteTime.dwLowDateTime;
    // Counted from 1970: nanoseconds since 1601 overflow 64 bits.
    return (ticks - 116444736000000000LL) * 100;
}
