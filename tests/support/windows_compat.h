// windows_compat: the few POSIX calls the shared tests make, for their
// Windows build (force-included there by tests/CMakeLists.txt), and
// SKIP_ON_WINDOWS for the cases that have no meaning there. Temporary
// folders are made where the template says; under Wine "/tmp/..." is the
// host's /tmp on drive Z:. Calls Windows lacks (FIFOs, links, locks,
// fork) fail with ENOSYS; the cases that need them skip first.
#pragma once
#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <sys/stat.h>
#include <csignal>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#define SKIP_ON_WINDOWS(why) GTEST_SKIP() << "no meaning on Windows: " << why
constexpr bool onWindows = true;

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
inline int unsupported() {
    errno = ENOSYS;
    return -1;
}
inline int mkfifo(const char*, unsigned) { return unsupported(); }
inline int symlink(const char*, const char*) { return unsupported(); }
inline int link(const char*, const char*) { return unsupported(); }
inline int fork() { return unsupported(); }
enum { LOCK_SH = 1, LOCK_EX = 2, LOCK_NB = 4, LOCK_UN = 8 };
inline int flock(int, int) { return unsupported(); }
inline int lstat(const char* path, struct stat* st) { return stat(path, st); }
#define S_ISLNK(mode) false
#define SIGXFSZ SIGTERM
#else
#define SKIP_ON_WINDOWS(why) static_cast<void>(0)
constexpr bool onWindows = false;
#endif
