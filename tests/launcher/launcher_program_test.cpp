// The real launcher driven from outside: clicks at the laid-out button
// positions, the settings file it leaves, the process it starts and the
// pixels of its window.
#include <gtest/gtest.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include "display_options.h"
#include "launcher_driver.h"
#include "launcher_screen.h"
#include "tga.h"
#include "wait_until.h"

namespace {

const char* const noFlags = "";

// Reference renders use the options a launcher without settings shows.
void defaultOptions() {
    optFullscreen = optAntiAlias = optFastVoxels = false;
    optVSync = true;
}

// Client point of a button in the 640 x 480 window.
struct Buttons {
    int x[8], y[8];
    Buttons() {
        defaultOptions();
        ReferenceScreen ref(640, 480);
        for (int c = CmdPlay; c <= CmdToggleFastVoxels; c++) ref.buttonCentre(c, &x[c], &y[c]);
    }
};

const Buttons& buttons() {
    static Buttons b;
    return b;
}

void press(LauncherRun& run, int command) { run.click(buttons().x[command], buttons().y[command]); }

// Where the pointer touches no button.
void pointerAway(LauncherRun& run) { run.movePointer(3, 3); }

void keepShot(const Capture& c, const char* name) {
    // Set ZENTREL_SHOT_DIR to keep the captures for looking at them.
    if (const char* dir = getenv("ZENTREL_SHOT_DIR")) saveCapture(c, std::string(dir) + "/" + name);
}

}  // namespace

TEST(LauncherProgram, ShowsItsScreenScalesItAndClosesWithoutSaving) {
    LauncherRun run(false);
    ASSERT_TRUE(run.start()) << run.readLog();
    int iconW = 0, iconH = 0, fileW = 0, fileH = 0;
    DynArray<uint32_t> iconPixels;
    ASSERT_TRUE(readTgaFile("icon.tga", fileW, fileH, iconPixels));
    EXPECT_TRUE(run.iconSize(&iconW, &iconH)) << "the window has no icon";
    EXPECT_EQ(iconW, fileW);
    EXPECT_EQ(iconH, fileH);

    pointerAway(run);
    defaultOptions();
    Capture shot;
    {
        ReferenceScreen ref(640, 480);
        EXPECT_TRUE(run.waitForImage(ref.image, &shot)) << "640 x 480 window differs from the drawn screen";
        keepShot(shot, "launcher_640x480.tga");
    }
    run.resize(1280, 960);
    pointerAway(run);
    {
        ReferenceScreen ref(1280, 960);
        EXPECT_TRUE(run.waitForImage(ref.image, &shot)) << "1280 x 960 window differs from the drawn screen";
        keepShot(shot, "launcher_1280x960.tga");
    }
    EXPECT_NE(run.readLog().find("resized screen buffer to 1280x960"), std::string::npos) << run.readLog();

    // Toggles change nothing stored until Play or Quit; closing saves nothing.
    run.resize(640, 480);
    press(run, CmdToggleAntiAlias);
    press(run, CmdToggleFullscreen);
    run.requestClose();
    EXPECT_EQ(run.waitForExit(), 0);
    EXPECT_EQ(run.readSettings(), noFlags);
    EXPECT_NE(run.readLog().find("closed all systems"), std::string::npos) << run.readLog();
}

TEST(LauncherProgram, QuitStoresTheOptions) {
    {
        // No settings: the defaults, windowed with vertical sync, are stored.
        LauncherRun run(false);
        ASSERT_TRUE(run.start()) << run.readLog();
        press(run, CmdQuit);
        EXPECT_EQ(run.waitForExit(), 0);
        EXPECT_EQ(run.readSettings(), "flags=dword:0x00000004\n");
    }
    {
        // Every toggle once: each command flips its own bit.
        LauncherRun run(false);
        ASSERT_TRUE(run.start()) << run.readLog();
        for (int c = CmdToggleFullscreen; c <= CmdToggleFastVoxels; c++) press(run, c);
        press(run, CmdQuit);
        EXPECT_EQ(run.waitForExit(), 0);
        EXPECT_EQ(run.readSettings(), "flags=dword:0x0000000B\n");
    }
}

