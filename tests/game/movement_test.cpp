#include <gtest/gtest.h>
#include <cstring>
#include "hero.h"
#include "level.h"
#include "movement.h"
#include "robots.h"

// A hand-made grid: floor top at y = 32, everything else empty.
class MovementTest : public ::testing::Test {
protected:
    void SetUp() override {
        memset(levelGrid, 0, LEVEL_CELLS);
        robots.clear();
        hero.health = 0;  // out of the way unless a test places it
        fill(0, 0, 400, 31, Wall);
    }
    static void fill(int x0, int y0, int x1, int y1, uint8_t v) {
        for (int z = 0; z < LEVEL_SIZE_Z; z++)
            for (int y = y0; y <= y1; y++)
                for (int x = x0; x <= x1; x++) levelGrid[levelIndex(x, y, z)] = v;
    }
    // One hero-sized sub-step toward (dx, dy) with the callers' retry rule.
    static ContactFlags step(Vec4& p, float dx, float dy) {
        return moveBodyWithStepUp(p, &p, vec4(p.x + dx, p.y + dy, p.z, p.w), HERO_BOX_MIN, HERO_BOX_MAX);
    }
};

TEST_F(MovementTest, FloorHoldsUpAFallingBody) {
    Vec4 p = vec4(100, 32, 8, 1);
    for (int i = 0; i < 5; i++) {
        ContactFlags c = step(p, 0, -0.3f);
        EXPECT_TRUE(c & ContactBelow);
        EXPECT_FALSE(c & (ContactLeft | ContactRight | ContactAbove));
        EXPECT_NEAR(p.y, 32.0f, 1e-4f);
    }
    Vec4 air = vec4(100, 60, 8, 1);
    EXPECT_EQ(step(air, 0, -2), 0u);
    EXPECT_EQ(air.y, 58.0f);
}

TEST_F(MovementTest, WallStopsABodyAtItsFace) {
    fill(120, 32, 140, 80, Wall);
    Vec4 p = vec4(110, 32, 8, 1);
    ContactFlags c = step(p, 7, 0);
    EXPECT_TRUE(c & ContactRight);
    EXPECT_NEAR(p.x, 116.0f, 1e-4f);  // right side at the wall
    c = step(p, 3, 0);
    EXPECT_TRUE(c & ContactRight);
    EXPECT_GE(p.x, 116.0f - 1e-4f);  // never pushed back beyond where it was

    fill(60, 32, 79, 80, Wall);
    Vec4 q = vec4(86, 32, 8, 1);
    c = step(q, -4, 0);
    EXPECT_TRUE(c & ContactLeft);
    EXPECT_NEAR(q.x, 84.0f, 1e-4f);
}

TEST_F(MovementTest, LowLedgesAreClimbedHighOnesStop) {
    fill(110, 32, 140, 33, Wall);  // 2 voxels
    Vec4 p = vec4(105, 32, 8, 1);
    ContactFlags c = step(p, 2.5f, -0.3f);
    EXPECT_FALSE(c & (ContactRight | ContactAbove));
    EXPECT_TRUE(c & ContactBelow);
    EXPECT_NEAR(p.x, 107.5f, 1e-4f);
    EXPECT_NEAR(p.y, 34.0f, 1e-4f);

    fill(200, 32, 240, 37, Wall);  // 6 voxels
    Vec4 q = vec4(195, 32, 8, 1);
    c = step(q, 2.5f, -0.3f);
    EXPECT_TRUE(c & ContactRight);
    EXPECT_NEAR(q.x, 196.0f, 1e-4f);
    EXPECT_NEAR(q.y, 32.0f, 1e-4f);
}

