#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include "qz_utils.h"
#include "test_files.h"
#include "user_folders.h"
#include "windows_compat.h"

namespace fs = std::filesystem;

// A private root with a home folder; the XDG variables start unset.
class UserFolders : public ::testing::Test {
protected:
    TempFolder temp;
    std::string root = temp.path, home = root + "/home";
    void SetUp() override {
        fs::create_directories(home);
        temp.setEnv("HOME", home.c_str());
        for (const char* v : {"XDG_CONFIG_HOME", "XDG_STATE_HOME"}) temp.setEnv(v, nullptr);
    }
    void TearDown() override { initAppPath(); }
    void write(const std::string& path, const std::string& text) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path) << text;
    }
    std::string pictures() {
        char out[QZ_MAX_PATH];
        return picturesFolder(out, sizeof out) ? out : "(none)";
    }
};

TEST_F(UserFolders, PicturesFolderFollowsUserDirsElseHomePictures) {
    SKIP_ON_WINDOWS("XDG user-dirs; Windows has its Pictures known folder");
    struct Case {
        const char* userDirs;  // content of user-dirs.dirs, null for none
        const char* expected;  // "~" stands for HOME
    } cases[] = {
        {nullptr, "~/Pictures"},
        {"XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "~/Bilder"},
        {"# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n  XDG_PICTURES_DIR=\"/srv/pics\"\n",
         "/srv/pics"},
        {"XDG_PICTURES_DIR=\"$HOME/My \\\"best\\\" shots\"", "~/My \"best\" shots"},
        {"XDG_PICTURES_DIR=$HOME/Unquoted\n", "~/Pictures"},
        {"XDG_PICTURES_DIR=\"Relative\"\n", "~/Pictures"},
        {"XDG_PICTURES_DIR=\"$HOME/Unterminated\n", "~/Pictures"},
        {"XDG_PICTURES_DIR=\"$HOMEWORK\"\n", "~/Pictures"},
    };
    for (const Case& c : cases) {
        fs::remove_all(home + "/.config");
        if (c.userDirs) write(home + "/.config/user-dirs.dirs", c.userDirs);
        std::string expected = c.expected[0] == '~' ? home + (c.expected + 1) : c.expected;
        EXPECT_EQ(pictures(), expected) << (c.userDirs ? c.userDirs : "no user-dirs.dirs");
    }
    // Not read when larger than any real one, nor when not a regular file
    // (a FIFO would hang Print Screen).
    std::string dirs = home + "/.config/user-dirs.dirs";
    write(dirs, "XDG_PICTURES_DIR=\"/srv/pics\"\n" + std::string(65536, '#'));
    EXPECT_EQ(pictures(), home + "/Pictures");
    fs::remove(dirs);
    ASSERT_EQ(mkfifo(dirs.c_str(), 0600), 0);
    EXPECT_EQ(pictures(), home + "/Pictures");
    fs::remove_all(home + "/.config");

    // The file is looked up in XDG_CONFIG_HOME when that holds an absolute path.
    write(root + "/config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Elsewhere\"\n");
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    EXPECT_EQ(pictures(), home + "/Elsewhere");
    setenv("XDG_CONFIG_HOME", "config", 1);
    EXPECT_EQ(pictures(), home + "/Pictures");
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(pictures(), "(none)");
}

TEST_F(UserFolders, StateFolderHoldsTheLogOfTheLastRunWhenItCan) {
    SKIP_ON_WINDOWS("XDG_STATE_HOME, FIFOs and links; Windows keeps logs in %LOCALAPPDATA%\\ZENTREL");
    struct Case {
        const char* stateHome;  // null: unset
        std::string expected;
    } cases[] = {
        {nullptr, home + "/.local/state/zentrel"},
        {"/var/tmp/state", "/var/tmp/state/zentrel"},
        {"relative/state", home + "/.local/state/zentrel"},
    };
    char out[QZ_MAX_PATH];
    for (const Case& c : cases) {
        if (c.stateHome) setenv("XDG_STATE_HOME", c.stateHome, 1);
        else unsetenv("XDG_STATE_HOME");
        ASSERT_TRUE(stateFolder(out, sizeof out));
        EXPECT_EQ(std::string(out), c.expected);
    }

    // A state folder below a plain file: no log file, and logging goes on.
    write(root + "/blocked", "a file");
    setenv("XDG_STATE_HOME", (root + "/blocked/state").c_str(), 1);
    EXPECT_FALSE(makeStateFolder(out, sizeof out));
    EXPECT_FALSE(openLogFile(nullptr, "test.log"));
    logMessage("still logging");

    // Whatever is in the log's place that is not a regular file is left as
    // it is (a FIFO without waiting on it), and there is no log file.
    setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
    ASSERT_TRUE(makeStateFolder(out, sizeof out));
    std::string folder = out, log = folder + "/test.log", other = root + "/other";
    write(other, "someone else's\n");
    for (int (*make)(const char* path, const char* other) :
         {+[](const char* p, const char*) { return mkfifo(p, 0600); },
          +[](const char* p, const char*) { return mkdir(p, 0700); },
          +[](const char* p, const char* o) { return symlink(o, p); }}) {
        fs::remove_all(log);
        ASSERT_EQ(make(log.c_str(), other.c_str()), 0);
        EXPECT_FALSE(openLogFile(folder.c_str(), "test.log"));
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(log)));
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1) << "a temporary is left";
    }
    EXPECT_EQ(readWholeFile(other), "someone else's\n");

    // A regular file is replaced by a new one: an earlier run's, and a hard
    // link to it, keep what they held.
    fs::remove_all(log);
    write(log, "the run before\n");
    ASSERT_EQ(link(log.c_str(), (root + "/linked").c_str()), 0);
    ASSERT_TRUE(openLogFile(folder.c_str(), "test.log"));
    logMessage("line %d", 1);
    logText("part ");
    logMessage("two");
    EXPECT_EQ(readWholeFile(log), "line 1\npart two\n");
    EXPECT_EQ(readWholeFile(root + "/linked"), "the run before\n");
}

