#include <cstring>
#include "game_fixture.h"

// A flat floor (top at y = 32) with a wall at x >= 400, and the hero on it.
class HeroTest : public GameTest {
protected:
    static constexpr float h = 0.05f / 2;
    void SetUp() override {
        GameTest::SetUp();
        flatFloorWithHero();
        ASSERT_TRUE(hero.onGround);
    }
};

TEST_F(HeroTest, OneJumpPerLandingAbout35High) {
    hold('W', true);
    float top = hero.position.y;
    int jumps = 0;
    bool wasOnGround = true;
    float lastVy = hero.vy;
    for (int i = 0; i < 80; i++) {  // four seconds of holding jump
        heroSubStep(h);
        if (hero.vy > 150 && lastVy <= 0) {  // a landing only zeroes vy
            EXPECT_TRUE(wasOnGround) << "jumped in the air";
            jumps++;
        }
        if (jumps == 1) top = fmaxf(top, hero.position.y);
        wasOnGround = hero.onGround;
        lastVy = hero.vy;
    }
    EXPECT_NEAR(top - 32, 35.0f, 1.5f);
    EXPECT_GE(jumps, 2);  // a new jump after every landing
    EXPECT_LE(jumps, 4);
}

TEST_F(HeroTest, RunSpeedRampsAndStopsWhenBothDirectionsHeld) {
    hold('D', true);
    heroSubStep(h);
    EXPECT_FLOAT_EQ(hero.vx, 37.5f);
    heroSubStep(h);
    EXPECT_FLOAT_EQ(hero.vx, 75.0f);
    heroSubStep(h);
    EXPECT_FLOAT_EQ(hero.vx, 100.0f);
    for (int i = 0; i < 10; i++) heroSubStep(h);
    hold('A', true);
    heroSubStep(h);
    EXPECT_FLOAT_EQ(hero.vx, 62.5f);
    heroSubStep(h);
    EXPECT_FLOAT_EQ(hero.vx, 25.0f);
    heroSubStep(h);
    EXPECT_FLOAT_EQ(hero.vx, 0.0f);
    EXPECT_TRUE(hero.walkPhase == 0.0f || hero.walkPhase == 4.0f);
    // Running into the wall stops the hero with its side at the wall.
    hold('A', false);
    for (int i = 0; i < 200; i++) heroSubStep(h);
    EXPECT_FLOAT_EQ(hero.position.x, 396.0f);
    EXPECT_EQ(hero.vx, 0.0f);
}

TEST_F(HeroTest, HurtTimerCostsOneHeartPer41SubSteps) {
    std::vector<int> hits;
    for (int i = 0; i < 130; i++) {
        int before = hero.health;
        hero.touched = 1;  // a robot pressing against the hero all the time
        heroSubStep(h);
        if (hero.health < before) hits.push_back(i);
    }
    ASSERT_EQ(hits.size(), 4u);
    EXPECT_EQ(hits[0], 0);
    EXPECT_EQ(hits[1] - hits[0], 41);
    EXPECT_EQ(hits[2] - hits[1], 41);
    EXPECT_EQ(hits[3] - hits[2], 41);
    // The fourth heart was the last: the hero burst and no longer moves.
    EXPECT_EQ(hero.health, 0);
    EXPECT_EQ(particles.num, 200);
    EXPECT_EQ(particles[0].colour, 0xFF422B9Fu);
    Vec4 p = hero.position;
    heroSubStep(h);
    EXPECT_EQ(hero.position.y, p.y);
}

TEST_F(HeroTest, DeathByARobotEndsTheStepInGameOver) {
    hero.health = 1;
    spawnRobot((211.0f - 8) / 16, 2);  // just right of the hero, walking left into it
    for (int i = 0; i < 10 && hero.health > 0; i++) step();
    EXPECT_EQ(hero.health, 0);
    EXPECT_EQ(particles.num, 200);
    EXPECT_EQ(currentMode, &gameOverMode);
}

TEST_F(HeroTest, FallingOutOfTheLevelKillsWithoutDebris) {
    fill(150, 0, 250, 31, Empty);
    for (int i = 0; i < 200 && hero.health > 0; i++) step();
    EXPECT_EQ(hero.health, 0);
    EXPECT_LT(hero.position.y, -400.0f);
    EXPECT_EQ(particles.num, 0);
    EXPECT_EQ(currentMode, &gameOverMode);
}

TEST_F(HeroTest, ExitPadNeedsTwentySubStepsStandingOnIt) {
    fill(190, 16, 210, 31, Exit);
    int n = 0;
    while (!levelExitReached && n < 100) {
        heroSubStep(h);
        n++;
    }
    EXPECT_EQ(n, 20);
    // Jumping off resets the timer.
    levelExitReached = false;
    hero.exitTimer = 0;
    for (int i = 0; i < 10; i++) heroSubStep(h);
    hold('W', true);
    heroSubStep(h);
    heroSubStep(h);
    EXPECT_EQ(hero.exitTimer, 0.0f);
}

TEST_F(HeroTest, AimKeepsDirectionWithinHalfAVoxelOfTheShoulder) {
    pointAt({hero.position.x - 40, hero.position.y + 8, 8, 1});
    step();
    EXPECT_LT(hero.aimDirection.x, -0.9f);
    EXPECT_EQ(hero.facingRight, 0);
    Vec4 before = hero.aimDirection;
    pointAt(heroWorldShoulder());
    step();
    EXPECT_EQ(hero.aimDirection.x, before.x);
    EXPECT_EQ(hero.aimDirection.y, before.y);
    EXPECT_EQ(hero.facingRight, 0);
}

// Sub-steps between two shots while the fire button is held.
static int fireInterval(HeroTest* t, float rate) {
    fireRate = rate;
    shots.clear();
    hero.fireCooldown = 0;
    std::vector<int> at;
    for (int i = 0; i < 40 && at.size() < 3; i++) {
        int before = shots.num;
        heroSubStep(0.05f / 2);
        if (shots.num > before) at.push_back(i);
    }
    (void)t;
    return at.size() == 3 && at[2] - at[1] == at[1] - at[0] ? at[1] - at[0] : -1;
}

TEST_F(HeroTest, FireCooldownCountsDownInFloatSubSteps) {
    pointAt({hero.position.x + 100, hero.position.y + 8, 8, 1});
    step();
    hold(VK_LBUTTON, true);
    // 0.1 minus four sub-steps of 0.025000000372529 leaves about 4e-9, so the
    // fifth sub-step fires: 8 shots a second at rate 10, 10 at rates 11 to 13.
    EXPECT_EQ(fireInterval(this, 10), 5);
    EXPECT_EQ(fireInterval(this, 11), 4);
    EXPECT_EQ(fireInterval(this, 13), 4);
    shots.clear();
    hero.fireCooldown = 0;
    heroSubStep(h);
    ASSERT_GT(shots.num, 0);
    EXPECT_EQ(shots[0].colour, 0xFF14FF14u);
    EXPECT_NEAR(length3(shots[0].velocity), 200.0f, 0.01f);
    EXPECT_EQ(shots[0].owner, &hero);
    // No firing once the exit was reached.
    shots.clear();
    levelExitReached = true;
    for (int i = 0; i < 20; i++) heroSubStep(h);
    EXPECT_EQ(shots.num, 0);
}
