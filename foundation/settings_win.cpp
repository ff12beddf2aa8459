// The Windows side of the settings store: the design's registry key
// HKEY_CURRENT_USER\SOFTWARE\Pelnaro Games\ZENTREL. "flags" and the other
// dwords are REG_DWORD values, texts REG_SZ, under the same names as on
// Linux. The registry writes each value whole, so the store needs neither
// the Linux file's lock nor its size cap. A value of another type or size
// reads as not found.
#include <windows.h>
#include <cstring>
#include <string>
#include "qz_utils.h"
#include "settings.h"
#include "win_text.h"

static const wchar_t* const settingsKeyWide = L"SOFTWARE\\Pelnaro Games\\ZENTREL";

bool settingsFilePath(char* out, int outSize) {
    int n = snprintf(out, (size_t)outSize, "HKEY_CURRENT_USER\\%s", settingsKeyPath);
    return n > 0 && n < outSize;
}

static char lastWriteError[256] = "";

const char* settingsLastError() { return lastWriteError; }

static bool failWrite(const char* reason) {
    snprintf(lastWriteError, sizeof lastWriteError, "%s", reason);
    return false;
}

// The system's text for a Windows error code, without its final ".\r\n".
static bool failWriteCode(LSTATUS code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, (DWORD)code, 0, (LPWSTR)&text, 0, nullptr);
    std::string reason;
    if (n && text) wideToUtf8(text, reason);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    if (reason.empty()) reason = "Windows error " + std::to_string((unsigned long)code);
    return failWrite(reason.c_str());
}

// The same names and texts as the Linux store accepts, so a value stored on
// one system can be stored on the other.
static bool storableText(const char* s, int len) {
    for (int i = 0; i < len; i++)
        if (s[i] == '\n' || s[i] == '\r' || s[i] == 0) return false;
    return true;
}

bool writeSetting(const char* name, SettingType type, const void* data, int size) {
    std::wstring wideName;
    if (!name || !name[0] || strchr(name, '=') || !storableText(name, (int)strlen(name)) || !utf8ToWide(name, wideName))
        return failWrite("name cannot be stored");

    DWORD regType;
    std::wstring text;
    const BYTE* bytes;
    DWORD byteCount;
    if (type == SettingDword) {
        if (size != 4) return failWrite("a dword has 4 bytes");
        regType = REG_DWORD;
        bytes = (const BYTE*)data;
        byteCount = 4;
    } else if (type == SettingString) {
        const char* s = (const char*)data;
        int len = size;
        if (len > 0 && s[len - 1] == 0) len--;
        if (len < 0 || !storableText(s, len)) return failWrite("text cannot be stored on one line");
        if (!utf8ToWide(std::string(s, (size_t)len).c_str(), text)) return failWrite("text is not UTF-8");
        regType = REG_SZ;
        bytes = (const BYTE*)text.c_str();
        byteCount = (DWORD)((text.size() + 1) * sizeof(wchar_t));  // with the terminating zero
    } else {
        return failWrite("unknown value type");
    }

    HKEY key;
    LSTATUS r = RegCreateKeyExW(HKEY_CURRENT_USER, settingsKeyWide, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                nullptr, &key, nullptr);
    if (r != ERROR_SUCCESS) return failWriteCode(r);
    r = RegSetValueExW(key, wideName.c_str(), 0, regType, bytes, byteCount);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return failWriteCode(r);
    lastWriteError[0] = 0;
    return true;
}

bool readSetting(const char* name, SettingType* type, void* data, int* size) {
    std::wstring wideName;
    if (!name || !utf8ToWide(name, wideName)) return false;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, settingsKeyWide, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD regType = 0, bytes = 0;
    bool ok = RegQueryValueExW(key, wideName.c_str(), nullptr, &regType, nullptr, &bytes) == ERROR_SUCCESS;
    if (ok && regType == REG_DWORD && bytes == 4) {
        uint32_t v = 0;
        ok = *size >= 4 && RegQueryValueExW(key, wideName.c_str(), nullptr, &regType, (BYTE*)&v, &bytes) == ERROR_SUCCESS &&
             regType == REG_DWORD && bytes == 4;
        if (ok) {
            memcpy(data, &v, 4);
            *size = 4;
            *type = SettingDword;
        }
    } else if (ok && regType == REG_SZ && bytes % sizeof(wchar_t) == 0 && bytes / sizeof(wchar_t) <= (DWORD)*size) {
        // Each UTF-16 unit takes at least one UTF-8 byte, so a longer value
        // cannot fit and is not read at all. The stored text need not end
        // in a zero; one is added, and it ends at its first zero.
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD got = bytes;
        ok = RegQueryValueExW(key, wideName.c_str(), nullptr, &regType, (BYTE*)&text[0], &got) == ERROR_SUCCESS &&
             regType == REG_SZ && got <= bytes;
        std::string utf8;
        ok = ok && wideToUtf8(text.c_str(), utf8) && (int)utf8.size() + 1 <= *size;
        if (ok) {
            memcpy(data, utf8.c_str(), utf8.size() + 1);
            *size = (int)utf8.size() + 1;
            *type = SettingString;
        }
    } else {
        ok = false;  // another type or size: not found
    }
    RegCloseKey(key);
    return ok;
}

bool settingNamed(const char* name) {
    std::wstring wideName;
    if (!name || !*name || !utf8ToWide(name, wideName)) return false;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, settingsKeyWide, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    bool found = RegQueryValueExW(key, wideName.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}
