// The settings reader and writer on an arbitrary settings file. A value read
// comes from a line of its name; storing "flags" succeeds on a writable file
// exactly when the result stays within what the reader accepts, reads back,
// and keeps every other line byte for byte (zero bytes and lines without a
// newline included) in its place; a text value is stored exactly when it
// fits on one line and in that limit.
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include "fuzz_support.h"
#include "settings.h"

static std::string settingsPath;
static const size_t readerLimit = 1 << 20;

static void writeFile(const std::string& text) {
    int fd = open(settingsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(write(fd, text.data(), text.size()) == (ssize_t)text.size());
    close(fd);
}

static std::string readFile() {
    std::string s;
    FILE* f = fopen(settingsPath.c_str(), "rb");
    FUZZ_CHECK(f);
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    fclose(f);
    return s;
}

// name=type:value with the name before the first '=' and a ':' after it.
static bool isLineOf(const std::string& line, const char* name) {
    std::string l = line;
    if (!l.empty() && l.back() == '\r') l.pop_back();
    size_t eq = l.find('=');
    return eq != std::string::npos && l.compare(0, eq, name) == 0 && eq == strlen(name) &&
           l.find(':', eq + 1) != std::string::npos;
}

// What storing name=line must leave of the old text.
static std::string expectedAfterStore(const std::string& old, const char* name, const std::string& line) {
    std::string out;
    bool placed = false;
    for (size_t at = 0; at < old.size();) {
        size_t nl = old.find('\n', at);
        std::string raw = old.substr(at, nl == std::string::npos ? std::string::npos : nl - at);
        at = nl == std::string::npos ? old.size() : nl + 1;
        if (isLineOf(raw, name)) {
            if (!placed) out += line;
            placed = true;
        } else {
            out += raw + "\n";
        }
    }
    if (!placed) out += line;
    return out;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (settingsPath.empty()) {
        settingsPath = privateSettingsFile();
        writeSettingDword("flags", 0);  // makes the folders
    }
    std::string text((const char*)data, size);
    writeFile(text);

    SettingType type;
    char value[256];
    int valueSize = sizeof value;
    if (readSetting("flags", &type, value, &valueSize)) {
        std::string prefix = type == SettingDword ? "flags=dword:" : "flags=sz:";
        FUZZ_CHECK(text.compare(0, prefix.size(), prefix) == 0 || text.find("\n" + prefix) != std::string::npos);
        if (type == SettingString) FUZZ_CHECK(valueSize >= 1 && value[valueSize - 1] == 0);
    }

    uint32_t v = 0x9E3779B9u * (uint32_t)size;
    char line[64];
    snprintf(line, sizeof line, "flags=dword:0x%08X\n", v);
    std::string expected = expectedAfterStore(text, "flags", line);
    bool fits = text.size() <= readerLimit && expected.size() <= readerLimit;
    FUZZ_CHECK(writeSettingDword("flags", v) == fits);
    std::string stored = readFile();
    FUZZ_CHECK(stored == (fits ? expected : text));
    if (!fits) return 0;
    uint32_t back = 0;
    FUZZ_CHECK(readSettingDword("flags", &back) && back == v);

    // A text value: stored exactly when it has no line end or zero byte.
    std::string note = text.substr(0, 40);
    bool storable = note.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
                    expectedAfterStore(stored, "note", "note=sz:" + note + "\n").size() <= readerLimit;
    FUZZ_CHECK(writeSetting("note", SettingString, note.c_str(), (int)note.size() + 1) == storable);
    if (storable) {
        valueSize = sizeof value;
        FUZZ_CHECK(readSetting("note", &type, value, &valueSize) && type == SettingString);
        FUZZ_CHECK(note == value);
        FUZZ_CHECK(readSettingDword("flags", &back) && back == v);
    }
    return 0;
}
