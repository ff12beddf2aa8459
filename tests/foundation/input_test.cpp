#include <gtest/gtest.h>
#include <vector>
#include "fake_input_platform.h"

class Input : public ::testing::Test {
protected:
    FakeInputPlatform fake;
    void SetUp() override {
        inputInit(&fake);
        inputEndStep();
        pushInput(InputMove, 0, 0, 0, 0, 0);
        inputEndStep();
    }
    void TearDown() override { inputEndStep(); }
    std::vector<GuiInputRecord> drain() {
        std::vector<GuiInputRecord> out;
        GuiInputRecord r;
        while (popInput(&r)) out.push_back(r);
        return out;
    }
};

TEST_F(Input, AutoRepeatOnlyPressesOnce) {
    pushInput(InputKeyDown, 'A', 30, 0, 0, 0);
    EXPECT_TRUE(keyPressed('A'));
    inputEndStep();
    pushInput(InputKeyDown, 'A', 30, InputFlagRepeat, 0, 0);
    EXPECT_FALSE(keyPressed('A'));
    std::vector<GuiInputRecord> r = drain();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_TRUE(r[0].flags & InputFlagRepeat);
    EXPECT_EQ(r[0].character, (uint32_t)'a');
    EXPECT_EQ(lastKey(), (uint32_t)'A');
    EXPECT_EQ(lastChar(), (uint32_t)'a');
}

TEST_F(Input, PressAndReleaseInOneStepSetBothBits) {
    fake.held[VK_SHIFT] = true;
    pushInput(InputKeyDown, 'B', 0, 0, 0, 0);
    pushInput(InputKeyUp, 'B', 0, 0, 0, 0);
    EXPECT_TRUE(keyPressed('B'));
    EXPECT_TRUE(keyReleased('B'));
    std::vector<GuiInputRecord> r = drain();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].character, (uint32_t)'B');
    EXPECT_TRUE(r[0].flags & InputFlagShift);
    inputEndStep();
    EXPECT_FALSE(keyPressed('B'));
    EXPECT_FALSE(keyReleased('B'));
    EXPECT_EQ(lastKey(), 0u);
    // Print Screen only ever arrives as a release.
    pushInput(InputKeyUp, VK_SNAPSHOT, 0, 0, 0, 0);
    EXPECT_TRUE(keyReleased(VK_SNAPSHOT));
    EXPECT_FALSE(keyPressed(VK_SNAPSHOT));
}

TEST_F(Input, PositionsAreClampedToTheBackBuffer) {
    pushInput(InputMove, 0, 0, 0, -5, 10000);
    float x, y;
    mousePosition(&x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 719);
    // Key records carry the pointer position, not the message's.
    pushInput(InputKeyDown, 'C', 0, 0, 500, 500);
    std::vector<GuiInputRecord> r = drain();
    EXPECT_EQ(r[1].x, 0);
    EXPECT_EQ(r[1].y, 719);
}

TEST_F(Input, ButtonUpTakesTheLastMovePositionAndPutsTheCursorBack) {
    pushInput(InputMove, 0, 0, 0, 100.5f, 200.25f);
    fake.held[VK_LBUTTON] = true;
    pushInput(InputButtonDown, VK_LBUTTON, 0, 0, 100, 200);
    EXPECT_TRUE(fake.captured);
    EXPECT_TRUE(keyPressed(VK_LBUTTON));
    refreshCursorInside();
    fake.overWindow = false;
    refreshCursorInside();
    EXPECT_TRUE(cursorInside());  // captured counts as inside
    fake.held[VK_LBUTTON] = false;
    pushInput(InputButtonUp, VK_LBUTTON, 0, 0, 900, 900);
    EXPECT_FALSE(fake.captured);
    EXPECT_EQ(fake.warpX, 100);
    EXPECT_EQ(fake.warpY, 200);
    std::vector<GuiInputRecord> r = drain();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_TRUE(r[1].flags & InputFlagLeftButton);
    EXPECT_EQ(r[2].kind, InputButtonUp);
    EXPECT_EQ(r[2].x, 100);
    EXPECT_EQ(r[2].y, 200);
    EXPECT_EQ(lastKey(), (uint32_t)VK_LBUTTON);
    EXPECT_EQ(lastChar(), 0u);
    refreshCursorInside();
    EXPECT_FALSE(cursorInside());
    fake.fullscreen = true;
    refreshCursorInside();
    EXPECT_TRUE(cursorInside());
}

TEST_F(Input, WheelNotchesAddUpPerStep) {
    pushInput(InputWheel, 1, 0, 0, 10, 10);
    pushInput(InputWheel, 1, 0, 0, 10, 10);
    EXPECT_EQ(wheelTotal(), 2);
    std::vector<GuiInputRecord> r = drain();
    EXPECT_EQ(r[0].wheel, 1);
    EXPECT_EQ(r[0].code, 0u);
    inputEndStep();
    EXPECT_EQ(wheelTotal(), 0);
}

TEST_F(Input, HeldKeysComeFromThePlatformAndCodesAbove255AreSafe) {
    fake.held['D'] = true;
    EXPECT_TRUE(keyHeld('D'));
    pushInput(InputKeyDown, 300, 0, 0, 0, 0);
    pushInput(InputKeyUp, 300, 0, 0, 0, 0);
    EXPECT_EQ(drain().size(), 2u);
    fake.toggled[VK_CAPITAL] = true;
    pushInput(InputKeyDown, 'Q', 0, 0, 0, 0);
    std::vector<GuiInputRecord> r = drain();
    EXPECT_EQ(r[0].character, (uint32_t)'Q');
    EXPECT_TRUE(r[0].flags & InputFlagCapsLock);
}

TEST_F(Input, AFullQueueDropsTheOldestWithOneLogLine) {
    testing::internal::CaptureStdout();
    for (int i = 0; i < 300; i++) pushInput(InputWheel, (uint32_t)i, 0, 0, 0, 0);
    std::string log = testing::internal::GetCapturedStdout();
    std::vector<GuiInputRecord> r = drain();
    ASSERT_EQ(r.size(), 256u);
    EXPECT_EQ(r.front().wheel, 44);
    EXPECT_EQ(r.back().wheel, 299);
    EXPECT_EQ(wheelTotal(), 299 * 300 / 2);  // the step still saw every notch
    size_t first = log.find("input queue full");
    EXPECT_NE(first, std::string::npos);
    EXPECT_EQ(log.find("input queue full", first + 1), std::string::npos);
}

TEST(KeyNames, Table) {
    EXPECT_STREQ(keyName(300), "?");
    EXPECT_STREQ(keyName(65), "A");
    EXPECT_STREQ(keyName(112), "F1");
    EXPECT_STREQ(keyName(123), "F12");
    EXPECT_STREQ(keyName(44), "?");
    EXPECT_STREQ(keyName(108), "?");
    EXPECT_STREQ(keyName(4), "Middle Mouse Button");
    EXPECT_STREQ(keyName(40), "Down Arrow");
    EXPECT_STREQ(keyName(57), "9");
    EXPECT_STREQ(keyName(105), "NumPad 9");
    EXPECT_STREQ(keyName(192), "Grave");
    EXPECT_STREQ(keyName(222), "Apostrophe");
    EXPECT_STREQ(keyName(20), "Caps Lock");
}
