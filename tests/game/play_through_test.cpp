#include "game_fixture.h"

// Plays layout A from the start to the exit pad with held keys and the
// pointer only: run right, fire ahead at heights that dig a tall enough
// tunnel through pillars and walls and shoot the robots, jump when stuck,
// stop on the pad.
TEST_F(GameTest, LayoutAPlaysToTheExitByScriptedInput) {
    ASSERT_EQ(levelNumber, 1);
    ASSERT_EQ(robots.num, 7);
    const float padLeft = 77 * 16 + 3, padRight = 77 * 16 + 13;
    int stuck = 0;
    float lastX = hero.position.x;
    int s;
    for (s = 0; s < 2400 && !levelExitReached; s++) {
        float x = hero.position.x;
        bool onPad = x >= padLeft && x <= padRight;
        // Low, middle and steep shots: the tunnel must clear the hero's
        // head as well as its feet.
        static const float aims[][2] = {{12, 0}, {12, 6}, {12, 12}, {8, 18}, {5, 24}, {3, 28}, {12, 3}, {12, 9}, {9, 15}};
        pointAt({x + aims[s % 9][0], hero.position.y + aims[s % 9][1], hero.position.z, 1});
        hold('D', !onPad && x < padLeft);
        hold('A', !onPad && x > padRight);
        hold(VK_LBUTTON, !onPad);
        stuck = (fabsf(hero.position.x - lastX) < 0.5f) ? stuck + 1 : 0;
        hold('W', stuck > 10 && (s / 10) % 2 == 0);
        lastX = hero.position.x;
        step();
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
    EXPECT_EQ(currentMode, &upgradeMode);
    EXPECT_EQ(levelNumber, 2);
    EXPECT_EQ(upgradePoints, 5);
    EXPECT_GE(hero.position.y, 250.0f);
}
