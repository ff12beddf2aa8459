#include "settings.h"
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include "atomic_file.h"
#include "qz_dynArray.h"
#include "qz_utils.h"
#include "regular_file.h"
#include "user_folders.h"

const char* const settingsKeyPath = "SOFTWARE\\Pelnaro Games\\ZENTREL";

// Windows: the store is the registry key itself (settings_win.cpp).
#ifndef _WIN32

static const char* const settingsFolder = "Pelnaro Games/ZENTREL";
static const int maxSettingsFileBytes = 1 << 20;

bool settingsFilePath(char* out, int outSize) {
    char config[QZ_MAX_PATH];
    if (!xdgBaseFolder(config, sizeof config, "XDG_CONFIG_HOME", ".config")) return false;
    int n = snprintf(out, (size_t)outSize, "%s/%s/settings", config, settingsFolder);
    return n > 0 && n < outSize;
}

//---------------------------------------------------------------------------
// File contents as lines
//---------------------------------------------------------------------------

// The whole file; false when absent, not a regular file (a FIFO would block
// the program for ever), too large or unreadable.
static bool readWholeFile(const char* path, DynArray<char>& text) {
    return readRegularFile(path, text, maxSettingsFileBytes);
}

// One line split as name=type:value; false for anything else.
struct ParsedLine {
    const char* name;
    int nameLen;
    const char* type;
    int typeLen;
    const char* value;
    int valueLen;
};

static bool parseLine(const char* line, int len, ParsedLine& p) {
    const char* eq = (const char*)memchr(line, '=', (size_t)len);
    if (!eq || eq == line) return false;
    const char* rest = eq + 1;
    int restLen = len - (int)(rest - line);
    const char* colon = (const char*)memchr(rest, ':', (size_t)restLen);
    if (!colon) return false;
    p.name = line;
    p.nameLen = (int)(eq - line);
    p.type = rest;
    p.typeLen = (int)(colon - rest);
    p.value = colon + 1;
    p.valueLen = len - (int)(p.value - line);
    return true;
}

static bool sameName(const ParsedLine& p, const char* name) {
    return (int)strlen(name) == p.nameLen && memcmp(p.name, name, (size_t)p.nameLen) == 0;
}

static bool typeIs(const ParsedLine& p, const char* type) {
    return (int)strlen(type) == p.typeLen && memcmp(p.type, type, (size_t)p.typeLen) == 0;
}

// A dword written as 0x and hex digits (or plain decimal) within 32 bits.
static bool parseDword(const char* s, int len, uint32_t* out) {
    if (len <= 0 || len > 20 || memchr(s, 0, (size_t)len)) return false;
    char buf[24];
    memcpy(buf, s, (size_t)len);
    buf[len] = 0;
    if (!(buf[0] >= '0' && buf[0] <= '9')) return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long v = strtoull(buf, &end, 0);
    if (errno || *end || v > 0xFFFFFFFFull) return false;
    *out = (uint32_t)v;
    return true;
}

// Calls fn(line, len, rawLen) for every line of the text: len without the
// line end, rawLen without the newline only. Zero bytes are ordinary
// characters, so a stray one never hides the lines after it.
template <typename Fn>
static void forEachLine(const char* text, int size, Fn fn) {
    const char* p = text;
    const char* end = text + size;
    while (p < end) {
        const char* nl = (const char*)memchr(p, '\n', (size_t)(end - p));
        int len = nl ? (int)(nl - p) : (int)(end - p);
        int trimmed = len;
        if (trimmed > 0 && p[trimmed - 1] == '\r') trimmed--;
        fn(p, trimmed, len);
        p += len + (nl ? 1 : 0);
    }
}

//---------------------------------------------------------------------------
// Store operations
//---------------------------------------------------------------------------

