// A private, empty settings store for one test, removed afterwards. On
// Linux XDG_CONFIG_HOME points at a new folder while the object lives; on
// Windows HKEY_CURRENT_USER is mapped to a new key of this process, so
// tests running side by side never share the store.
#pragma once
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include "settings.h"
#include "test_files.h"
#ifdef _WIN32
#include <windows.h>
#endif

struct TempSettings : TempFolder {
#ifdef _WIN32
    std::wstring key;
    HKEY root = nullptr;
    TempSettings() {
        static int made = 0;
        key = L"Software\\ZENTREL tests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(made++);
        RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, root);
    }
    ~TempSettings() {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(root);
        RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    }
    // Stores the values of these settings-file lines as the registry holds
    // them: "dword:" with a valid number as REG_DWORD, "sz:" as REG_SZ, any
    // other value as REG_BINARY (a wrong type), lines without "=" not at all.
    void write(const std::string& text) {
        HKEY k;
        std::wstring keyPath(settingsKeyPath, settingsKeyPath + strlen(settingsKeyPath));
        if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr)) return;
        for (size_t at = 0, end; at < text.size(); at = end + 1) {
            end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(at, end - at);
            size_t eq = line.find('='), colon = line.find(':', eq);
            if (eq == std::string::npos) continue;
            if (colon == std::string::npos) colon = line.size();
            std::wstring name(line.begin(), line.begin() + eq);
            std::string type = line.substr(eq + 1, colon - eq - 1), value = line.substr(std::min(colon + 1, line.size()));
            char* stop = nullptr;
            DWORD dword = (DWORD)strtoul(value.c_str(), &stop, 16);
            if (type == "dword" && !value.empty() && !*stop && value.find('-') == std::string::npos) {
                RegSetValueExW(k, name.c_str(), 0, REG_DWORD, (const BYTE*)&dword, 4);
            } else if (type == "sz") {
                std::wstring w(value.begin(), value.end());
                RegSetValueExW(k, name.c_str(), 0, REG_SZ, (const BYTE*)w.c_str(), (DWORD)(w.size() + 1) * 2);
            } else {
                RegSetValueExW(k, name.c_str(), 0, REG_BINARY, (const BYTE*)value.data(), (DWORD)value.size());
            }
        }
        RegCloseKey(k);
    }
    // The registry cannot be made to refuse one process's writes.
    bool blockWrites() { return false; }
#else
    TempSettings() { setEnv("XDG_CONFIG_HOME", path.c_str()); }
    // Replaces the settings file with these lines.
    void write(const std::string& text) {
        char file[1024];
        if (!settingsFilePath(file, sizeof file)) return;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file) << text;
    }
    // A folder where the file goes: every write fails from now on.
    bool blockWrites() {
        char file[1024];
        write("");
        if (!settingsFilePath(file, sizeof file)) return false;
        std::filesystem::remove(file);
        return std::filesystem::create_directory(file);
    }
#endif
    static uint32_t stored(const char* name, uint32_t missing = 999) {
        uint32_t v = missing;
        readSettingDword(name, &v);
        return v;
    }
};
