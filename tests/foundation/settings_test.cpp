#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include "settings.h"

// Every case gets its own empty config folder.
class Settings : public ::testing::Test {
protected:
    std::string home;
    std::string file;
    void SetUp() override {
        char tmpl[] = "/tmp/zentrel-settings-XXXXXX";
        home = mkdtemp(tmpl);
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        file = home + "/Pelnaro Games/ZENTREL/settings";
    }
    void TearDown() override { system(("rm -rf '" + home + "'").c_str()); }
    void writeFile(const std::string& text) {
        system(("mkdir -p '" + home + "/Pelnaro Games/ZENTREL'").c_str());
        std::ofstream(file) << text;
    }
    std::string readFile() {
        std::ifstream in(file);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
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
    EXPECT_EQ(readFile(), "flags=dword:0x0000000F\n");
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
    writeFile("flags=dword:0x00000010\n");
    DisplayFlags f = readDisplayFlags();
    EXPECT_FALSE(f.fullscreen || f.antiAlias || f.vSync || f.fastVoxels);
    EXPECT_EQ(encodeFlags(defaultDisplayFlags()), 4u);
    EXPECT_EQ(encodeFlags(decodeFlags(0xFFFFFFFF)), 0xFu);
}

TEST_F(Settings, WrongTypeAndCorruptValuesReadAsAbsent) {
    uint32_t v = 9;
    for (const char* text : {"flags=sz:5\n", "flags=dword:0x1FFFFFFFF\n", "flags=dword:banana\n",
                             "flags=dword:-1\n", "flags=dword:\n", "flags\n", "\x01\x02garbage\xff\n"}) {
        writeFile(text);
        EXPECT_FALSE(readSettingDword("flags", &v)) << text;
        EXPECT_EQ(v, 9u);
        EXPECT_TRUE(readDisplayFlags().vSync);
    }
}

TEST_F(Settings, RewriteKeepsLinesItDoesNotUnderstand) {
    writeFile("# a comment\nother=sz:keep me\nflags=dword:0x00000001\nnonsense line\nflags=dword:0x00000002\n");
    ASSERT_TRUE(writeSettingDword("flags", 4));
    EXPECT_EQ(readFile(), "# a comment\nother=sz:keep me\nflags=dword:0x00000004\nnonsense line\n");
    uint32_t v = 0;
    EXPECT_TRUE(readSettingDword("flags", &v));
    EXPECT_EQ(v, 4u);
}

TEST_F(Settings, ReplaceIsAtomicAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(writeSettingDword("flags", 1));
    ASSERT_TRUE(writeSettingDword("flags", 2));
    std::string dir = home + "/Pelnaro Games/ZENTREL";
    FILE* ls = popen(("ls -A '" + dir + "'").c_str(), "r");
    char line[256];
    std::string names;
    while (fgets(line, sizeof line, ls)) names += line;
    pclose(ls);
    EXPECT_EQ(names, "settings\n");
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
    unsetenv("XDG_CONFIG_HOME");
    std::string oldHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", home.c_str(), 1);
    char path[4096];
    ASSERT_TRUE(settingsFilePath(path, sizeof path));
    EXPECT_EQ(std::string(path), home + "/.config/Pelnaro Games/ZENTREL/settings");
    setenv("HOME", oldHome.c_str(), 1);
}
