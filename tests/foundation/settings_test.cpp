#include <fcntl.h>
#include <gtest/gtest.h>
#include <filesystem>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <functional>
#include <fstream>
#include <sstream>
#include "settings.h"
#include "windows_compat.h"
#include "temp_settings.h"

// Every case gets its own empty config folder.
class Settings : public ::testing::Test {
protected:
    TempSettings settings;
    std::string home = settings.path;
    std::string file = home + "/Pelnaro Games/ZENTREL/settings";
    void SetUp() override {
        SKIP_ON_WINDOWS("the settings file; Windows keeps settings in the registry (settings_registry_test)");
    }
    // Names in the folder, one a line, sorted.
    static std::string listFolder(const std::string& dir) {
        std::set<std::string> sorted;
        for (const auto& e : std::filesystem::directory_iterator(dir)) sorted.insert(e.path().filename().string());
        std::string names;
        for (const std::string& n : sorted) names += n + "\n";
        return names;
    }
};

TEST_F(Settings, NoFileMeansDefaults) {
    uint32_t v = 77;
    EXPECT_FALSE(readSettingDword("flags", &v));
    EXPECT_EQ(v, 77u);
    DisplayFlags f = readDisplayFlags();
    EXPECT_FALSE(f.fullscreen);
    EXPECT_FALSE(f.antiAlias);
    EXPECT_TRUE(f.vSync);
    EXPECT_FALSE(f.fastVoxels);
}

TEST_F(Settings, WriteCreatesFoldersAndRoundTrips) {
    ASSERT_TRUE(writeSettingDword("flags", 0xF));
    EXPECT_EQ(readWholeFile(file), "flags=dword:0x0000000F\n");
    uint32_t v = 0;
    EXPECT_TRUE(readSettingDword("flags", &v));
    EXPECT_EQ(v, 0xFu);
    DisplayFlags f = readDisplayFlags();
    EXPECT_TRUE(f.fullscreen && f.antiAlias && f.vSync && f.fastVoxels);

    const char text[] = "hello";
    ASSERT_TRUE(writeSetting("name", SettingString, text, sizeof text));
    char buf[16];
    int size = sizeof buf;
    SettingType type;
    ASSERT_TRUE(readSetting("name", &type, buf, &size));
    EXPECT_EQ(type, SettingString);
    EXPECT_EQ(size, 6);
    EXPECT_STREQ(buf, "hello");
    size = 3;  // too small for the value
    EXPECT_FALSE(readSetting("name", &type, buf, &size));
}

TEST_F(Settings, FlagBitsAreTakenWhole) {
    settings.write("flags=dword:0x00000010\n");
    DisplayFlags f = readDisplayFlags();
    EXPECT_FALSE(f.fullscreen || f.antiAlias || f.vSync || f.fastVoxels);
    EXPECT_EQ(encodeFlags(defaultDisplayFlags()), 4u);
    EXPECT_EQ(encodeFlags(decodeFlags(0xFFFFFFFF)), 0xFu);
}

TEST_F(Settings, WrongTypeAndCorruptValuesReadAsAbsent) {
    uint32_t v = 9;
    for (const char* text : {"flags=sz:5\n", "flags=dword:0x1FFFFFFFF\n", "flags=dword:banana\n",
                             "flags=dword:-1\n", "flags=dword:\n", "flags\n", "\x01\x02garbage\xff\n"}) {
        settings.write(text);
        EXPECT_FALSE(readSettingDword("flags", &v)) << text;
        EXPECT_EQ(v, 9u);
        EXPECT_TRUE(readDisplayFlags().vSync);
    }
}

TEST_F(Settings, RewriteKeepsLinesItDoesNotUnderstand) {
    settings.write("# a comment\nother=sz:keep me\nflags=dword:0x00000001\nnonsense line\nflags=dword:0x00000002\n");
    ASSERT_TRUE(writeSettingDword("flags", 4));
    EXPECT_EQ(readWholeFile(file), "# a comment\nother=sz:keep me\nflags=dword:0x00000004\nnonsense line\n");
    uint32_t v = 0;
    EXPECT_TRUE(readSettingDword("flags", &v));
    EXPECT_EQ(v, 4u);
}

TEST_F(Settings, ReplaceIsAtomicAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(writeSettingDword("flags", 1));
    ASSERT_TRUE(writeSettingDword("flags", 2));
    std::string dir = home + "/Pelnaro Games/ZENTREL";
    std::string names = listFolder(dir);
    EXPECT_EQ(names, "settings\nsettings.lock\n");
}

