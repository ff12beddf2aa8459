#include "launcher_driver.h"
#include <X11/Xlib.h>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include "gui_behaviour.h"
#include "launcher_screen.h"
#include "qz_utils.h"
#include "test_files.h"
#include "tga.h"
#include "wait_until.h"

extern char** environ;
namespace fs = std::filesystem;

static size_t countOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
}

//---------------------------------------------------------------------------
// Reference screen
//---------------------------------------------------------------------------

ReferenceScreen::ReferenceScreen(int w, int h) : px((size_t)w * h, 0) {
    initAppPath();
    ren.setTarget(px.data(), w * 4, w, h);
    ren.setFont(ren.loadFont("font.tga"));
    fontUnit = ren.unit();
    registerStandardBehaviours();
    screen = new GuiScreen(&ren, buildLauncherScreen(), 40, 30);
    ren.clear(0);
    screen->draw();
    image.width = w;
    image.height = h;
    image.rgb.resize(px.size());
    for (size_t i = 0; i < px.size(); i++) image.rgb[i] = px[i] & 0xFFFFFFu;
}

static GuiBox* findCommand(GuiBox* box, int command) {
    if (box->commandId == command) return box;
    for (int i = 0; i < box->children.num; i++)
        if (GuiBox* b = findCommand(box->children[i], command)) return b;
    return nullptr;
}

void ReferenceScreen::buttonCentre(int command, int* x, int* y) {
    GuiBox* b = findCommand(screen->root, command);
    *x = b ? (int)((b->paddingRect.left + b->paddingRect.right) / 2) : -1;
    *y = b ? (int)((b->paddingRect.top + b->paddingRect.bottom) / 2) : -1;
}

//---------------------------------------------------------------------------
// The program under test
//---------------------------------------------------------------------------

LauncherRun::LauncherRun(bool withGame) {
    initAppPath();
    char tmpl[] = "/tmp/zentrel-launcher-XXXXXX";
    std::string base = mkdtemp(tmpl);
    folder = base + "/bin";
    configHome = base + "/config";
    logPath = base + "/launcher.log";
    fs::create_directories(folder);
    fs::create_directories(configHome);
    for (const char* name : {"launcher", "font.tga", "icon.tga"})
        fs::copy_file(std::string(appPath) + name, folder + "/" + name);
    if (withGame) {
        // The marker appears whole (renamed into place); exec keeps the pid.
        std::ofstream game(folder + "/game");
        game << "#!/bin/sh\n"
                "dir=$(dirname \"$0\")\n"
                "echo \"$$ $#\" > \"$dir/game_started.tmp\"\n"
                "mv \"$dir/game_started.tmp\" \"$dir/game_started\"\n"
                "exec sleep 30\n";
        game.close();
        fs::permissions(folder + "/game", fs::perms::owner_all, fs::perm_options::add);
    }
}

LauncherRun::~LauncherRun() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    fs::remove_all(fs::path(folder).parent_path());
}

std::string LauncherRun::settingsPath() const { return configHome + "/Pelnaro Games/ZENTREL/settings"; }

void LauncherRun::writeSettings(const std::string& text) {
    fs::create_directories(fs::path(settingsPath()).parent_path());
    std::ofstream(settingsPath()) << text;
}

std::string LauncherRun::readSettings() const { return readWholeFile(settingsPath()); }
std::string LauncherRun::readLog() const { return readWholeFile(logPath); }

bool LauncherRun::start(bool waitForWindow) {
    // The first entry of a name is the one a program sees: set ones replace inherited ones.
    std::vector<std::string> all = env;
    all.push_back("XDG_CONFIG_HOME=" + configHome);
    all.push_back("ZENTREL_NO_ERROR_BOX=1");
    for (char** e = environ; *e; e++) {
        const char* eq = strchr(*e, '=');
        bool replaced = false;
        for (const std::string& s : all) replaced |= eq && s.compare(0, (size_t)(eq - *e) + 1, *e, (size_t)(eq - *e) + 1) == 0;
        if (!replaced) all.push_back(*e);
    }
    std::vector<char*> envp;
    for (std::string& s : all) envp.push_back(&s[0]);
    envp.push_back(nullptr);

    std::string path = program.empty() ? folder + "/launcher" : program;
    char* argv[] = {&path[0], nullptr};
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&fa, 1, 2);
    int err = posix_spawn(&pid, path.c_str(), &fa, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&fa);
    if (err) {
        pid = 0;
        return false;
    }
    if (!waitForWindow) return true;
    // By process, not title alone, so another launcher's window is never taken.
    std::string out = runCommand("timeout 15 xdotool search --sync --all --onlyvisible --pid " + std::to_string(pid) +
                                 " --name '^ZENTREL! Launcher$' 2>/dev/null");
    window = strtoul(out.c_str(), nullptr, 10);
    return window != 0;
}

void LauncherRun::movePointer(int x, int y) {
    runCommand("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
               std::to_string(y));
}

void LauncherRun::click(int x, int y) {
    runCommand("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
               std::to_string(y) + " click 1");
}

void LauncherRun::resize(int w, int h) {
    std::string id = std::to_string(window);
    runCommand("xdotool windowsize " + id + " " + std::to_string(w) + " " + std::to_string(h) +
               " windowmove " + id + " 0 0");
    // The launcher has seen the new size once its own log says so.
    std::string line = "resized screen buffer to " + std::to_string(w) + "x" + std::to_string(h);
    size_t before = countOf(readLog(), line);
    waitUntil([&] { return countOf(readLog(), line) > before; }, 5);
}

void LauncherRun::requestClose() {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return;
    XEvent ev;
    memset(&ev, 0, sizeof ev);
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, window, False, NoEventMask, &ev);
    XFlush(d);
    XCloseDisplay(d);
}

bool LauncherRun::iconSize(int* w, int* h) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    // Width, height and pixels of each icon image, as 32-bit items in longs.
    if (XGetWindowProperty(d, window, XInternAtom(d, "_NET_WM_ICON", False), 0, 2, False, AnyPropertyType,
                           &type, &format, &count, &after, &data) == Success &&
        data && format == 32 && count == 2) {
        *w = (int)((unsigned long*)data)[0];
        *h = (int)((unsigned long*)data)[1];
        found = true;
    }
    if (data) XFree(data);
    XCloseDisplay(d);
    return found;
}

bool LauncherRun::capture(Capture* out) { return captureWindow(window, out); }

bool LauncherRun::waitForImage(const Capture& expected, Capture* last) {
    return waitUntil(
        [&] {
            return capture(last) && last->width == expected.width && last->height == expected.height &&
                   last->rgb == expected.rgb;
        },
        5, 100);
}

int LauncherRun::waitForExit() {
    int code = -1;
    waitUntil([&] {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) != pid) return false;
        pid = 0;
        code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return true;
    }, 5);
    return code;
}

bool saveCapture(const Capture& c, const std::string& path) {
    std::vector<uint32_t> px(c.rgb.size());
    for (size_t i = 0; i < px.size(); i++) px[i] = c.rgb[i] | 0xFF000000u;
    return writeTgaFile(path.c_str(), px.data(), c.width, c.height, c.width * 4);
}
