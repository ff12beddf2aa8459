// Windows builds of the tests: no per-process resource limits; the cases
// that set one skip before calling setrlimit (windows_compat.h).
#pragma once
#include <windows.h>
#include <psapi.h>
typedef unsigned long long rlim_t;
struct rlimit {
    rlim_t rlim_cur, rlim_max;
};
enum { RLIMIT_FSIZE, RLIMIT_AS, RLIMIT_DATA };
inline int getrlimit(int, rlimit*) { return -1; }
inline int setrlimit(int, const rlimit*) { return -1; }
#define RUSAGE_SELF 0
struct rusage {
    long ru_maxrss;
};
// The peak working set, as Linux gives the peak resident size.
inline int getrusage(int, rusage* ru) {
    PROCESS_MEMORY_COUNTERS c;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c)) return -1;
    ru->ru_maxrss = (long)(c.PeakWorkingSetSize / 1024);
    return 0;
}