// Two programs storing at once: every value of both is kept.
TEST_F(Settings, ConcurrentWritersKeepEveryValue) {
    auto name = [](int writer, int i) { return "w" + std::to_string(writer) + "_" + std::to_string(i); };
    pid_t writers[2];
    for (int w = 0; w < 2; w++)
        if ((writers[w] = fork()) == 0) {
            for (int i = 0; i < 200; i++)
                if (!writeSettingDword(name(w, i).c_str(), (uint32_t)i)) _exit(1);
            _exit(0);
        }
    for (pid_t pid : writers) {
        int status = -1;
        EXPECT_TRUE(waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    int kept = 0;
    for (int i = 0; i < 400; i++) kept += TempSettings::stored(name(i % 2, i / 2).c_str()) == (uint32_t)(i / 2);
    EXPECT_EQ(kept, 400);
}

TEST_F(Settings, UnwritablePlacesAndUnstorableValuesFail) {
    const char bad[] = "two\nlines";
    EXPECT_FALSE(writeSetting("name", SettingString, bad, sizeof bad));
    EXPECT_FALSE(writeSettingDword("a=b", 1));
    // A file that is in the way of the folder.
    std::ofstream(home + "/Pelnaro Games") << "x";
    EXPECT_FALSE(writeSettingDword("flags", 1));
    uint32_t v = 3;
    EXPECT_FALSE(readSettingDword("flags", &v));
}

TEST_F(Settings, HomeConfigWhenXdgIsUnset) {
    settings.setEnv("XDG_CONFIG_HOME", nullptr);
    settings.setEnv("HOME", home.c_str());
    char path[4096];
    ASSERT_TRUE(settingsFilePath(path, sizeof path));
    EXPECT_EQ(std::string(path), home + "/.config/Pelnaro Games/ZENTREL/settings");
}

// What is in the settings file's place decides whether a save may replace
// it; nothing the player or the system put there is lost or changed.
TEST_F(Settings, FilesThatMustNotBeReplacedAreKept) {
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* reason;  // of the refused save
    };
    const Case cases[] = {
        // Root may write anything, so the mode bits decide.
        {"read-only file", [&] { settings.write("flags=dword:0x00000001\n"); chmod(file.c_str(), 0444); }, "read-only"},
        // A FIFO would block the writer taking its lock.
        {"FIFO as the lock file", [&] { settings.write("flags=dword:1\n"); mkfifo((file + ".lock").c_str(), 0600); }, "lock"},
        // Rewriting "flags=dword:1" as 0x00000004 grows the file past what
        // the reader accepts, which would lose every value.
        {"file at the reader's limit",
         [&] { settings.write("flags=dword:1\n#" + std::string((1 << 20) - 3 - 16, '#') + "\n"); }, "the settings file is too large"},
        {"FIFO", [&] { settings.write(""); unlink(file.c_str()); mkfifo(file.c_str(), 0600); }, "not a regular file"},
        {"folder", [&] { settings.write(""); unlink(file.c_str()); mkdir(file.c_str(), 0700); }, "not a regular file"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(home + "/Pelnaro Games");
        c.make();
        struct stat before, after;
        ASSERT_EQ(lstat(file.c_str(), &before), 0) << c.what;
        uint32_t v = 0;
        bool read = readSettingDword("flags", &v);  // never waits on a FIFO
        EXPECT_EQ(read, S_ISREG(before.st_mode)) << c.what;
        EXPECT_FALSE(writeSettingDword("flags", 4)) << c.what;
        EXPECT_NE(std::string(settingsLastError()).find(c.reason), std::string::npos) << c.what << ": " << settingsLastError();
        ASSERT_EQ(lstat(file.c_str(), &after), 0) << c.what;
        EXPECT_EQ(after.st_mode, before.st_mode) << c.what;
        EXPECT_EQ(after.st_ino, before.st_ino) << c.what;
    }
    EXPECT_EQ(readWholeFile(file), "");  // the folder case: nothing readable in its place
}

// A stray zero byte is an ordinary character: the lines after it are read
// and kept when the file is rewritten.
TEST_F(Settings, LinesAfterAZeroByteAreReadAndKept) {
    static const char before[] = "note=sz:a\0b\nflags=dword:0x00000001\nafter=sz:kept\n";
    static const char after[] = "note=sz:a\0b\nflags=dword:0x00000004\nafter=sz:kept\n";
    settings.write(std::string(before, sizeof before - 1));
    uint32_t v = 0;
    EXPECT_TRUE(readSettingDword("flags", &v));
    EXPECT_EQ(v, 1u);
    ASSERT_TRUE(writeSettingDword("flags", 4));
    EXPECT_EQ(readWholeFile(file), std::string(after, sizeof after - 1));
}

// A link the user made stays a link: its target is replaced, keeping the
// target's permissions, and no temporary is left beside either.
TEST_F(Settings, SymbolicLinkIsFollowedAndItsTargetKeepsItsMode) {
    std::string real = home + "/elsewhere";
    mkdir(real.c_str(), 0700);
    std::ofstream(real + "/zentrel.conf") << "other=sz:kept\n";
    chmod((real + "/zentrel.conf").c_str(), 0640);
    settings.write("");
    unlink(file.c_str());
    ASSERT_EQ(symlink("../../elsewhere/zentrel.conf", file.c_str()), 0);  // relative to the link's folder

    ASSERT_TRUE(writeSettingDword("flags", 9)) << settingsLastError();
    struct stat st;
    ASSERT_EQ(lstat(file.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat((real + "/zentrel.conf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(readWholeFile(file), "other=sz:kept\nflags=dword:0x00000009\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(real), {}), 1);
}

// A save killed between writing and renaming leaves its temporary; the next
// save removes it, but not one a save in progress holds, nor other files.
TEST_F(Settings, TemporariesOfKilledSavesAreRemovedByTheNextSave) {
    settings.write("flags=dword:0x00000001\n");
    std::string dir = home + "/Pelnaro Games/ZENTREL/";
    for (const char* n : {"settings.Ab12Cd.tmp", "settings.inUse0.tmp", "settings.keep", "settings.backup",
                          "other.Ab12Cd.tmp"})
        std::ofstream(dir + n) << "partial";
    int held = open((dir + "settings.inUse0.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);  // as a running save holds its own

    ASSERT_TRUE(writeSettingDword("flags", 2));
    close(held);
    std::string names = listFolder(dir);
    EXPECT_EQ(names, "other.Ab12Cd.tmp\nsettings\nsettings.backup\nsettings.inUse0.tmp\nsettings.keep\nsettings.lock\n");
}
