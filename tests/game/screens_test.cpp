#include "framing_modes.h"
#include "game_fixture.h"

// The upgrade screen entered with a given number of points.
class UpgradeScreenTest : public GameTest {
protected:
    void enterWith(int points) {
        upgradePoints = points;
        setGameMode(upgradeMode);
        ASSERT_NE(upgradeModeObject().scr, nullptr);
    }
    int row(const char* name) {
        for (int i = 0; i < upgradePicks.offered.num; i++)
            if (!strcmp(upgradePicks.offered[i]->getName(), name)) return i;
        return -1;
    }
    uint32_t colourOf(int i) { return upgradeScreen.costBoxes[i]->textColour; }
    bool plusShown(int i) { return isShown(upgradeScreen.plusButtons[i]); }
    bool minusShown(int i) { return isShown(upgradeScreen.minusButtons[i]); }
    GuiBox* goButton() {
        GuiBox* root = upgradeModeObject().scr->root;
        return root->children[root->children.num - 1];
    }
};

static const uint32_t yellow = 0xFFFFF000, grey = 0xFFC8C8C8, darkRed = 0xFF880000;

TEST_F(UpgradeScreenTest, PickingAndUndoingRecolourAndHideButtons) {
    enterWith(5);
    ASSERT_EQ(upgradePicks.offered.num, 3);
    int health = row("Health"), fire = row("Fire rate"), wall = row("Wall destruction");
    EXPECT_EQ(health, 0);
    EXPECT_EQ(fire, 1);
    EXPECT_EQ(wall, 2);
    EXPECT_STREQ(upgradeScreen.pointsBox->text, "05");
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(colourOf(i), grey);
        EXPECT_TRUE(plusShown(i));
        EXPECT_FALSE(minusShown(i));
    }
    EXPECT_STREQ(upgradeScreen.costBoxes[fire]->text, "3");

    clickBox(upgradeScreen.plusButtons[fire]);
    step();
    EXPECT_STREQ(upgradeScreen.pointsBox->text, "02");
    EXPECT_EQ(colourOf(fire), yellow);
    EXPECT_EQ(upgradeScreen.nameBoxes[fire]->textColour, yellow);
    EXPECT_EQ(colourOf(health), darkRed);
    EXPECT_EQ(colourOf(wall), darkRed);
    EXPECT_FALSE(plusShown(health));
    EXPECT_FALSE(plusShown(fire));
    EXPECT_TRUE(minusShown(fire));

    clickBox(upgradeScreen.minusButtons[fire]);
    step();
    EXPECT_STREQ(upgradeScreen.pointsBox->text, "05");
    EXPECT_EQ(colourOf(fire), grey);
    EXPECT_TRUE(plusShown(health));
    EXPECT_FALSE(minusShown(fire));

    clickBox(upgradeScreen.plusButtons[wall]);
    step();
    EXPECT_STREQ(upgradeScreen.pointsBox->text, "00");
    clickBox(goButton());
    step();
    EXPECT_EQ(currentMode, &playMode);
    EXPECT_EQ(wallDestruction, 3);
    EXPECT_EQ(upgradePoints, 0);
    EXPECT_EQ(upgradeModeObject().scr, nullptr);  // gone with the first update after the switch
}

TEST_F(UpgradeScreenTest, OffersFollowPointsAndLimits) {
    enterWith(4);
    ASSERT_EQ(upgradePicks.offered.num, 1);
    EXPECT_STREQ(upgradePicks.offered[0]->getName(), "Fire rate");
    clickBox(goButton());
    step();
    enterWith(2);
    EXPECT_EQ(upgradePicks.offered.num, 0);
    EXPECT_STREQ(upgradeScreen.pointsBox->text, "02");
    clickBox(goButton());
    step();
    EXPECT_EQ(currentMode, &playMode);
    EXPECT_EQ(upgradePoints, 2);  // nothing picked: points unchanged
    wallDestruction = 4;  // two purchases made
    enterWith(20);
    EXPECT_EQ(row("Wall destruction"), -1);
    EXPECT_EQ(upgradePicks.offered.num, 2);
}

TEST_F(UpgradeScreenTest, TwoGoClicksInOneStepApplyThePicksOnce) {
    enterWith(5);
    clickBox(upgradeScreen.plusButtons[row("Fire rate")]);
    step();
    clickBox(goButton());
    clickBox(goButton());
    step();
    EXPECT_EQ(currentMode, &playMode);
    EXPECT_EQ(fireRate, 11.0f);
    EXPECT_EQ(upgradePoints, 2);
}

