// Files of a test: a private folder, and whole files read back.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Whole file, or "" when it cannot be read.
inline std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A private, empty folder for one test, removed with its contents when the
// object goes. Environment variables changed through setEnv get their old
// values back then, so no test leaves another pointing into a removed folder.

struct TempFolder {
    std::string path;
    TempFolder() {
        char tmpl[] = "/tmp/zentrel-test-XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempFolder() {
        for (auto v = saved.rbegin(); v != saved.rend(); ++v)
            if (v->wasSet) setenv(v->name.c_str(), v->value.c_str(), 1);
            else unsetenv(v->name.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // Sets the variable, or unsets it for nullptr, while the folder lives.
    void setEnv(const char* name, const char* value) {
        const char* old = getenv(name);
        saved.push_back({name, old ? old : "", old != nullptr});
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }

private:
    struct Saved {
        std::string name, value;
        bool wasSet;
    };
    std::vector<Saved> saved;
};
