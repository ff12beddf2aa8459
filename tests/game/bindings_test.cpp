#include <gtest/gtest.h>
#include <cstring>
#include "bindings.h"
#include "input.h"
#include "temp_settings.h"

// What a settings file may hold, and what the bindings become.
TEST(Bindings, ReadFallsBackToDefaultsForWhatIsWrong) {
    struct Case {
        const char* file;
        int action;
        int expected[BindingSlots];
        const char* logged = "";  // a line the read must log
    } cases[] = {
        {"", BindJump, {'W', VK_UP, VK_SPACE}},
        {"bind_jump_1=dword:0x0000004B\n", BindJump, {'K', VK_UP, VK_SPACE}},
        {"bind_jump_3=dword:0x00000000\n", BindJump, {'W', VK_UP, 0}},            // emptied on purpose
        {"bind_jump_1=dword:0x00012345\n", BindJump, {'W', VK_UP, VK_SPACE}},     // out of range
        {"bind_jump_1=dword:0x000000FF\n", BindJump, {'W', VK_UP, VK_SPACE}},     // no such key
        {"bind_jump_1=sz:space\n", BindJump, {'W', VK_UP, VK_SPACE}},             // not a dword
        {"bind_jump_1=dword:zz\ngarbage\n", BindJump, {'W', VK_UP, VK_SPACE}},    // garbage
        // One key on two actions: the first in the table keeps it; the
        // other gets its default, or an empty slot when that is taken.
        {"bind_run_left_1=dword:0x44\n", BindRunLeft, {'D', VK_LEFT, 0}},
        {"bind_run_left_1=dword:0x44\n", BindRunRight, {0, VK_RIGHT, 0}},
        {"bind_run_left_1=dword:0x41\nbind_jump_1=dword:0x41\n", BindJump, {'W', VK_UP, VK_SPACE}},
        {"bind_jump_2=dword:garbage\n", BindJump, {'W', VK_UP, VK_SPACE}, "bind_jump_2: not a key code"},
        {"bind_jump_2=dword:-5\n", BindJump, {'W', VK_UP, VK_SPACE}, "bind_jump_2: not a key code"},
        {"bind_jump_2=\n", BindJump, {'W', VK_UP, VK_SPACE}, "bind_jump_2: not a key code"},
        {"bind_overlay_1=dword:0x72\n", BindOverlay, {VK_F1, 0, 0}, "bind_overlay_1: F3 can't be bound"},
        {"bind_fire_3=dword:0x2C\n", BindFire, {VK_LBUTTON, VK_RBUTTON, 0}, "Print Screen: Screenshot only"},
        {"bind_pause_1=dword:0\nbind_pause_2=dword:0\n", BindPause, {'P', VK_PAUSE, 0}, "pause: no keys, back"},
        {"bind_jump_1=dword:0x50\nbind_pause_2=dword:0\n", BindPause, {VK_PAUSE, 0, 0}, "pause: no keys, back"},
    };
    for (const Case& c : cases) {
        TempSettings settings;
        settings.write(c.file);
        testing::internal::CaptureStdout();
        readBindings();
        EXPECT_NE(testing::internal::GetCapturedStdout().find(c.logged), std::string::npos) << c.file;
        for (int s = 0; s < BindingSlots; s++)
            EXPECT_EQ(bindings[c.action][s], c.expected[s]) << c.file << " slot " << s;
        // Whatever was read, no key gives two actions.
        for (int vk = 1; vk < 256; vk++) {
            int uses = 0;
            for (auto& action : bindings)
                for (int k : action) uses += k == vk;
            EXPECT_LE(uses, 1) << c.file << " key " << vk;
        }
    }
    resetBindingsToDefaults();
}

TEST(Bindings, BindMovesTheKeyStoresBothAndDefaultsRestore) {
    TempSettings settings;
    resetBindingsToDefaults();
    EXPECT_FALSE(bindKey(BindJump, 255)) << "not a key";
    EXPECT_FALSE(bindKey(BoundActionCount, 'K'));
    int refused[][2] = {{BindJump, VK_F3}, {BindOverlay, VK_F4}, {BindJump, VK_SNAPSHOT}, {BindFire, VK_F1}};
    for (auto& r : refused) EXPECT_FALSE(bindKey(r[0], r[1])) << r[1];
    EXPECT_TRUE(bindKey(BindScreenshot, VK_SNAPSHOT) && bindKey(BindOverlay, VK_F1));
    for (int vk = 1; vk < 256; vk++)  // every row fits three short names
        if (bindableKey(vk)) { EXPECT_LE(strlen(bindingKeyShortName(vk)), 5u) << bindingKeyName(vk); }

    ASSERT_TRUE(bindKey(BindFire, 'D'));  // from Run right into Fire's free slot
    EXPECT_EQ(bindings[BindRunRight][0], VK_RIGHT);
    EXPECT_EQ(bindings[BindRunRight][1], 0);
    EXPECT_EQ(bindings[BindFire][2], 'D');
    EXPECT_EQ(TempSettings::stored("bind_run_right_1"), (uint32_t)VK_RIGHT);
    EXPECT_EQ(TempSettings::stored("bind_run_right_2"), 0u);
    EXPECT_EQ(TempSettings::stored("bind_fire_3"), (uint32_t)'D');
    ASSERT_TRUE(bindKey(BindFire, 'K'));  // full: the last slot goes
    EXPECT_EQ(bindings[BindFire][2], 'K');

    readBindings();  // as at the next start
    EXPECT_EQ(bindings[BindFire][2], 'K');
    EXPECT_EQ(bindings[BindRunRight][1], 0);

    restoreDefaultBindings();
    EXPECT_EQ(bindings[BindRunRight][0], 'D');
    EXPECT_EQ(TempSettings::stored("bind_fire_3"), 0u);
    EXPECT_EQ(TempSettings::stored("bind_run_right_1"), (uint32_t)'D');
}