TEST(LauncherProgram, PlayStoresTheOptionsAndStartsTheGame) {
    LauncherRun run(true);
    run.writeSettings("other=sz:kept\nflags=dword:0x00000009\n");
    ASSERT_TRUE(run.start()) << run.readLog();
    press(run, CmdToggleAntiAlias);
    press(run, CmdToggleAntiAlias);
    press(run, CmdPlay);
    EXPECT_EQ(run.waitForExit(), 0) << run.readLog();
    EXPECT_EQ(run.readSettings(), "other=sz:kept\nflags=dword:0x00000009\n");

    std::string marker;
    waitUntil([&] {
        std::ifstream in(run.folder + "/game_started");
        std::getline(in, marker);
        return !marker.empty();
    }, 5);
    ASSERT_FALSE(marker.empty()) << "the game was not started\n" << run.readLog();
    int gamePid = 0, argCount = -1;
    std::istringstream(marker) >> gamePid >> argCount;
    EXPECT_EQ(argCount, 0) << "the game gets no arguments";
    if (gamePid > 0) kill(gamePid, SIGKILL);
    EXPECT_EQ(run.readLog().find("can't start"), std::string::npos) << run.readLog();
}

// The whole path a player takes: the launcher's "Play" brings up the real
// game window with the stored options.
TEST(LauncherProgram, PlayStartsTheRealGame) {
    LauncherRun run(false);
    for (const auto& e : std::filesystem::directory_iterator(appPath)) {
        std::string name = e.path().filename().string();
        std::string ext = name.size() > 4 ? name.substr(name.size() - 4) : "";
        if (name == "game" || name == "cache" || ext == ".png")
            std::filesystem::copy(e.path(), run.folder + "/" + name, std::filesystem::copy_options::recursive);
    }
    ASSERT_TRUE(run.start()) << run.readLog();
    press(run, CmdPlay);
    EXPECT_EQ(run.waitForExit(), 0) << run.readLog();
    std::string pid;
    waitUntil([&] {
        pid = runCommand("xdotool search --name 'ZENTREL! DEMO' getwindowpid 2>/dev/null");
        return !pid.empty();
    }, 20, 100);
    ASSERT_FALSE(pid.empty()) << "no game window appeared\n" << run.readLog();
    int gamePid = atoi(pid.c_str());
    ASSERT_GT(gamePid, 0);
    // The game ends in order on a termination request.
    kill(gamePid, SIGTERM);
    waitUntil([&] { return kill(gamePid, 0) != 0; }, 10, 100);
    EXPECT_NE(kill(gamePid, 0), 0) << "the game did not end";
}

TEST(LauncherProgram, PlayWithoutTheGameLogsTheFailure) {
    LauncherRun run(false);
    ASSERT_TRUE(run.start()) << run.readLog();
    press(run, CmdPlay);
    EXPECT_EQ(run.waitForExit(), 0) << run.readLog();
    EXPECT_EQ(run.readSettings(), "flags=dword:0x00000004\n");
    std::string log = run.readLog();
    EXPECT_NE(log.find("can't start the game '" + run.folder + "/game'"), std::string::npos) << log;
    EXPECT_NE(log.find("closed all systems"), std::string::npos) << log;
}

// A save that fails is reported with the path and the reason, and the
// command still goes on: Quit ends, Play starts the game.
TEST(LauncherProgram, FailedSaveIsReportedAndTheCommandGoesOn) {
    for (int command : {CmdQuit, CmdPlay}) {
        LauncherRun run(command == CmdPlay);
        run.writeSettings("flags=dword:0x00000001\n");
        chmod(run.settingsPath().c_str(), 0444);
        ASSERT_TRUE(run.start()) << run.readLog();
        press(run, CmdToggleAntiAlias);
        press(run, command);
        EXPECT_EQ(run.waitForExit(), 0) << run.readLog();
        EXPECT_EQ(run.readSettings(), "flags=dword:0x00000001\n");
        std::string log = run.readLog();
        EXPECT_NE(log.find("can't save settings to '" + run.settingsPath() + "': the file is read-only"),
                  std::string::npos) << log;
        EXPECT_NE(log.find("closed all systems"), std::string::npos) << log;
        if (command == CmdPlay) {
            std::string marker;
            for (int i = 0; i < 100 && marker.empty(); i++) {
                std::ifstream in(run.folder + "/game_started");
                std::getline(in, marker);
                if (marker.empty()) usleep(50000);
            }
            int gamePid = 0;
            std::istringstream(marker) >> gamePid;
            EXPECT_GT(gamePid, 0) << "the game was not started";
            if (gamePid > 0) kill(gamePid, SIGKILL);
        }
    }
}

TEST(LauncherProgram, MissingFontIsFatal) {
    LauncherRun run(false);
    std::filesystem::remove(run.folder + "/font.tga");
    ASSERT_TRUE(run.start(false));
    EXPECT_EQ(run.waitForExit(), 100);
    std::string log = run.readLog();
    EXPECT_NE(log.find("ERROR: can't load font from font.tga"), std::string::npos) << log;
    // The orderly shutdown runs on the fatal path too, with no screen built yet.
    EXPECT_NE(log.find("closed all systems"), std::string::npos) << log;
    EXPECT_EQ(run.readSettings(), noFlags);
}
