// The installed programs and the Debian package, used as a player would:
// started from a read-only system folder with a private home folder.
#include <gtest/gtest.h>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include "install_tree.h"
#include "launcher_driver.h"
#include "launcher_screen.h"
#include "program_run.h"
#include "tga.h"

namespace fs = std::filesystem;

namespace {

const char* const appId = "org.example.zentrel";

// Every file a prefix holds after the install, and nothing else: no tests,
// benchmarks, tools, test data or test shader caches.
std::set<std::string> expectedFiles() {
    std::set<std::string> files = {
        "bin/zentrel",
        "lib/zentrel/game", "lib/zentrel/launcher", "lib/zentrel/installed",
        "lib/zentrel/font.tga", "lib/zentrel/icon.tga",
        "lib/zentrel/hero_body.png", "lib/zentrel/hero_arm.png", "lib/zentrel/hero_legs0.png",
        "lib/zentrel/hero_legs2.png", "lib/zentrel/heart.png", "lib/zentrel/robot1.png",
        "lib/zentrel/cache/cube.sh.cache", "lib/zentrel/cache/debug_vis.sh.cache",
        "lib/zentrel/cache/font.sh.cache", "lib/zentrel/cache/postfx_none.sh.cache",
        "share/applications/" + std::string(appId) + ".desktop",
        "share/metainfo/" + std::string(appId) + ".metainfo.xml",
        "share/man/man6/zentrel.6.gz",
        "share/doc/zentrel/README.md", "share/doc/zentrel/LICENSE", "share/doc/zentrel/changelog.gz",
        "share/doc/zentrel/copyright",
    };
    for (const auto& e : fs::directory_iterator("sounds"))
        files.insert("lib/zentrel/sounds/" + e.path().filename().string());
    for (const char* size : {"32x32", "64x64", "128x128", "256x256"})
        files.insert("share/icons/hicolor/" + std::string(size) + "/apps/" + appId + ".png");
    return files;
}

std::set<std::string> filesBelow(const std::string& folder) {
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (!e.is_directory()) files.insert(fs::relative(e.path(), folder).string());
    return files;
}

uint32_t bigEndian(const std::string& b, size_t at) {
    return (uint32_t)(uint8_t)b[at] << 24 | (uint32_t)(uint8_t)b[at + 1] << 16 | (uint32_t)(uint8_t)b[at + 2] << 8 |
           (uint8_t)b[at + 3];
}

// Files in folder, sorted.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (fs::is_directory(folder))
        for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(Install, LaysOutProgramFolderMenuEntryIconsAndMetadata) {
    InstallTree tree;
    ASSERT_TRUE(tree.ok) << tree.output;
    EXPECT_EQ(filesBelow(tree.prefix), expectedFiles());
    EXPECT_TRUE(fs::status(tree.prefix + "/bin/zentrel").permissions() == (fs::perms::owner_exec | fs::perms::owner_read |
                                                                            fs::perms::group_exec | fs::perms::group_read |
                                                                            fs::perms::others_exec | fs::perms::others_read));

    // The installed caches name no source files: D is one empty name.
    for (const std::string& cache : namesIn(tree.programFolder() + "/cache")) {
        std::string bytes = readWholeFile(tree.programFolder() + "/cache/" + cache);
        ASSERT_GT(bytes.size(), 17u) << cache;
        EXPECT_EQ(bytes.substr(4, 4), std::string("\1\0\0\0", 4)) << cache;
        EXPECT_EQ(bytes[16], 0) << cache;
    }
    // Icons: square PNGs of the size their folder names.
    for (int size : {32, 64, 128, 256}) {
        std::string png = readWholeFile(tree.prefix + "/share/icons/hicolor/" + std::to_string(size) + "x" +
                                        std::to_string(size) + "/apps/" + appId + ".png");
        ASSERT_GT(png.size(), 24u) << size;
        EXPECT_EQ(png.substr(1, 3), "PNG");
        EXPECT_EQ(bigEndian(png, 16), (uint32_t)size);
        EXPECT_EQ(bigEndian(png, 20), (uint32_t)size);
    }

    int status = -1;
    std::string out = runShell("desktop-file-validate '" + tree.prefix + "/share/applications/" + appId + ".desktop'",
                               &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out, "");
    out = runShell("appstreamcli validate --no-net '" + tree.prefix + "/share/metainfo/" + appId + ".metainfo.xml'",
                   &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(readWholeFile(tree.prefix + "/share/metainfo/" + appId + ".metainfo.xml")
                  .find("<release version=\"" ZENTREL_VERSION "\""), std::string::npos);
    std::string desktop = readWholeFile(tree.prefix + "/share/applications/" + appId + ".desktop");
    EXPECT_NE(desktop.find("\nExec=zentrel\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nCategories=Game;ActionGame;\n"), std::string::npos) << desktop;
}

// Print Screen in the installed game writes into the player's pictures
// folder, never beside the program; a pictures folder that cannot be made
// costs that one screenshot, with a line naming it. The log lands in the
// state folder as well as on standard output.
TEST(Install, InstalledGameWritesScreenshotsToPicturesAndItsLogToTheStateFolder) {
    InstallTree tree;
    ASSERT_TRUE(tree.ok) << tree.output;
    ProgramRun run(ProgramRun::InPlace(), tree.programFolder());
    run.env = tree.environment();
    ASSERT_TRUE(run.start("game", {"-720"}));
    ASSERT_TRUE(run.waitForLog("free video memory:")) << run.log() << run.errors();
    ASSERT_TRUE(run.findWindow("ZENTREL! DEMO"));
    run.xdotool("key Print");
    ASSERT_TRUE(run.waitForLog("screenshot captured to '" + tree.picturesFolder() + "/shot", 10)) << run.log();
    std::vector<std::string> shots = namesIn(tree.picturesFolder());
    ASSERT_EQ(shots.size(), 1u);
    int w = 0, h = 0;
    DynArray<uint32_t> pixels;
    ASSERT_TRUE(readTgaFile((tree.picturesFolder() + "/" + shots[0]).c_str(), w, h, pixels));
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 720);

    // The player's user-dirs.dirs now names a pictures folder below a plain file.
    fs::create_directories(tree.home + "/.config");
    std::ofstream(tree.home + "/blocked") << "a file, not a folder";
    std::ofstream(tree.home + "/.config/user-dirs.dirs") << "# from xdg-user-dirs\n"
                                                             "XDG_PICTURES_DIR=\"$HOME/blocked/Pictures\"\n";
    run.xdotool("key Print");
    EXPECT_TRUE(run.waitForLog("can't write screenshots into '" + tree.home + "/blocked/Pictures/ZENTREL'", 10))
        << run.log();

    run.xdotool("key alt+F4");
    EXPECT_EQ(run.waitForExit(), 0) << run.errors();
    EXPECT_EQ(readWholeFile(tree.stateFolder() + "/game.log"), run.log());
    EXPECT_NE(run.log().find("app path: '" + tree.programFolder() + "/'"), std::string::npos) << run.log();
    EXPECT_EQ(filesBelow(tree.prefix), expectedFiles()) << "the game wrote into its program folder";
}

// The command a player types (and the desktop entry runs) brings up the
// launcher, whose "Play" starts the installed game.
TEST(Install, CommandStartsTheLauncherAndPlayStartsTheInstalledGame) {
    InstallTree tree;
    ASSERT_TRUE(tree.ok) << tree.output;
    ReferenceScreen reference(640, 480);
    int playX = 0, playY = 0;
    reference.buttonCentre(CmdPlay, &playX, &playY);

    LauncherRun run(false);
    run.program = tree.prefix + "/bin/zentrel";
    run.env = tree.environment();
    ASSERT_TRUE(run.start()) << run.readLog();
    run.click(playX, playY);
    EXPECT_EQ(run.waitForExit(), 0) << run.readLog();
    EXPECT_NE(readWholeFile(tree.stateFolder() + "/launcher.log").find("app path: '" + tree.programFolder() + "/'"),
              std::string::npos)
        << run.readLog();

    std::string gameLog = tree.stateFolder() + "/game.log";
    ASSERT_TRUE(waitForFileText(gameLog, "free video memory:")) << readWholeFile(gameLog) << run.readLog();
    EXPECT_NE(readWholeFile(gameLog).find("app path: '" + tree.programFolder() + "/'"), std::string::npos);
    // The game ends in order on a termination request.
    std::string pid = runShell("xdotool search --sync --name 'ZENTREL! DEMO' getwindowpid");
    ASSERT_GT(atoi(pid.c_str()), 0) << pid;
    kill(atoi(pid.c_str()), SIGTERM);
    EXPECT_TRUE(waitForFileText(gameLog, "closed all systems", 10)) << readWholeFile(gameLog);
}

// The package as a player's package manager gets it: its file list, its
// fields, stripped programs, lintian's verdict, and an unpacked tree that runs.
TEST(Package, BuildsAPackageThatListsItsFilesPassesLintianAndStarts) {
    InstallTree scratch(false);  // a private folder and home for the package and its unpacked tree
    std::string out = scratch.root + "/package";
    int status = -1;
    std::string log = runShell("'" ZENTREL_CPACK "' --config '" ZENTREL_BUILD_DIR "/CPackConfig.cmake' -B '" + out + "'",
                               &status);
    ASSERT_EQ(status, 0) << log;
    std::string deb = out + "/zentrel_" ZENTREL_VERSION "_amd64.deb";
    ASSERT_TRUE(fs::exists(deb)) << log;

    std::string contents = runShell("dpkg-deb -c '" + deb + "'");
    for (const std::string& f : expectedFiles()) EXPECT_NE(contents.find(" ./usr/" + f + "\n"), std::string::npos) << f;
    EXPECT_NE(contents.find(" ./usr/games/zentrel -> ../bin/zentrel\n"), std::string::npos) << contents;
    std::string fields = runShell("dpkg-deb -f '" + deb + "' Package Version Architecture Depends Description");
    for (const char* field : {"Package: zentrel\n", "Version: " ZENTREL_VERSION "\n", "Architecture: amd64\n",
                              "libsdl2-2.0-0", "libpng16-16", "libepoxy0", "Description: side-on platform shooter"})
        EXPECT_NE(fields.find(field), std::string::npos) << field << " in\n" << fields;

    std::string lintian = runShell("lintian --fail-on error '" + deb + "'", &status);
    EXPECT_EQ(status, 0) << lintian;
    EXPECT_EQ(lintian.find("\nE: "), std::string::npos) << lintian;

    std::string tree = scratch.root + "/unpacked";
    ASSERT_EQ(runShell("dpkg-deb -x '" + deb + "' '" + tree + "'", &status), "");
    for (const char* program : {"game", "launcher"})
        EXPECT_NE(runShell("file '" + tree + "/usr/lib/zentrel/" + program + "'").find(", stripped"),
                  std::string::npos)
            << program;
    ProgramRun run(ProgramRun::InPlace(), tree + "/usr/lib/zentrel");
    run.env = scratch.environment();
    ASSERT_TRUE(run.start("game", {"-360"}));
    EXPECT_TRUE(run.waitForLog("free video memory:")) << run.log() << run.errors();
    EXPECT_NE(run.log().find("loaded shader 'cube.sh' from cache"), std::string::npos);
    kill(run.pid, SIGTERM);
    EXPECT_EQ(run.waitForExit(), 0) << run.errors();

    // Packaging stages its files outside the build's program folder.
    EXPECT_EQ(runShell("find '" ZENTREL_BUILD_DIR "/bin' -mindepth 2 '(' -name game -o -name launcher ')'"), "");
}
