#include "settings.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include "qz_dynArray.h"
#include "qz_utils.h"
#include "user_folders.h"

const char* const settingsKeyPath = "SOFTWARE\\Pelnaro Games\\ZENTREL";

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

// Reads the whole file into text (zero-terminated); false when absent or unreadable.
static bool readWholeFile(const char* path, DynArray<char>& text) {
    FILE* f = fopen(path, "rb");
    if (!f) return false;
    char chunk[4096];
    size_t n;
    bool ok = true;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) {
        if (text.num + (int)n > maxSettingsFileBytes) {
            ok = false;
            break;
        }
        text.append((int)n, chunk);
    }
    if (ferror(f)) ok = false;
    fclose(f);
    char zero = 0;
    text.push(zero);
    return ok;
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
    if (len <= 0 || len > 20) return false;
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

// Calls fn(line, len) for every line of text (without its newline).
template <typename Fn>
static void forEachLine(const char* text, Fn fn) {
    const char* p = text;
    while (*p) {
        const char* nl = strchr(p, '\n');
        int len = nl ? (int)(nl - p) : (int)strlen(p);
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
    forEachLine(text.data, [&](const char* line, int len, int) {
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

static bool makeFolders(const char* filePath) {
    char dir[QZ_MAX_PATH];
    snprintf(dir, sizeof dir, "%s", filePath);
    char* last = strrchr(dir, '/');
    if (!last) return false;
    *last = 0;
    return makeFolderPath(dir, 0700);
}

// Writes text to a temporary file beside path, flushes it to disk and renames
// it over path, so a crash leaves either the old or the new file.
static bool replaceFile(const char* path, const char* text, int len) {
    char tmp[QZ_MAX_PATH];
    if (snprintf(tmp, sizeof tmp, "%s.XXXXXX", path) >= (int)sizeof tmp) return false;
    int fd = mkstemp(tmp);
    if (fd < 0) return false;
    bool ok = true;
    int done = 0;
    while (ok && done < len) {
        ssize_t n = write(fd, text + done, (size_t)(len - done));
        if (n <= 0) ok = false;
        else done += (int)n;
    }
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok && rename(tmp, path) != 0) ok = false;
    if (!ok) unlink(tmp);
    return ok;
}

static bool storableText(const char* s, int len) {
    for (int i = 0; i < len; i++)
        if (s[i] == '\n' || s[i] == '\r' || s[i] == 0) return false;
    return true;
}

bool writeSetting(const char* name, SettingType type, const void* data, int size) {
    if (!name || !name[0] || strchr(name, '=') || !storableText(name, (int)strlen(name))) return false;

    char line[1024];
    int lineLen;
    if (type == SettingDword) {
        if (size != 4) return false;
        uint32_t v;
        memcpy(&v, data, 4);
        lineLen = snprintf(line, sizeof line, "%s=dword:0x%08X\n", name, v);
    } else if (type == SettingString) {
        const char* s = (const char*)data;
        int len = size;
        if (len > 0 && s[len - 1] == 0) len--;
        if (!storableText(s, len)) return false;
        lineLen = snprintf(line, sizeof line, "%s=sz:%.*s\n", name, len, s);
    } else {
        return false;
    }
    if (lineLen <= 0 || lineLen >= (int)sizeof line) return false;

    char path[QZ_MAX_PATH];
    if (!settingsFilePath(path, sizeof path) || !makeFolders(path)) return false;

    // Keep every other line, understood or not; the value takes the place of
    // its first old line.
    DynArray<char> old;
    bool haveOld = readWholeFile(path, old);
    if (!haveOld && access(path, F_OK) == 0) return false;  // exists but unreadable: never clobber it
    DynArray<char> out;
    bool placed = false;
    if (haveOld) {
        forEachLine(old.data, [&](const char* l, int len, int rawLen) {
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
    }
    if (!placed) out.append(lineLen, line);
    return replaceFile(path, out.data, out.num);
}

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
