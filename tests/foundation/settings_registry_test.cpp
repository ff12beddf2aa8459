// The Windows settings store: the registry key HKCU\SOFTWARE\Pelnaro Games\ZENTREL
// (tests run in a throw-away Wine prefix, scripts/test-windows.sh).
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#include <cstring>
#include "settings.h"

namespace {
const wchar_t* const key = L"SOFTWARE\\Pelnaro Games\\ZENTREL";

void setRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(k, name, 0, type, (const BYTE*)data, size), ERROR_SUCCESS);
    RegCloseKey(k);
}

struct RegistrySettings : testing::Test {
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, key); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, key); }
};
}  // namespace

TEST_F(RegistrySettings, MissingKeyReadsAsNotFound) {
    uint32_t v = 7;
    EXPECT_FALSE(readSettingDword("flags", &v));
    EXPECT_EQ(v, 7u);
    DisplayFlags f = readDisplayFlags();
    EXPECT_TRUE(f.vSync);
    EXPECT_FALSE(f.fullscreen);
}

TEST_F(RegistrySettings, FlagsRoundTripAsDword) {
    ASSERT_TRUE(writeSettingDword("flags", 0xB));
    EXPECT_STREQ(settingsLastError(), "");
    uint32_t v = 0;
    ASSERT_TRUE(readSettingDword("flags", &v));
    EXPECT_EQ(v, 0xBu);
    HKEY k;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &k), ERROR_SUCCESS);
    DWORD type = 0, data = 0, size = sizeof data;
    EXPECT_EQ(RegQueryValueExW(k, L"flags", nullptr, &type, (BYTE*)&data, &size), ERROR_SUCCESS);
    RegCloseKey(k);
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(data, 0xBu);
}

TEST_F(RegistrySettings, Utf8TextRoundTrip) {
    const char* text = "Zo\xC3\xAB \xE6\x97\xA5\xE6\x9C\xAC";  // "Zoë 日本"
    ASSERT_TRUE(writeSetting("name", SettingString, text, (int)strlen(text) + 1));
    char out[64];
    int size = sizeof out;
    SettingType type;
    ASSERT_TRUE(readSetting("name", &type, out, &size));
    EXPECT_EQ(type, SettingString);
    EXPECT_STREQ(out, text);
    EXPECT_EQ(size, (int)strlen(text) + 1);
}

TEST_F(RegistrySettings, WrongTypeOrSizeReadsAsNotFound) {
    uint64_t q = 5;
    setRaw(L"flags", REG_QWORD, &q, 8);
    uint32_t v = 99;
    EXPECT_FALSE(readSettingDword("flags", &v));
    EXPECT_EQ(v, 99u);
    setRaw(L"volume", REG_BINARY, "\x01\x02\x03\x04", 4);
    EXPECT_FALSE(readSettingDword("volume", &v));
    setRaw(L"music", REG_DWORD, "\x01\x02", 2);  // a dword of 2 bytes
    EXPECT_FALSE(readSettingDword("music", &v));
    setRaw(L"text", REG_DWORD, "\x01\x02\x03\x04", 4);
    char out[16];
    int size = 2;  // too small for nothing but a dword's 4 bytes
    SettingType type;
    EXPECT_FALSE(readSetting("text", &type, out, &size));
}

TEST_F(RegistrySettings, BadNamesAreRefusedWithAReason) {
    EXPECT_FALSE(writeSettingDword("", 1));
    EXPECT_STRNE(settingsLastError(), "");
    EXPECT_FALSE(writeSetting("flags", SettingDword, "\x01", 1));
    EXPECT_STREQ(settingsLastError(), "a dword has 4 bytes");
}

TEST_F(RegistrySettings, SettingsPathNamesTheKey) {
    char path[256];
    ASSERT_TRUE(settingsFilePath(path, sizeof path));
    EXPECT_STREQ(path, "HKEY_CURRENT_USER\\SOFTWARE\\Pelnaro Games\\ZENTREL");
}
#endif
