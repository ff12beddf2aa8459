#include <cstring>
#include "framing_modes.h"
#include "services.h"
#include "game_fixture.h"

TEST_F(GameTest, DeathAndExitInOneStepEndInTheElevator) {
    hero.health = 0;
    levelExitReached = true;
    worldUpdate(dt);
    EXPECT_EQ(currentMode, &elevatorMode);
}

TEST_F(GameTest, GameOverWaitsHalfASecondThenRestartsOnRelease) {
    levelNumber = 1;
    upgradePoints = 7;
    setGameMode(&gameOverMode);
    // A release inside the delay is ignored.
    release(VK_SPACE);
    step();
    EXPECT_EQ(currentMode, &gameOverMode);
    steps(9);
    // The middle button and a plain press do nothing.
    release(VK_MBUTTON);
    hold(VK_RETURN, true);
    pushInput(InputKeyDown, VK_RETURN, 0, 0, 0, 0);
    step();
    EXPECT_EQ(currentMode, &gameOverMode);
    // The release of a key held through the delay restarts.
    release(VK_RETURN);
    step();
    EXPECT_EQ(currentMode, &playMode);
    EXPECT_EQ(upgradePoints, 0);
    EXPECT_EQ(hero.health, 4);
}

TEST_F(GameTest, WorldMovesOnBehindGameOverAndF3StillStartsTheRide) {
    hero.health = 0;
    step();
    ASSERT_EQ(currentMode, &gameOverMode);
    float robotX = robots[0].position.x;
    steps(5);
    EXPECT_NE(robots[0].position.x, robotX);
    pushInput(InputKeyDown, VK_F3, 0, 0, 0, 0);
    step();
    EXPECT_EQ(currentMode, &elevatorMode);
}

TEST_F(GameTest, ElevatorCutsThePadClearsTheShaftAndAdvancesTheRun) {
    levelExitReached = true;
    step();
    ASSERT_EQ(currentMode, &elevatorMode);
    ElevatorGameMode& e = elevatorRide();
    EXPECT_EQ(e.minX, 77 * 16);
    EXPECT_EQ(e.maxX, 77 * 16 + 15);
    EXPECT_EQ(e.minY, 16);
    ASSERT_NE(e.padSprite, nullptr);
    EXPECT_EQ(robots.num, 0);
    for (int y = e.liftY + 1; y < 256; y++) EXPECT_EQ(levelCell(e.minX + 5, y, 8), Empty);
    // 1, 2, ... 10 rows a step, then 10: the ride ends in the step after the top.
    int rideSteps = 0;
    while (currentMode == &elevatorMode && rideSteps < 60) {
        step();
        rideSteps++;
    }
    EXPECT_EQ(rideSteps, 28);
    EXPECT_EQ(currentMode, upgradeMode);
    EXPECT_EQ(e.padSprite, nullptr);
    EXPECT_EQ(levelNumber, 2);
    EXPECT_EQ(upgradePoints, 5);

    // Level 2 finished: the end of the demo.
    setGameMode(&playMode);
    levelExitReached = true;
    step();
    while (currentMode == &elevatorMode) step();
    EXPECT_EQ(currentMode, endDemoMode);
    EXPECT_EQ(levelNumber, 3);
    EXPECT_EQ(upgradePoints, 10);
}

TEST_F(GameTest, EscRestartsTheLevelIdentically) {
    steps(3);
    clearCells(100, 32, 0, 140, 60, 19, 0);
    pushInput(InputKeyDown, VK_ESCAPE, 0, 0, 0, 0);
    step();
    EXPECT_EQ(levelCell(120, 40, 8), Empty);  // layout A has air there anyway
    EXPECT_EQ(levelCell(120, 20, 8), Wall);
    EXPECT_EQ(robots.num, 7);
    EXPECT_NEAR(hero.position.x, 88.0f, 1.0f);
}

TEST_F(GameTest, FunctionKeysOnlyWhileTheWindowIsActive) {
    struct Inactive : HostServices {
        bool windowActive() override { return false; }
    } inactive;
    setHostServices(&inactive);
    pushInput(InputKeyDown, VK_F4, 0, 0, 0, 0);
    step();
    EXPECT_FALSE(showDebugBoxes);
    setHostServices(nullptr);
    pushInput(InputKeyDown, VK_F4, 0, 0, 0, 0);
    step();
    EXPECT_TRUE(showDebugBoxes);
    showDebugBoxes = false;
}

using ElevatorDeathTest = GameTest;

TEST_F(ElevatorDeathTest, NoPadInTheFigureLayerIsFatal) {
    EXPECT_EXIT(
        {
            for (int z = 0; z < LEVEL_SIZE_Z; z++)
                for (int y = 0; y < LEVEL_SIZE_Y; y++)
                    for (int x = 0; x < LEVEL_SIZE_X; x++)
                        if (levelCell(x, y, z) == Exit) levelGrid[levelIndex(x, y, z)] = Wall;
            setGameMode(&elevatorMode);
        },
        ::testing::ExitedWithCode(100), "failed ASSERT\\(xp>=0\\)");
}

TEST(Progress, NewGameResetsAndUpgradesRaise) {
    newGame();
    EXPECT_EQ(levelNumber, 1);
    EXPECT_EQ(upgradePoints, 0);
    EXPECT_EQ(hero.health, 4);
    EXPECT_EQ(fireRate, 10.0f);
    EXPECT_EQ(wallDestruction, 2);
    Upgrade* wall = upgradeTable[2];
    EXPECT_STREQ(wall->getName(), "Wall destruction");
    wall->apply();
    EXPECT_TRUE(wall->canUpgrade());
    wall->apply();
    EXPECT_FALSE(wall->canUpgrade());
    upgradeTable[0]->apply();
    upgradeTable[1]->apply();
    EXPECT_EQ(hero.health, 5);
    EXPECT_EQ(fireRate, 11.0f);
    EXPECT_EQ(upgradeTable[3], nullptr);
    nextLevel();
    EXPECT_EQ(levelNumber, 2);
    EXPECT_EQ(upgradePoints, 5);
    newGame();
    EXPECT_EQ(wallDestruction, 2);
    EXPECT_EQ(hero.health, 4);
}

TEST(WorldResources, SpritesLoadBesideTheProgramAndAreReleased) {
    initAppPath();
    testing::internal::CaptureStdout();
    initWorld();
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("hero_body.png' ok"), std::string::npos) << log;
    EXPECT_NE(log.find("robot1.png' ok"), std::string::npos);
    ASSERT_NE(heroSprites.heart, nullptr);
    ASSERT_NE(robotSprite, nullptr);
    releaseWorld();
    EXPECT_EQ(heroSprites.body, nullptr);
    EXPECT_EQ(robotSprite, nullptr);
    releaseWorld();  // twice is harmless
}

TEST(WorldResourcesDeathTest, MissingSpritesAreFatal) {
    EXPECT_EXIT(
        {
            strcpy(appPath, "/nonexistent/");
            initWorld();
        },
        ::testing::ExitedWithCode(100), "can't load hero voxel sprites");
}
