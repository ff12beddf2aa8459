// qz_utils: fixed text buffers, assertions, the log, the fatal-error path,
// program paths and the high-resolution timer. Shared by both programs.
#pragma once
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

// MinGW builds use its own C99 printf (__USE_MINGW_ANSI_STDIO=1), so %zu
// and %lld are checked and printed as on Linux.
#ifdef __MINGW32__
#define QZ_PRINTF(f, a) __attribute__((format(gnu_printf, f, a)))
#else
#define QZ_PRINTF(f, a) __attribute__((format(printf, f, a)))
#endif

//---------------------------------------------------------------------------
// Log and fatal errors
//---------------------------------------------------------------------------

// One plain line on standard output, flushed at once.
void logMessage(const char* fmt, ...) QZ_PRINTF(1, 2);
// The same text without newline and without flushing.
void logText(const char* fmt, ...) QZ_PRINTF(1, 2);
void logTextV(const char* fmt, va_list args);

// Also writes the log, from now on, to the file name in folder (the
// programs pass their state folder, see user_folders.h), replacing the last
// run's with a new file. Where that cannot be written, or something other
// than a regular file has the name (a FIFO, a folder, a link), that is left
// alone and there is no log file, and no failure either; a null folder
// means no log file. Returns whether the file is open.
bool openLogFile(const char* folder, const char* name);

// Reports the message on standard error, in the log and in a message box,
// runs the program's shutdown sequence and exits with code 100. A fatal error
// raised while that shutdown runs exits with 100 straight away.
[[noreturn]] void fatalError(const char* fmt, ...) QZ_PRINTF(1, 2);

// Logs "ERROR: <text>" and shows the modal error box captioned
// "<title> - FATAL ERROR" (skipped when ZENTREL_NO_ERROR_BOX is set).
void showErrorBox(const char* text);

// Each program names itself and says how it shuts down; the fatal path uses both.
void setProgramTitle(const char* title);
void setShutdownSequence(void (*shutdown)());
// Runs the program's shutdown sequence once (later calls do nothing); used
// by an orderly quit from inside the program.
void runShutdownSequence();
// The platform layer supplies the actual message box.
void setErrorBoxHandler(void (*show)(const char* caption, const char* text));

// Stays active in every build. ASSERT_TEXT names the check with a text of
// its own where the expression's spelling is not what users and logs know.
#define ASSERT_TEXT(expr, text) \
    ((expr) ? (void)0 : fatalError("%s(%d): failed ASSERT(%s)", __FILE__, __LINE__, text))
#define ASSERT(expr) ASSERT_TEXT(expr, #expr)

//---------------------------------------------------------------------------
// FixedString: a zero-terminated text in exactly BS bytes
//---------------------------------------------------------------------------

template <int BS>
struct FixedString {
    char buf[BS];

    FixedString() { buf[0] = 0; }
    FixedString(const char* text) { assign(text); }

    // Copies l characters (the whole text when l < 0); null empties the buffer.
    void assign(const char* text, int l = -1) {
        if (!text) {
            buf[0] = 0;
            return;
        }
        if (l < 0) l = (int)strlen(text);
        ASSERT(l<BS);
        memcpy(buf, text, (size_t)l);
        buf[l] = 0;
    }

    // printf into the buffer; an overlong result is cut, never written past it.
    void format(const char* fmt, ...) QZ_PRINTF(2, 3) {
        va_list args;
        va_start(args, fmt);
        formatV(fmt, args);
        va_end(args);
    }
    void formatV(const char* fmt, va_list args) {
        buf[0] = 0;
        vsnprintf(buf, BS, fmt, args);
    }

    const char* c_str() const { return buf; }
    operator const char*() const { return buf; }
    int length() const { return (int)strlen(buf); }
    static constexpr int capacity() { return BS; }
};

//---------------------------------------------------------------------------
// Program folder and data files
//---------------------------------------------------------------------------

enum { QZ_MAX_PATH = 4096 };

// Folder of the program file with its trailing "/"; empty if unknown.
extern char appPath[QZ_MAX_PATH];
void initAppPath();

// Data files are opened through this so they are found beside the program
// whatever the current directory. Null gives appPath; "/..." is absolute;
// anything else is appended to appPath. The result is canonical when the
// file exists, else the joined text.
void resolveAppFile(char* out, const char* name);

//---------------------------------------------------------------------------
// Timer: 64-bit tick counts of a monotonic clock
//---------------------------------------------------------------------------

void timerInit();
int64_t timerNow();
int64_t timerFrequency();
int64_t ticksToMs(int64_t ticks);
int64_t ticksToUs(int64_t ticks);
int64_t msToTicks(int64_t ms);
float ticksToSeconds(int64_t ticks);
// Replaces the clock that timerNow reads (null restores the real one); lets
// tests drive timing code with a scripted clock.
void setTimerSource(int64_t (*now)());