bool readSetting(const char* name, SettingType* type, void* data, int* size) {
    char path[QZ_MAX_PATH];
    if (!name || !settingsFilePath(path, sizeof path)) return false;
    DynArray<char> text;
    if (!readWholeFile(path, text)) return false;

    // The last well-formed line of the name counts, as a later edit would.
    bool found = false;
    SettingType foundType = SettingDword;
    uint32_t dword = 0;
    const char* str = nullptr;
    int strLen = 0;
    forEachLine(text.data, text.num, [&](const char* line, int len, int) {
        ParsedLine p;
        if (!parseLine(line, len, p) || !sameName(p, name)) return;
        if (typeIs(p, "dword")) {
            uint32_t v;
            if (!parseDword(p.value, p.valueLen, &v)) return;
            found = true;
            foundType = SettingDword;
            dword = v;
        } else if (typeIs(p, "sz")) {
            found = true;
            foundType = SettingString;
            str = p.value;
            strLen = p.valueLen;
        }
    });
    if (!found) return false;

    if (foundType == SettingDword) {
        if (*size < 4) return false;
        memcpy(data, &dword, 4);
        *size = 4;
    } else {
        if (*size < strLen + 1) return false;
        memcpy(data, str, (size_t)strLen);
        ((char*)data)[strLen] = 0;
        *size = strLen + 1;
    }
    *type = foundType;
    return true;
}

static char lastWriteError[256] = "";

const char* settingsLastError() { return lastWriteError; }

// Records why a write failed and returns false, for the callers' messages.
static bool failWrite(const char* reason) {
    snprintf(lastWriteError, sizeof lastWriteError, "%s", reason);
    return false;
}

static bool failWriteErrno() { return failWrite(strerror(errno)); }

static bool makeFolders(const char* filePath) {
    char dir[QZ_MAX_PATH];
    snprintf(dir, sizeof dir, "%s", filePath);
    char* last = strrchr(dir, '/');
    if (!last) return false;
    *last = 0;
    return makeFolderPath(dir, 0700);
}

// Writers take turns through a lock on "<settings>.lock" beside the file,
// held from reading the old file to renaming the new one over it, so two
// programs storing at once both keep their values. Readers take no lock:
// the rename keeps what they read whole. A writer that has waited this long
// gives up rather than hang the program.
static const int lockWaitSeconds = 10;

static int64_t monotonicMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (int64_t)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

// The locked descriptor of the lock file, or -1 with the reason recorded.
static int lockSettings(const char* path) {
    char lockPath[QZ_MAX_PATH];
    if (snprintf(lockPath, sizeof lockPath, "%s.lock", path) >= (int)sizeof lockPath) {
        failWrite(strerror(ENAMETOOLONG));
        return -1;
    }
    // Never blocks on a FIFO, never follows a link; the file stays empty.
    int fd = open(lockPath, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        fd < 0 ? failWriteErrno() : failWrite("the lock file is not a regular file");
        if (fd >= 0) close(fd);
        return -1;
    }
    int64_t giveUp = monotonicMs() + lockWaitSeconds * 1000;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            failWriteErrno();
            close(fd);
            return -1;
        }
        if (monotonicMs() >= giveUp) {
            failWrite("another program kept the settings locked for 10 s");
            close(fd);
            return -1;
        }
        usleep(2000);
    }
    return fd;
}

// Puts line in place of name's old lines in the file f replaces, keeping
// every other line, understood or not.
static bool replaceLine(AtomicFile& f, const char* name, const char* line, int lineLen) {
    // An existing file is replaced only when it is a regular file its owner
    // may write: root may write anything, so the mode bits decide, and a
    // FIFO or folder in its place is left alone.
    struct stat st;
    bool exists = stat(f.path, &st) == 0;
    if (!exists && errno != ENOENT) return failWriteErrno();
    DynArray<char> old;
    if (exists) {
        if (!S_ISREG(st.st_mode)) return failWrite("not a regular file");
        if (!(st.st_mode & S_IWUSR) || access(f.path, W_OK) != 0) return failWrite("the file is read-only");
        if (!readWholeFile(f.path, old))
            return failWrite(errno == EFBIG ? "the settings file is too large" : "the file cannot be read");
    }

    // The value takes the place of its first old line.
    DynArray<char> out;
    bool placed = false;
    forEachLine(old.data, old.num, [&](const char* l, int len, int rawLen) {
        ParsedLine p;
        if (parseLine(l, len, p) && sameName(p, name)) {
            if (!placed) out.append(lineLen, line);
            placed = true;
            return;
        }
        out.append(rawLen, l);
        char nl = '\n';
        out.push(nl);
    });
    if (!placed) out.append(lineLen, line);
    // A file the reader refuses would read as no settings from then on.
    if (out.num > maxSettingsFileBytes) return failWrite("the settings file is too large");
    if (!writeAtomicFile(f, out.data, out.num) || !commitAtomicFile(f)) return failWrite(f.reason);
    return true;
}

