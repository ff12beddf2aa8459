#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include "hero.h"
#include "level.h"
#include "robots.h"
#include "shots.h"

// Floor top at y = 32 between walls at x < 64 and x >= 256.
class RobotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        memset(levelGrid, 0, LEVEL_CELLS);
        robots.clear();
        hero.health = 0;
        hero.touched = 0;
        fill(0, 0, 400, 31);
        fill(0, 32, 63, 100);
        fill(256, 32, 400, 100);
    }
    static void fill(int x0, int y0, int x1, int y1) {
        for (int z = 0; z < LEVEL_SIZE_Z; z++)
            for (int y = y0; y <= y1; y++)
                for (int x = x0; x <= x1; x++) levelGrid[levelIndex(x, y, z)] = Wall;
    }
};

TEST_F(RobotsTest, PacesBetweenWallsTurningAtEach) {
    spawnRobot(8, 2);  // x = 136, y = 32
    float minX = 1e9f, maxX = -1e9f;
    bool turnedRight = false, turnedLeft = false;
    for (int i = 0; i < 400; i++) {
        uint8_t was = robots[0].facingRight;
        robotsStep(0.05f);
        const Robot& r = robots[0];
        ASSERT_NEAR(r.position.y, 32.0f, 1e-3f);
        ASSERT_GE(r.vx, -30.0f);
        ASSERT_LE(r.vx, 30.0f);
        minX = fminf(minX, r.position.x);
        maxX = fmaxf(maxX, r.position.x);
        if (!was && r.facingRight) turnedRight = true;
        if (was && !r.facingRight && turnedRight) turnedLeft = true;
    }
    EXPECT_TRUE(turnedRight);
    EXPECT_TRUE(turnedLeft);
    EXPECT_NEAR(minX, 70.0f, 0.01f);   // left side against the wall at 64
    EXPECT_NEAR(maxX, 250.0f, 0.01f);  // right side against the wall at 256
    EXPECT_EQ(robots[0].onGround, 1);
}

TEST_F(RobotsTest, RobotsMeetingHeadOnPushApartAndBothTurn) {
    spawnRobot(7, 2);  // x = 120, walks left first
    spawnRobot(5, 2);  // x = 88
    robots[1].facingRight = 1;
    // Whichever meets the other first reports the robot and its leading
    // side, and turns; the other does the same a sub-step or a step later.
    bool leftMet = false, rightMet = false;
    for (int i = 0; i < 24; i++) {
        for (Robot& r : robots) {
            robotSubStep(r, 0.025f);
            ContactFlags lead = r.position.x > 100 ? ContactLeft : ContactRight;
            (r.position.x > 100 ? leftMet : rightMet) |= (r.contacts & (ContactRobot | lead)) == (ContactRobot | lead);
        }
        float gap = robots[0].position.x - robots[1].position.x;
        ASSERT_GE(gap, 12.0f - 0.5f);  // never pass through each other
    }
    EXPECT_TRUE(leftMet);
    EXPECT_TRUE(rightMet);
    EXPECT_EQ(robots[0].facingRight, 1);
    EXPECT_EQ(robots[1].facingRight, 0);
    EXPECT_GT(robots[0].position.x - robots[1].position.x, 14.0f);  // walking apart again
}

TEST_F(RobotsTest, TouchingTheHeroTellsTheHeroAndTurns) {
    hero.health = 4;
    hero.position = vec4(100, 32, 8, 1);
    spawnRobot(7, 2);  // x = 120, walking left toward the hero
    for (int i = 0; i < 20 && !hero.touched; i++) robotsStep(0.05f);
    EXPECT_EQ(hero.touched, 1);
    EXPECT_GE(robots[0].position.x, 110.0f - 0.5f);
    robotsStep(0.05f);
    EXPECT_EQ(robots[0].facingRight, 1);
}

TEST_F(RobotsTest, FallenAndKilledRobotsAreRemovedInTheSamePass) {
    spawnRobot(5, 2);
    spawnRobot(10, 2);
    spawnRobot(12, -30);  // far below the level: falls out this step
    robots[0].health = 0;
    // Slot 0 empties and receives the last robot, which also goes at once.
    robotsStep(0.05f);
    ASSERT_EQ(robots.num, 1);
    EXPECT_NEAR(robots[0].previousPosition.x, 168.0f, 1e-4f);
}

TEST_F(RobotsTest, SecondHitOnADeadRobotIsAbsorbed) {
    particles.clear();
    spawnRobot(8, 2);
    damageRobot(robots[0], 1);
    damageRobot(robots[0], 1);
    // One grey burst of 200 debris voxels from the robot's box.
    ASSERT_EQ(particles.num, 200);
    for (const Particle& p : particles) {
        EXPECT_EQ(p.colour, 0xFFC8C8C8u);
        EXPECT_LE(fabsf(p.position.x - 136), 6.0f);
        EXPECT_GE(p.position.y, 32.0f);
        EXPECT_LE(p.position.y, 46.0f);
    }
    // Still an obstacle until the next step removes it.
    Robot* found = nullptr;
    overlapRobots(nullptr, vec4(140, 35, 0, 1), vec4(144, 39, 20, 1), &found);
    EXPECT_EQ(found, &robots[0]);
    robotsStep(0.05f);
    EXPECT_EQ(robots.num, 0);
}