TEST_F(MovementTest, LowCeilingTurnsAStepUpIntoAStop) {
    fill(110, 32, 140, 34, Wall);  // 3 voxels
    fill(90, 49, 140, 60, Wall);   // ceiling 2 above the hero's head
    Vec4 p = vec4(105, 32, 8, 1);
    Vec4 before = p;
    ContactFlags first = moveBox(p, &p, vec4(107.5f, 31.7f, 8, 1), HERO_BOX_MIN, HERO_BOX_MAX, 4);
    EXPECT_TRUE(first & ContactAbove);
    p = before;
    ContactFlags c = step(p, 2.5f, -0.3f);
    EXPECT_TRUE(c & ContactRight);
    EXPECT_FALSE(c & ContactAbove);
    EXPECT_NEAR(p.x, 106.0f, 1e-4f);
    EXPECT_NEAR(p.y, 32.0f, 1e-4f);
}

TEST_F(MovementTest, ExitContactFromAboveAndFromTheSide) {
    fill(150, 20, 170, 31, Exit);
    Vec4 p = vec4(160, 32, 8, 1);
    ContactFlags c = step(p, 0, -0.3f);
    EXPECT_EQ(c & (ContactExit | ContactBelow), ContactExit | ContactBelow);

    fill(180, 32, 190, 60, Exit);
    Vec4 q = vec4(174, 32, 8, 1);
    c = step(q, 3, 0);
    EXPECT_TRUE(c & ContactExit);
    EXPECT_TRUE(c & ContactRight);
    EXPECT_FALSE(c & ContactBelow);

    // Nearby but not touching: no exit.
    Vec4 r = vec4(140, 32, 8, 1);
    EXPECT_FALSE(step(r, 0, -0.3f) & ContactExit);
}

TEST_F(MovementTest, BoxPastMostOfAnObstacleIsPushedOnlyFromTheSideItEntered) {
    fill(102, 40, 102, 60, Wall);  // a thin post, 2 voxels into a 10-wide box
    Penetration pen = overlapCells(vec4(100, 40, 2, 1), vec4(110, 50, 14, 1), nullptr);
    EXPECT_FLOAT_EQ(pen.left, 3.0f);
    EXPECT_EQ(pen.right, 0.0f);  // 8 voxels: more than half the box
    pen = overlapCells(vec4(95, 40, 2, 1), vec4(105, 50, 14, 1), nullptr);
    EXPECT_FLOAT_EQ(pen.right, 3.0f);
    EXPECT_EQ(pen.left, 0.0f);
}

TEST_F(MovementTest, BodiesPushOnlyWhereNoWallDoes) {
    hero.health = 3;
    hero.position = vec4(130, 32, 8, 1);
    spawnRobot(7, 2);  // robot at x = 120
    Robot& r = robots[0];
    r.position.x = 118;
    // Walking into the hero: pushed back, told it touched the hero.
    ContactFlags c = moveBox(r.position, &r, vec4(121, 32, 8, 1), ROBOT_BOX_MIN, ROBOT_BOX_MAX, 4);
    EXPECT_TRUE(c & ContactHero);
    EXPECT_TRUE(c & ContactRight);
    EXPECT_NEAR(r.position.x, 120.0f, 1e-4f);

    // With a wall overlapping on the same axis, only the wall pushes: the
    // hero (2 voxels in) would push the robot further back than the wall (1).
    fill(120, 32, 140, 60, Wall);
    hero.position.x = 123;
    r.position.x = 113;
    c = moveBox(r.position, &r, vec4(115, 32, 8, 1), ROBOT_BOX_MIN, ROBOT_BOX_MAX, 4);
    EXPECT_TRUE(c & ContactHero);
    EXPECT_TRUE(c & ContactRight);
    EXPECT_NEAR(r.position.x, 114.0f, 1e-4f);

    // A dead hero is no obstacle; nor is the mover to itself.
    hero.health = 0;
    r.position.x = 200;
    hero.position.x = 205;
    c = moveBox(r.position, &r, vec4(201, 32, 8, 1), ROBOT_BOX_MIN, ROBOT_BOX_MAX, 0);
    EXPECT_FALSE(c & (ContactHero | ContactRobot | ContactRight));
}