TEST_F(UpgradeScreenTest, LevelLineAndLayoutFollowTheTable) {
    levelNumber = 2;
    enterWith(5);
    GuiScreen* scr = upgradeModeObject().scr;
    GuiBox* root = scr->root;
    // 40 x 30 units of 8 pixels at scale 3 centred on 1280 x 720.
    EXPECT_EQ(scr->scale, 3);
    EXPECT_FLOAT_EQ(root->paddingRect.left, 160.0f);
    EXPECT_FLOAT_EQ(root->paddingRect.top, 0.0f);
    EXPECT_STREQ(root->children[1]->text, "REACHED LEVEL 2");
    // Rows one unit (24 pixels) apart from 9 units down; "GO!" in the bottom-right corner.
    float row0 = upgradeScreen.costBoxes[0]->paddingRect.top, row1 = upgradeScreen.costBoxes[1]->paddingRect.top;
    EXPECT_FLOAT_EQ(row1 - row0, 24.0f);
    EXPECT_FLOAT_EQ(row0, 9 * 24.0f);
    EXPECT_FLOAT_EQ(upgradeScreen.pointsBox->paddingRect.top, 7 * 24.0f);
    GuiBox* go = goButton();
    EXPECT_FLOAT_EQ(go->paddingRect.right, 1120.0f - 5 * 24);
    EXPECT_FLOAT_EQ(go->paddingRect.bottom, 720.0f - 24);
    EXPECT_FLOAT_EQ(go->paddingRect.right - go->paddingRect.left, 12 * 24.0f + 2 * 3);  // plus a one-pixel border per step
    // "+" sits just right of the 3-unit cost column, "-" one unit further.
    GuiBox* plus = upgradeScreen.plusButtons[0];
    GuiBox* minus = upgradeScreen.minusButtons[0];
    float costRight = 160.0f + 27 * 24;
    EXPECT_FLOAT_EQ(plus->paddingRect.right, costRight + 1.5f * 24);
    EXPECT_FLOAT_EQ(minus->paddingRect.right, costRight + 2.5f * 24);
    EXPECT_FLOAT_EQ(plus->paddingRect.right - plus->paddingRect.left, 24.0f);  // borders included: one unit
}

TEST_F(GameTest, WholeRunFromLevelOneToTheEndScreenAndRestart) {
    for (int s = 0; s < 2400 && !levelExitReached; s++) botStep(s);
    ASSERT_TRUE(levelExitReached);
    hold('D', false);
    hold(VK_LBUTTON, false);
    while (currentMode == &elevatorMode) step();
    ASSERT_EQ(currentMode, upgradeMode);
    EXPECT_STREQ(upgradeScreen.pointsBox->text, "05");

    int fire = 1;
    clickBox(upgradeScreen.plusButtons[fire]);
    step();
    GuiBox* root = upgradeModeObject().scr->root;
    clickBox(root->children[root->children.num - 1]);
    step();
    ASSERT_EQ(currentMode, &playMode);
    EXPECT_EQ(levelNumber, 2);
    EXPECT_EQ(upgradePoints, 2);
    EXPECT_EQ(fireRate, 11.0f);
    EXPECT_EQ(robots.num, 10);  // layout B

    pushInput(InputKeyDown, VK_F3, 0, 0, 0, 0);  // level 2 ended from the keyboard
    step();
    while (currentMode == &elevatorMode) step();
    ASSERT_EQ(currentMode, endDemoMode);
    EXPECT_EQ(levelNumber, 3);
    GuiScreen* end = endDemoModeObject().scr;
    ASSERT_NE(end, nullptr);
    EXPECT_STREQ(end->root->children[1]->text, "End of DEMO");
    GuiBox* restart = end->root->children[end->root->children.num - 1];
    EXPECT_EQ(restart->commandId, 1);
    clickBox(restart);
    step();
    EXPECT_EQ(currentMode, &playMode);
    EXPECT_EQ(levelNumber, 1);
    EXPECT_EQ(upgradePoints, 0);
    EXPECT_EQ(fireRate, 10.0f);
    EXPECT_EQ(robots.num, 7);
    step();
    EXPECT_EQ(endDemoModeObject().scr, nullptr);
}

static void loggingShutdown() {
    logMessage("closing...");
    logMessage("closed all systems");
}

TEST_F(GameTest, QuitOnTheEndScreenShutsDownWithExitCode0) {
    EXPECT_EXIT(
        {
            dup2(2, 1);
            setShutdownSequence(loggingShutdown);
            levelNumber = 3;
            setGameMode(endDemoMode);
            GuiBox* quit = endDemoModeObject().scr->root->children[5];
            if (quit->commandId != 2) abort();
            clickBox(quit);
            step();
            abort();  // never reached
        },
        ::testing::ExitedWithCode(0), "closing...\nclosed all systems");
}
