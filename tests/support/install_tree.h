// A temporary install of this build, as a player's machine would hold it:
// `cmake --install` into a fresh prefix, made read-only, beside a private
// home folder whose XDG variables the programs get.
#pragma once
#include <string>
#include <vector>
#include "test_files.h"

struct InstallTree {
    std::string root;    // everything of the tree lies below; removed at the end
    std::string prefix;  // root/usr: bin/, lib/zentrel/, share/
    std::string home;    // root/home: the player's HOME
    std::string output;  // what the install printed

    // Installs (unless told not to); ok tells whether it worked.
    explicit InstallTree(bool install = true);
    ~InstallTree();
    bool ok = false;

    std::string programFolder() const { return prefix + "/lib/zentrel"; }
    std::string stateFolder() const { return home + "/.local/state/zentrel"; }
    std::string picturesFolder() const { return home + "/Pictures/ZENTREL"; }
    // HOME, XDG_CONFIG_HOME and XDG_STATE_HOME of the private home, as
    // "NAME=value"; XDG_PICTURES_DIR comes from home/.config/user-dirs.dirs.
    std::vector<std::string> environment() const;
};

// Output of a shell command (standard output and error); status gets its exit code.
std::string runShell(const std::string& command, int* status = nullptr);
// Waits up to `seconds` for the file to hold text.
bool waitForFileText(const std::string& path, const std::string& text, double seconds = 30);
