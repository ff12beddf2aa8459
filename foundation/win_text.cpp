#include "win_text.h"
#include <windows.h>
#include <cerrno>

bool utf8ToWide(const char* text, std::wstring& out) {
    out.clear();
    if (!text || !text[0]) return text != nullptr;
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (n <= 0) return false;
    out.resize((size_t)n);
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, &out[0], n) != n) {
        out.clear();
        return false;
    }
    out.resize((size_t)n - 1);  // without the terminating zero
    return true;
}

bool wideToUtf8(const wchar_t* text, std::string& out) {
    out.clear();
    if (!text || !text[0]) return text != nullptr;
    int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return false;
    out.resize((size_t)n);
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, &out[0], n, nullptr, nullptr) != n) {
        out.clear();
        return false;
    }
    out.resize((size_t)n - 1);
    return true;
}

bool widePathToUtf8(const wchar_t* path, std::string& out) {
    if (!wideToUtf8(path, out)) return false;
    for (char& c : out)
        if (c == '\\') c = '/';
    return true;
}

int errnoFromWindowsError(unsigned long error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_PATHNAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_BAD_EXE_FORMAT:
        case ERROR_EXE_MACHINE_TYPE_MISMATCH:
            return ENOEXEC;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        default:
            return EINVAL;
    }
}
