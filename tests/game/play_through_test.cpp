#include "counting_new.h"
#include "bindings.h"
#include "game_fixture.h"
#include "temp_settings.h"

// Plays layout A from the start to the exit pad with held keys and the
// pointer only, digging through pillars and walls and shooting the robots.
TEST_F(GameTest, LayoutAPlaysToTheExitByScriptedInput) {
    ASSERT_EQ(levelNumber, 1);
    ASSERT_EQ(robots.num, 7);
    int s;
    for (s = 0; s < 2400 && !levelExitReached; s++) {
        botStep(s);
        ASSERT_GT(hero.health, 0) << "hero died at step " << s << " x " << hero.position.x;
    }
    ASSERT_TRUE(levelExitReached) << "stuck at x " << hero.position.x << " y " << hero.position.y;
    EXPECT_EQ(currentMode, &elevatorMode);
    EXPECT_EQ(robots.num, 0);  // the elevator clears the level's figures
    printf("exit reached after %d steps with %d hearts\n", s, hero.health);
    hold('D', false);
    hold(VK_LBUTTON, false);

    // The ride lifts the hero out of the level and the run moves on.
    int ride = 0;
    while (currentMode == &elevatorMode && ride < 100) {
        step();
        ride++;
    }
    EXPECT_EQ(currentMode, upgradeMode);
    EXPECT_EQ(levelNumber, 2);
    EXPECT_EQ(upgradePoints, 5);
    EXPECT_GE(hero.position.y, 250.0f);
}

// The same run with keys a left-handed player chose on the Controls screen.
TEST_F(GameTest, LayoutAPlaysToTheExitWithReboundKeys) {
    TempSettings settings;
    ASSERT_TRUE(bindKey(BindRunRight, 'L'));
    ASSERT_TRUE(bindKey(BindRunLeft, 'J'));
    ASSERT_TRUE(bindKey(BindFire, 'K'));
    ASSERT_TRUE(bindKey(BindJump, 'I'));
    botKeys = {'L', 'J', 'K', 'I'};
    int s;
    for (s = 0; s < 2400 && !levelExitReached; s++) {
        botStep(s);
        ASSERT_GT(hero.health, 0) << "hero died at step " << s << " x " << hero.position.x;
    }
    EXPECT_TRUE(levelExitReached) << "stuck at x " << hero.position.x << " y " << hero.position.y;
    printf("exit reached with rebound keys after %d steps with %d hearts\n", s, hero.health);
    resetBindingsToDefaults();
}

TEST_F(GameTest, PlayDoesNotAllocateAfterWarmUp) {
    // Warm-up: the whole level once, so every list has met its high-water
    // mark (the debris of overlapping bursts), then the level again.
    for (int s = 0; s < 2400 && !levelExitReached; s++) botStep(s);
    ASSERT_TRUE(levelExitReached);
    setGameMode(&playMode);
    for (int s = 0; s < 20; s++) botStep(s);  // shots' storage is released by the restart
    uint64_t arrays = qzAllocCount, news = newCount;
    for (int s = 20; s < 220; s++) botStep(s);
    uint64_t arrayAllocs = qzAllocCount - arrays, newAllocs = newCount - news;
    EXPECT_EQ(arrayAllocs, 0u);
    EXPECT_EQ(newAllocs, 0u);
    EXPECT_GT(particles.num + shots.num, 0);
    EXPECT_FALSE(levelExitReached);
}
