// The real game program started, played and closed from outside.
#include <gtest/gtest.h>
#include <cstring>
#include <thread>
#include "hostile_files.h"
#include "program_run.h"
#include "tga.h"

// How long the player holds keys down: part of what is played, not a wait.
static void holdFor(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

static const char* const shotTaken = "screenshot captured to 'shots/shot";

static bool readShot(ProgramRun& run, const std::string& name, int* w, int* h, DynArray<uint32_t>& px) {
    return readTgaFile((run.folder + "/shots/" + name).c_str(), *w, *h, px);
}

// Order of the given lines in the log; -1 where one is missing.
static std::vector<long> positions(const std::string& log, const std::vector<std::string>& lines) {
    std::vector<long> at;
    for (const std::string& l : lines) {
        size_t p = log.find(l);
        at.push_back(p == std::string::npos ? -1 : (long)p);
    }
    return at;
}

TEST(GameProgram, StartsPlaysTakesScreenshotsAndCloses) {
    ProgramRun run;
    ASSERT_TRUE(run.start("game", {"-720"}));
    ASSERT_TRUE(run.waitForLog("free video memory:")) << run.log() << run.errors();
    ASSERT_TRUE(run.findWindow("ZENTREL! DEMO"));
    int w = 0, h = 0;
    ASSERT_TRUE(run.clientSize(&w, &h));
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 720);

    std::string log = run.log();
    std::vector<long> at = positions(log, {"app path: '" + run.folder + "/'", "init d3d ok (1280x720)",
                                           "font scale: 3", "3d pixel scale: 6", "total start-up time: ",
                                           "free video memory: "});
    for (size_t i = 0; i < at.size(); i++) {
        EXPECT_GE(at[i], 0) << "line " << i << " missing:\n" << log;
        if (i > 0) {
            EXPECT_GT(at[i], at[i - 1]) << "line " << i << " out of order";
        }
    }

    run.xdotool("mousemove --window %w 900 300");
    run.xdotool("key Print");
    ASSERT_TRUE(run.waitForLog(shotTaken, 10, 1)) << run.log();
    // Run right and fire for a while.
    run.xdotool("keydown d");
    run.xdotool("mousedown 1");
    holdFor(1.5);
    run.xdotool("mouseup 1");
    run.xdotool("keyup d");
    run.xdotool("key Print");
    ASSERT_TRUE(run.waitForLog(shotTaken, 10, 2)) << run.log();

    std::vector<std::string> shots = run.shots();
    ASSERT_EQ(shots.size(), 2u) << run.log();
    int w1, h1, w2, h2;
    DynArray<uint32_t> before, after;
    ASSERT_TRUE(readShot(run, shots[0], &w1, &h1, before));
    ASSERT_TRUE(readShot(run, shots[1], &w2, &h2, after));
    EXPECT_EQ(w1, 1280);
    EXPECT_EQ(h1, 720);
    EXPECT_EQ(shots[0].substr(0, 4), "shot");
    int differing = 0;
    for (int i = 0; i < before.num && i < after.num; i++) differing += before[i] != after[i];
    EXPECT_GT(differing, 1280 * 720 / 20) << "the hero's run changed too little of the picture";
    EXPECT_NE(run.log().find("screenshot captured to 'shots/shot"), std::string::npos);

    run.xdotool("key alt+F4");
    EXPECT_EQ(run.waitForExit(), 0) << run.errors();
    log = run.log();
    long closing = (long)log.find("closing..."), closed = (long)log.find("closed all systems");
    EXPECT_GE(closing, 0);
    EXPECT_GT(closed, closing);
}

TEST(GameProgram, MissingSpriteIsFatalWithoutADialog) {
    ProgramRun run({"hero_body.png"});
    ASSERT_TRUE(run.start("game", {"-360"}));
    EXPECT_EQ(run.waitForExit(), 100);
    EXPECT_NE(run.errors().find("can't load hero voxel sprites"), std::string::npos) << run.errors();
    std::string log = run.log();
    EXPECT_NE(log.find("ERROR: can't load hero voxel sprites"), std::string::npos) << log;
    EXPECT_NE(log.find("closed all systems"), std::string::npos);
}

// No size option: the window covers the work area (the whole virtual screen).
TEST(GameProgram, WithoutASizeOptionFillsTheWorkArea) {
    ProgramRun run;
    ASSERT_TRUE(run.start("game", {"-novs"}));
    ASSERT_TRUE(run.waitForLog("free video memory:")) << run.log() << run.errors();
    EXPECT_NE(run.log().find("init d3d ok (1920x1080)"), std::string::npos) << run.log();
    ASSERT_TRUE(run.findWindow("ZENTREL! DEMO"));
    run.xdotool("key alt+F4");
    EXPECT_EQ(run.waitForExit(), 0);
}

