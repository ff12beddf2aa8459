// A private, empty settings folder for one test: XDG_CONFIG_HOME points at
// it while the object lives, and it is removed afterwards.
#pragma once
#include <string>
#include "settings.h"
#include "test_files.h"

struct TempSettings : TempFolder {
    TempSettings() { setEnv("XDG_CONFIG_HOME", path.c_str()); }
    // Replaces the settings file with these lines.
    void write(const std::string& text) {
        char file[1024];
        if (!settingsFilePath(file, sizeof file)) return;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file) << text;
    }
    // A folder where the file goes: every write fails from now on.
    void blockWrites() {
        char file[1024];
        write("");
        if (!settingsFilePath(file, sizeof file)) return;
        std::filesystem::remove(file);
        std::filesystem::create_directory(file);
    }
    static uint32_t stored(const char* name, uint32_t missing = 999) {
        uint32_t v = missing;
        readSettingDword(name, &v);
        return v;
    }
};
