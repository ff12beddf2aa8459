// Windows builds of the tests: the names the shared tests use, for cases
// that skip before calling them (windows_compat.h).
#pragma once
#define WIFEXITED(status) ((status) >= 0)
#define WEXITSTATUS(status) (status)
inline int waitpid(int, int*, int) { return -1; }