// Whatever lies in place of a data file, the game neither hangs nor
// allocates what the file claims: it ends with that file's message, or plays
// on without the files it can do without (the icon, the settings).
TEST(GameProgram, HostileDataFilesEndWithTheirMessageOrAreDoneWithout) {
    enum Shape { Fifo, Folder, Bytes };
    struct Case {
        const char* file;  // in the program folder; "settings" is the settings file
        Shape shape;
        std::string bytes;
        const char* message;  // null: the game starts
        const char* logLine;
    };
    const Case cases[] = {
        {"hero_body.png", Fifo, "", "can't load hero voxel sprites", nullptr},
        {"robot1.png", Folder, "", "can't load enemy voxel sprites", nullptr},
        {"font.tga", Fifo, "", "can't load font.tga", nullptr},
        {"cache/cube.sh.cache", Fifo, "", "can't create shader from cache for 'cube.sh'", nullptr},
        {"cache/font.sh.cache", Folder, "", "can't create shader from cache for 'font.sh'", nullptr},
        {"hero_legs0.png", Bytes, hostile::hugeChunkPng(), "can't load hero voxel sprites", nullptr},
        {"robot1.png", Bytes, hostile::spriteHeaderPng(256, 256, 17), "can't load enemy voxel sprites",
         "voxel sprite too large: 'robot1.png'"},
        {"icon.tga", Fifo, "", nullptr, nullptr},
        {"settings", Fifo, "", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        ProgramRun run;
        std::string path = run.folder + "/" + c.file;
        if (!strcmp(c.file, "settings")) {
            std::string dir = run.config + "/Pelnaro Games/ZENTREL";
            ASSERT_EQ(system(("mkdir -p '" + dir + "'").c_str()), 0);
            path = dir + "/settings";
            ASSERT_TRUE(hostile::writeBytes(path, ""));
        }
        bool made = c.shape == Fifo     ? hostile::replaceByFifo(path)
                    : c.shape == Folder ? hostile::replaceByFolder(path)
                                        : hostile::writeBytes(path, c.bytes);
        ASSERT_TRUE(made) << c.file;
        ASSERT_TRUE(run.start("game", {"-360"}));
        if (!c.message) {
            EXPECT_TRUE(run.waitForLog("free video memory:")) << c.file << "\n" << run.log() << run.errors();
            continue;
        }
        EXPECT_EQ(run.waitForExit(5), 100) << c.file << "\n" << run.log() << run.errors();
        EXPECT_NE(run.errors().find(c.message), std::string::npos) << c.file << "\n" << run.errors();
        if (c.logLine) {
            EXPECT_NE(run.log().find(c.logLine), std::string::npos) << c.file << "\n" << run.log();
        }
        EXPECT_LT(run.maxResidentKb, 300 * 1024) << c.file;
    }
}

// Without a window manager the X window keeps its size in full screen, so
// the switch is read from the device's log lines.
TEST(GameProgram, AltEnterSwitchesToFullScreenAndBack) {
    ProgramRun run;
    ASSERT_TRUE(run.start("game", {"-360", "-novs"}));
    ASSERT_TRUE(run.waitForLog("free video memory:"));
    ASSERT_TRUE(run.findWindow("ZENTREL! DEMO"));
    run.xdotool("key alt+Return");
    EXPECT_TRUE(run.waitForLog("resized d3d to 1920x1080 fullscreen", 10)) << run.log();
    EXPECT_TRUE(run.waitForLog("3d pixel scale: 9", 10));
    run.xdotool("windowfocus --sync %w");
    run.xdotool("key alt+Return");
    EXPECT_TRUE(run.waitForLog("resized d3d to 640x360 windowed", 10)) << run.log();
    run.xdotool("key alt+F4");
    EXPECT_EQ(run.waitForExit(), 0);
}

// ARGB of a screenshot pixel, (x, y) counted from the top-left.
static uint32_t pixelAt(const DynArray<uint32_t>& px, int w, int h, int x, int y) {
    return px[(h - 1 - y) * w + x] & 0xFFFFFF;
}

// The GUI's 40 x 30 units at scale 3 (24 pixels a unit) centred in
// 1280 x 720: a 12 x 5 unit button plus its 3-pixel borders. The game's GUI
// renderer turns a GUI y into the text layer's height - y - 1, which puts
// every box one row lower on screen than its GUI rectangle.
// The same button at rest in the window's pixels (rows from the top).
static bool buttonShown(const Capture& c, int left, int guiTop) {
    int top = guiTop + 1;
    int right = left + 12 * 24 + 6 - 1, bottom = top + 5 * 24 + 6 - 1;
    if (c.width != 1280 || c.height != 720) return false;
    return c.at(left, top + 40) == 0x505050u && c.at(left + 40, top) == 0x505050u &&
           c.at(right, top + 40) == 0x1E1E1Eu && c.at(left + 40, bottom) == 0x1E1E1Eu &&
           c.at(left + 10, top + 10) == 0x323232u;
}

static void expectButtonAt(const DynArray<uint32_t>& px, int w, int h, int left, int guiTop) {
    int top = guiTop + 1;
    int right = left + 12 * 24 + 6 - 1, bottom = top + 5 * 24 + 6 - 1;
    EXPECT_EQ(pixelAt(px, w, h, left, top + 40), 0x505050u) << "left border at " << left;
    EXPECT_EQ(pixelAt(px, w, h, left + 40, top), 0x505050u) << "top border at " << top;
    EXPECT_EQ(pixelAt(px, w, h, right, top + 40), 0x1E1E1Eu) << "right border at " << right;
    EXPECT_EQ(pixelAt(px, w, h, left + 40, bottom), 0x1E1E1Eu) << "bottom border at " << bottom;
    EXPECT_EQ(pixelAt(px, w, h, left + 10, top + 10), 0x323232u);
    EXPECT_EQ(pixelAt(px, w, h, left - 1, top + 40), 0u);
}

TEST(GameProgram, UpgradeAndEndScreensThenQuit) {
    ProgramRun run;
    ASSERT_TRUE(run.start("game", {"-720", "-novs"}));
    ASSERT_TRUE(run.waitForLog("free video memory:"));
    ASSERT_TRUE(run.findWindow("ZENTREL! DEMO"));
    run.xdotool("mousemove --window %w 5 5");
    const int goLeft = 1120 - 5 * 24 - 294, quitLeft = 160 + 5 * 24, buttonTop = 720 - 24 - 126;
    auto showsGo = [&](const Capture& c) { return buttonShown(c, goLeft, buttonTop); };
    auto showsEnd = [&](const Capture& c) {
        return buttonShown(c, quitLeft, buttonTop) && buttonShown(c, goLeft, buttonTop);
    };
    run.xdotool("key F3");  // the level ends as if the exit was reached
    ASSERT_TRUE(run.waitForPicture(showsGo)) << "no upgrade screen after the elevator ride";
    run.xdotool("key Print");
    ASSERT_TRUE(run.waitForLog(shotTaken, 10, 1)) << run.log();
    // "GO!" sits 5 units from the right and 1 unit from the bottom of the root.
    run.xdotool("mousemove --window %w 853 633");
    run.xdotool("click 1");
    run.xdotool("mousemove --window %w 5 5");
    // The level fills the right edge that the screens leave black.
    auto showsLevel = [](const Capture& c) { return c.width == 1280 && c.at(1230, 360) != 0 && c.at(1230, 100) != 0; };
    ASSERT_TRUE(run.waitForPicture(showsLevel)) << "GO! did not start the next level";
    run.xdotool("key F3");
    ASSERT_TRUE(run.waitForPicture(showsEnd)) << "no end screen after the second level";
    run.xdotool("key Print");
    ASSERT_TRUE(run.waitForLog(shotTaken, 10, 2)) << run.log();

    std::vector<std::string> shots = run.shots();
    ASSERT_EQ(shots.size(), 2u) << run.log();
    int w, h;
    DynArray<uint32_t> upgrade, end;
    ASSERT_TRUE(readShot(run, shots[0], &w, &h, upgrade));
    ASSERT_TRUE(readShot(run, shots[1], &w, &h, end));
    ASSERT_EQ(w, 1280);
    expectButtonAt(upgrade, w, h, 1120 - 5 * 24 - 294, 720 - 24 - 126);           // "GO!"
    int yellow = 0;
    for (int y = 20; y < 110; y++)
        for (int x = 360; x < 920; x++) yellow += pixelAt(upgrade, w, h, x, y) == 0xFFF000u;
    EXPECT_GT(yellow, 5000) << "the yellow title";
    expectButtonAt(end, w, h, 160 + 5 * 24, 720 - 24 - 126);                       // "Quit"
    expectButtonAt(end, w, h, 1120 - 5 * 24 - 294, 720 - 24 - 126);               // "Restart"

    run.xdotool("mousemove --window %w 427 633");  // "Quit"
    run.xdotool("click 1");
    EXPECT_EQ(run.waitForExit(), 0) << run.errors();
    EXPECT_NE(run.log().find("closed all systems"), std::string::npos);
}
