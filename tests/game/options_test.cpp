#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "options.h"
#include "settings.h"
#include "temp_settings.h"

// Each case reads from its own empty settings folder.
class Options : public ::testing::Test {
protected:
    TempSettings settings;
    void read(std::initializer_list<const char*> args) {
        std::vector<const char*> argv = {"game"};
        argv.insert(argv.end(), args.begin(), args.end());
        readSettings((int)argv.size(), argv.data());
    }
};

TEST_F(Options, DefaultsWithoutSettingsOrArguments) {
    read({});
    EXPECT_FALSE(optFullscreen);
    EXPECT_FALSE(optAntiAlias);
    EXPECT_TRUE(optVSync);
    EXPECT_FALSE(optFastVoxels);
    EXPECT_EQ(optWidth, 0);
    EXPECT_EQ(optHeight, 0);
}

TEST_F(Options, FlagsThenArgumentsInOrder) {
    ASSERT_TRUE(writeSettingDword("flags", 0xF));
    read({});
    EXPECT_TRUE(optFullscreen && optAntiAlias && optVSync && optFastVoxels);
    read({"-720", "-360", "-fullscr", "-win", "-noaa", "-novs"});
    EXPECT_EQ(optWidth, 640);
    EXPECT_EQ(optHeight, 360);
    EXPECT_FALSE(optFullscreen);
    EXPECT_FALSE(optAntiAlias);
    EXPECT_FALSE(optVSync);
    EXPECT_TRUE(optFastVoxels);  // no argument touches it
    ASSERT_TRUE(writeSettingDword("flags", 0));
    read({"-AA", "-aa ", "aa", "-vs", "-360", "-720"});
    EXPECT_FALSE(optAntiAlias);  // case and exact match matter
    EXPECT_TRUE(optVSync);
    EXPECT_EQ(optWidth, 1280);
    EXPECT_EQ(optHeight, 720);
}

TEST_F(Options, CorruptFlagsLeaveTheDefaults) {
    ASSERT_TRUE(writeSetting("flags", SettingString, "5", 2));
    read({});
    EXPECT_TRUE(optVSync);
    EXPECT_FALSE(optFullscreen);
}

TEST(RecordedRunOption, FileAfterTheOptionAndTheLastOneCounts) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        RecordedRunMode mode;
        const char* path;
    };
    const Case cases[] = {
        {{"game", "-720"}, true, RunPlay, nullptr},
        {{"game", "-record", "a.zrec", "-720"}, true, RunRecord, "a.zrec"},
        {{"game", "-replay", "-720"}, true, RunReplay, "-720"},  // the argument after it is the file
        {{"game", "-record", "a", "-verify", "b"}, true, RunVerify, "b"},
        {{"game", "-aa", "-verify"}, false, RunPlay, nullptr},
        {{"game", "-replay", ""}, false, RunPlay, nullptr},
        {{"game", "-Record", "a"}, true, RunPlay, nullptr},
    };
    for (const Case& c : cases) {
        RecordedRunOption o;
        FixedString<64> error;
        bool ok = readRecordedRunOption((int)c.args.size(), c.args.data(), &o, &error);
        EXPECT_EQ(ok, c.ok) << c.args.back();
        if (!ok) {
            EXPECT_NE(strstr(error, "needs a file name"), nullptr) << error.c_str();
            continue;
        }
        EXPECT_EQ(o.mode, c.mode) << c.args.back();
        if (c.path) { EXPECT_STREQ(o.path, c.path); }
        else EXPECT_EQ(o.path, nullptr);
    }
}