TEST_F(UserFolders, ScreenshotsStayBesideABuiltProgramAndGoToPicturesWhenInstalled) {
    SKIP_ON_WINDOWS("HOME and user-dirs; Windows takes Pictures from SHGetKnownFolderPath");
    std::string program = root + "/program/";
    fs::create_directories(program);
    snprintf(appPath, sizeof appPath, "%s", program.c_str());
    char out[QZ_MAX_PATH];

    ASSERT_TRUE(screenshotPath(out, sizeof out, "shots/shot1.tga"));
    EXPECT_STREQ(out, "shots/shot1.tga");
    EXPECT_TRUE(fs::is_directory(program + "shots"));

    write(program + installMarkerName, "installed\n");
    ASSERT_TRUE(programInstalled());
    ASSERT_TRUE(screenshotPath(out, sizeof out, "shots/shot2.tga"));
    EXPECT_EQ(std::string(out), home + "/Pictures/ZENTREL/shot2.tga");
    EXPECT_TRUE(fs::is_directory(home + "/Pictures/ZENTREL"));

    // A relative HOME: an absolute path into the folder made here.
    fs::path cwd = fs::current_path();
    fs::current_path(root);
    setenv("HOME", "relative", 1);
    ASSERT_TRUE(screenshotPath(out, sizeof out, "shots/shot4.tga"));
    fs::current_path(cwd);
    EXPECT_EQ(std::string(out), fs::canonical(root).string() + "/relative/Pictures/ZENTREL/shot4.tga");
    setenv("HOME", home.c_str(), 1);

    // Pictures below a plain file: refused with a line naming the folder.
    write(root + "/blocked", "a file");
    write(home + "/.config/user-dirs.dirs", "XDG_PICTURES_DIR=\"" + root + "/blocked/pics\"\n");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(screenshotPath(out, sizeof out, "shots/shot3.tga"));
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("can't write screenshots into '" + root + "/blocked/pics/ZENTREL'"), std::string::npos) << log;
    EXPECT_FALSE(fs::exists(program + "shots/shot3.tga"));
}
