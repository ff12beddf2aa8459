// A private, empty settings folder for one test: XDG_CONFIG_HOME points at
// it while the object lives, and it is removed afterwards.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>
#include "settings.h"

struct TempSettings {
    std::string home, old;
    bool hadOld;
    TempSettings() {
        const char* o = getenv("XDG_CONFIG_HOME");
        hadOld = o != nullptr;
        if (o) old = o;
        char tmpl[] = "/tmp/zentrel-settings-XXXXXX";
        home = mkdtemp(tmpl);
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    }
    ~TempSettings() {
        if (hadOld) setenv("XDG_CONFIG_HOME", old.c_str(), 1);
        else unsetenv("XDG_CONFIG_HOME");
        system(("rm -rf '" + home + "'").c_str());
    }
    // Replaces the settings file with these lines.
    void write(const std::string& text) {
        char path[1024];
        if (!settingsFilePath(path, sizeof path)) return;
        std::string dir = path;
        system(("mkdir -p '" + dir.substr(0, dir.rfind('/')) + "'").c_str());
        FILE* f = fopen(path, "w");
        if (!f) return;
        fputs(text.c_str(), f);
        fclose(f);
    }
    // A folder where the file goes: every write fails from now on.
    void blockWrites() { write(""), system(("cd '" + home + "'/*/*/ && rm settings && mkdir settings").c_str()); }
    static uint32_t stored(const char* name, uint32_t missing = 999) {
        uint32_t v = missing;
        readSettingDword(name, &v);
        return v;
    }
};
