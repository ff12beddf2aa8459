#include "install_tree.h"
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

std::string runShell(const std::string& command, int* status) {
    std::string out;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) {
        if (status) *status = -1;
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int s = pclose(p);
    if (status) *status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    return out;
}

bool waitForFileText(const std::string& path, const std::string& text, double seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    do {
        if (readWholeFile(path).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

InstallTree::InstallTree(bool install) {
    char tmpl[] = "/tmp/zentrel-install-XXXXXX";
    root = mkdtemp(tmpl);
    prefix = root + "/usr";
    home = root + "/home";
    fs::create_directories(home);
    if (!install) return;
    int status = -1;
    output = runShell("'" ZENTREL_CMAKE "' --install '" ZENTREL_BUILD_DIR "' --prefix '" + prefix + "'", &status);
    // Read-only as a system folder is for a player; root writes anyway, so
    // the tests also look that nothing new appeared there.
    ok = status == 0 && runShell("chmod -R a-w '" + prefix + "'", &status).empty() && status == 0;
}

InstallTree::~InstallTree() {
    runShell("chmod -R u+w '" + root + "'");
    fs::remove_all(root);
}

std::vector<std::string> InstallTree::environment() const {
    return {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/.config", "XDG_STATE_HOME=" + home + "/.local/state"};
}
