#include "program_run.h"
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include "test_files.h"
#include "wait_until.h"

namespace fs = std::filesystem;

static std::string makeRunFolder() {
    char tmpl[] = "/tmp/zentrel-run-XXXXXX";
    return mkdtemp(tmpl);
}

ProgramRun::ProgramRun(InPlace, const std::string& programFolder) : base(makeRunFolder()), folder(programFolder) {
    config = base + "/config";
    fs::create_directories(config);
    logPath = base + "/out.log";
    errPath = base + "/err.log";
}

ProgramRun::ProgramRun(const std::vector<std::string>& leaveOut) : base(makeRunFolder()) {
    folder = base + "/bin";
    config = base + "/config";
    fs::create_directories(folder);
    fs::create_directories(config);
    // The tests run in build/bin: copy what the programs read beside them.
    for (const auto& e : fs::directory_iterator(fs::current_path())) {
        std::string name = e.path().filename().string();
        if (std::find(leaveOut.begin(), leaveOut.end(), name) != leaveOut.end()) continue;
        std::string ext = name.size() > 4 ? name.substr(name.size() - 4) : "";
        bool data = name == "game" || name == "launcher" || name == "cache" || name == "sounds" || ext == ".png" ||
                    ext == ".tga";
        if (data) fs::copy(e.path(), folder + "/" + name, fs::copy_options::recursive);
    }
    logPath = base + "/out.log";
    errPath = base + "/err.log";
}

ProgramRun::~ProgramRun() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    fs::remove_all(base);
}

bool ProgramRun::start(const std::string& program, const std::vector<std::string>& args) {
    pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        int out = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("ZENTREL_NO_ERROR_BOX", "1", 1);
        // Tests never play through the machine's speakers unless they ask to.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        for (const std::string& e : env) putenv((char*)e.c_str());
        std::string path = folder + "/" + program;
        std::vector<char*> argv;
        argv.push_back((char*)path.c_str());
        for (const std::string& a : args) argv.push_back((char*)a.c_str());
        argv.push_back(nullptr);
        chdir("/");  // the programs must find their files without help
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    return true;
}

void ProgramRun::writeSettings(const std::string& text) {
    fs::create_directories(config + "/Pelnaro Games/ZENTREL");
    std::ofstream(config + "/Pelnaro Games/ZENTREL/settings") << text;
}

static size_t countOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
}

bool ProgramRun::waitForLog(const std::string& text, double seconds, size_t count) {
    return waitUntil(
        [&] {
            if (countOf(log(), text) >= count) return true;
            int status;
            if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid) pid = -1;
            return pid <= 0;  // an ended program writes nothing more
        },
        seconds) &&
           countOf(log(), text) >= count;
}

bool ProgramRun::findWindow(const std::string& title, double seconds) {
    std::string ids;
    bool found = waitUntil(
        [&] {
            ids = runCommand("xdotool search --pid " + std::to_string(pid) + " --name '" + title + "' 2>/dev/null");
            return !ids.empty();
        },
        seconds, 100);
    if (!found) return false;
    window = ids.substr(0, ids.find('\n'));
    xdotool("windowfocus --sync %w");
    return true;
}

int ProgramRun::waitForExit(double seconds) {
    int code = -1;
    waitUntil(
        [&] {
            int status;
            struct rusage usage;
            if (pid <= 0 || wait4(pid, &status, WNOHANG, &usage) != pid) return false;
            pid = -1;
            maxResidentKb = usage.ru_maxrss;
            code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        },
        seconds);
    return code;
}

bool ProgramRun::waitForPicture(const std::function<bool(const Capture&)>& shows, double seconds) {
    Capture c;
    return waitUntil([&] { return captureWindow(strtoul(window.c_str(), nullptr, 10), &c) && shows(c); }, seconds,
                     100);
}

std::string ProgramRun::log() const { return readWholeFile(logPath); }
std::string ProgramRun::errors() const { return readWholeFile(errPath); }

int ProgramRun::xdotool(const std::string& args) {
    std::string a = args;
    for (size_t at; (at = a.find("%w")) != std::string::npos;) a.replace(at, 2, window);
    return system(("xdotool " + a + " >/dev/null 2>&1").c_str());
}

bool ProgramRun::clientSize(int* width, int* height) {
    std::string g = runCommand("xdotool getwindowgeometry " + window);
    size_t at = g.find("Geometry: ");
    return at != std::string::npos && sscanf(g.c_str() + at, "Geometry: %dx%d", width, height) == 2;
}

std::vector<std::string> ProgramRun::shots() const {
    std::vector<std::string> names;
    if (!fs::exists(folder + "/shots")) return names;
    for (const auto& e : fs::directory_iterator(folder + "/shots")) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
