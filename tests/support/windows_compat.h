// windows_compat: the few POSIX calls the shared tests make, for their
// Windows build (force-included there by tests/CMakeLists.txt). Temporary
// folders are made where the template says; under Wine "/tmp/..." is the
// host's /tmp on drive Z:.
#pragma once
#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <cstdlib>
#include <cstring>

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && getenv(name)) return 0;
    return _putenv_s(name, value);
}
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
inline int mkdir(const char* path, unsigned) { return _mkdir(path); }
inline char* mkdtemp(char* pattern) {
    if (_mktemp_s(pattern, strlen(pattern) + 1) != 0 || _mkdir(pattern) != 0) return nullptr;
    return pattern;
}
#endif