static bool storableText(const char* s, int len) {
    for (int i = 0; i < len; i++)
        if (s[i] == '\n' || s[i] == '\r' || s[i] == 0) return false;
    return true;
}

bool writeSetting(const char* name, SettingType type, const void* data, int size) {
    if (!name || !name[0] || strchr(name, '=') || !storableText(name, (int)strlen(name)))
        return failWrite("name cannot be stored");

    char line[1024];
    int lineLen;
    if (type == SettingDword) {
        if (size != 4) return failWrite("a dword has 4 bytes");
        uint32_t v;
        memcpy(&v, data, 4);
        lineLen = snprintf(line, sizeof line, "%s=dword:0x%08X\n", name, v);
    } else if (type == SettingString) {
        const char* s = (const char*)data;
        int len = size;
        if (len > 0 && s[len - 1] == 0) len--;
        if (!storableText(s, len)) return failWrite("text cannot be stored on one line");
        lineLen = snprintf(line, sizeof line, "%s=sz:%.*s\n", name, len, s);
    } else {
        return failWrite("unknown value type");
    }
    if (lineLen <= 0 || lineLen >= (int)sizeof line) return failWrite("value too long");

    char path[QZ_MAX_PATH];
    if (!settingsFilePath(path, sizeof path)) return failWrite("no home or config folder");
    if (!makeFolders(path)) return failWriteErrno();
    int lock = lockSettings(path);
    if (lock < 0) return false;
    // A link the user made stays a link: its target is replaced.
    AtomicFile f;
    bool ok = beginAtomicFile(f, path, 0600, AtomicFollowLinks) ? replaceLine(f, name, line, lineLen)
                                                                 : failWrite(f.reason);
    abortAtomicFile(f);
    close(lock);  // after the rename
    if (ok) lastWriteError[0] = 0;
    return ok;
}

bool settingNamed(const char* name) {
    char path[QZ_MAX_PATH];
    DynArray<char> text;
    if (!name || !*name || !settingsFilePath(path, sizeof path) || !readWholeFile(path, text)) return false;
    int nameLen = (int)strlen(name);
    bool found = false;
    forEachLine(text.data, text.num, [&](const char* line, int len, int) {
        if (len > nameLen && line[nameLen] == '=' && memcmp(line, name, (size_t)nameLen) == 0) found = true;
    });
    return found;
}
#endif

bool writeSettingDword(const char* name, uint32_t value) { return writeSetting(name, SettingDword, &value, 4); }

bool readSettingDword(const char* name, uint32_t* value) {
    uint8_t buf[4];
    int size = 4;
    SettingType type;
    if (!readSetting(name, &type, buf, &size) || type != SettingDword) return false;
    memcpy(value, buf, 4);
    return true;
}


//---------------------------------------------------------------------------
// "flags"
//---------------------------------------------------------------------------

DisplayFlags defaultDisplayFlags() { return DisplayFlags{false, false, true, false}; }

DisplayFlags decodeFlags(uint32_t flags) {
    return DisplayFlags{(flags & FlagFullscreen) != 0, (flags & FlagAntiAlias) != 0, (flags & FlagVSync) != 0,
                        (flags & FlagFastVoxels) != 0};
}

uint32_t encodeFlags(const DisplayFlags& f) {
    return (f.fullscreen ? FlagFullscreen : 0) | (f.antiAlias ? FlagAntiAlias : 0) | (f.vSync ? FlagVSync : 0) |
           (f.fastVoxels ? FlagFastVoxels : 0);
}

DisplayFlags readDisplayFlags() {
    uint32_t v;
    if (readSettingDword("flags", &v)) return decodeFlags(v);
    return defaultDisplayFlags();
}
