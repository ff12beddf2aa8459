#include "qz_utils.h"
#include <climits>
#include <cstdlib>
#include <ctime>
#include <unistd.h>
#include "atomic_file.h"

//---------------------------------------------------------------------------
// Log
//---------------------------------------------------------------------------

// The copy a player can attach to a bug report; null when there is none.
static FILE* logFile = nullptr;

bool openLogFile(const char* folder, const char* name) {
    char path[QZ_MAX_PATH];
    if (logFile || !folder || snprintf(path, sizeof path, "%s/%s", folder, name) >= (int)sizeof path)
        return logFile != nullptr;
    // Opening the old name for writing would block on a FIFO and truncate
    // whatever a link points at. The descriptor is close-on-exec: the game
    // the launcher starts must not inherit it.
    AtomicFile f;
    if (!beginAtomicFile(f, path, 0644, AtomicKeepOpen) || !commitAtomicFile(f)) {
        abortAtomicFile(f);
        return false;
    }
    logFile = fdopen(f.fd, "wb");  // binary: Windows would add "\r"
    if (!logFile) close(f.fd);
    return logFile != nullptr;
}

void logTextV(const char* fmt, va_list args) {
    if (logFile) {
        va_list copy;
        va_copy(copy, args);
        vfprintf(logFile, fmt, copy);
        va_end(copy);
    }
    vfprintf(stdout, fmt, args);
}

void logText(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    logTextV(fmt, args);
    va_end(args);
}

void logMessage(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    logTextV(fmt, args);
    va_end(args);
    fputs("\n", stdout);
    fflush(stdout);
    if (logFile) {
        fputs("\n", logFile);
        fflush(logFile);
    }
}

//---------------------------------------------------------------------------
// Fatal errors
//---------------------------------------------------------------------------

static FixedString<256> titleText("ZENTREL");
static void (*shutdownSequence)() = nullptr;
static void (*errorBoxHandler)(const char*, const char*) = nullptr;
static bool inFatalError = false;

void setProgramTitle(const char* title) { titleText.assign(title); }
void setShutdownSequence(void (*shutdown)()) { shutdownSequence = shutdown; }
void setErrorBoxHandler(void (*show)(const char*, const char*)) { errorBoxHandler = show; }

void runShutdownSequence() {
    static bool done = false;
    if (done || !shutdownSequence) return;
    done = true;
    shutdownSequence();
}

void showErrorBox(const char* text) {
    logMessage("ERROR: %s", text);
    FixedString<256> caption;
    caption.format("%s - FATAL ERROR", titleText.c_str());
    // Automated runs set ZENTREL_NO_ERROR_BOX so that nothing waits on a dialog.
    if (errorBoxHandler && !getenv("ZENTREL_NO_ERROR_BOX")) errorBoxHandler(caption, text);
}

static void reportOnStderr(const char* fmt, va_list args) {
    fputs("\n\n", stderr);
    vfprintf(stderr, fmt, args);
    fputs("\n", stderr);
    fflush(stdout);
    fflush(stderr);
}

void fatalError(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    reportOnStderr(fmt, args);
    va_end(args);
    // A second failure while shutting down after the first leaves at once
    // rather than run the shutdown again.
    if (inFatalError) _exit(100);
    inFatalError = true;

    static char text[4096];
    va_start(args, fmt);
    vsnprintf(text, sizeof text, fmt, args);
    va_end(args);

    showErrorBox(text);
    runShutdownSequence();
    fflush(stdout);
    exit(100);
}

//---------------------------------------------------------------------------
// Program folder
//---------------------------------------------------------------------------

char appPath[QZ_MAX_PATH];

// Windows: initAppPath and resolveAppFile are in qz_utils_win.cpp.
#ifndef _WIN32
void initAppPath() {
    appPath[0] = 0;
    char exe[QZ_MAX_PATH];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return;
    exe[n] = 0;
    char* slash = strrchr(exe, '/');
    if (!slash) return;
    slash[1] = 0;
    snprintf(appPath, sizeof appPath, "%s", exe);
}

void resolveAppFile(char* out, const char* name) {
    char joined[QZ_MAX_PATH];
    if (!name) snprintf(joined, sizeof joined, "%s", appPath);
    else if (name[0] == '/') snprintf(joined, sizeof joined, "%s", name);
    else snprintf(joined, sizeof joined, "%s%s", appPath, name);

    char canonical[PATH_MAX];
    if (realpath(joined, canonical)) {
        size_t n = strlen(canonical);
        // realpath drops the trailing "/" of a folder; keep it for appPath.
        bool folder = joined[0] && joined[strlen(joined) - 1] == '/';
        if (folder && n + 1 < QZ_MAX_PATH && canonical[n - 1] != '/') {
            canonical[n] = '/';
            canonical[n + 1] = 0;
        }
        snprintf(out, QZ_MAX_PATH, "%s", canonical);
    } else {
        snprintf(out, QZ_MAX_PATH, "%s", joined);
    }
}
#endif

//---------------------------------------------------------------------------
// Timer
//---------------------------------------------------------------------------

#ifdef _WIN32
// qz_utils_win.cpp: QueryPerformanceFrequency and QueryPerformanceCounter.
int64_t clockFrequency();
int64_t clockNow();
#else
static int64_t clockFrequency() { return 1000000000; }
static int64_t clockNow() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (int64_t)ts.tv_sec * 1000000000 + ts.tv_nsec;
}
#endif

static int64_t frequency = clockFrequency();
static double frequencyRecip = 1.0 / (double)frequency;

void timerInit() {
    frequency = clockFrequency();
    frequencyRecip = 1.0 / (double)frequency;
}

static int64_t (*timerSource)() = nullptr;

void setTimerSource(int64_t (*now)()) { timerSource = now; }

int64_t timerNow() {
    if (timerSource) return timerSource();
    return clockNow();
}

int64_t timerFrequency() { return frequency; }
// Multiply first, then divide, so short intervals keep full precision; the
// 128-bit product keeps long uptimes (ns ticks x 1e6) from overflowing.
static int64_t mulDiv(int64_t a, int64_t b, int64_t c) { return (int64_t)((__int128)a * b / c); }
int64_t ticksToMs(int64_t ticks) { return mulDiv(ticks, 1000, frequency); }
int64_t ticksToUs(int64_t ticks) { return mulDiv(ticks, 1000000, frequency); }
int64_t msToTicks(int64_t ms) { return mulDiv(ms, frequency, 1000); }
float ticksToSeconds(int64_t ticks) { return (float)((double)ticks * frequencyRecip); }
