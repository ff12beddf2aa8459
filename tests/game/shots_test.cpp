#include <cstring>
#include "game_fixture.h"

// An empty grid with a solid Wall region to shoot at.
class ShotsTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        memset(levelGrid, 0, LEVEL_CELLS);
        robots.clear();
        particles.clear();
        shots.clear();
        wallDestruction = 2;
    }
    static int clearedInLayer(int x0, int y0, int x1, int y1, int z) {
        int n = 0;
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++) n += levelCell(x, y, z) == 0;
        return n;
    }
};

TEST_F(ShotsTest, CraterIsASquareWithoutCornersThroughTheFrontLayers) {
    fill(90, 90, 110, 110, Wall);
    levelGrid[levelIndex(100, 100, 5)] = Hard;
    levelGrid[levelIndex(101, 100, 5)] = Exit;
    Shot s = {{0, 0, 8, 1}, {200, 0, 0, 0}, 0, 1, &hero};
    digCrater(s, 100, 100);
    int layers = 0;
    for (int z = 0; z < LEVEL_SIZE_Z; z++) {
        int n = clearedInLayer(95, 95, 105, 105, z);
        if (n == 0) break;
        EXPECT_EQ(n, z == 5 ? 19 : 21) << "layer " << z;
        layers++;
    }
    EXPECT_GE(layers, 15);
    EXPECT_LE(layers, 18);
    EXPECT_EQ(levelCell(98, 98, 0), Wall);  // the corners stand
    EXPECT_EQ(levelCell(102, 102, 0), Wall);
    EXPECT_EQ(levelCell(100, 100, 5), Hard);
    EXPECT_EQ(levelCell(101, 100, 5), Exit);
    // One debris sample per eight cells of the box; every sample found a
    // Wall cell (or the Hard and Exit ones, which throw nothing).
    int n = 25 * layers / 8;
    EXPECT_GE(particles.num, n - 2);
    EXPECT_LE(particles.num, n);
    for (const Particle& p : particles) EXPECT_EQ(p.colour, levelPalette[Wall]);
}

TEST_F(ShotsTest, CraterAtTheLeftEdgeIsClippedButThrowsAsMuchDebris) {
    levelPalette[Wall] = 0xFFCCCCCC;
    fill(0, 90, 20, 110, Wall);
    Shot s = {{30, 100, 8, 1}, {-200, 0, 0, 0}, 0, 1, &hero};
    digCrater(s, 1, 100);
    int layers = 0;
    while (layers < LEVEL_SIZE_Z && clearedInLayer(0, 95, 10, 105, layers) > 0) layers++;
    EXPECT_EQ(clearedInLayer(0, 95, 10, 105, 0), 21 - 3);  // column -1 lies outside
    EXPECT_EQ(particles.num, 25 * layers / 8);  // the unclipped box's count
    for (const Particle& p : particles) EXPECT_GE(p.position.x, 0.0f);
}

TEST_F(ShotsTest, ShotsFlyStraightAndStopAtWallsRobotsAndTheWorldEdge) {
    fill(300, 0, 320, 200, Wall);
    spawnShot(1, &hero, {100, 100, 8, 1}, {200, 0, 0, 0}, 0xFF14FF14);
    for (int i = 0; i < 20 && shots.num; i++) shotsStep(0.05f);
    EXPECT_EQ(shots.num, 0);
    EXPECT_EQ(levelCell(300, 100, 8), Empty);  // the crater
    EXPECT_GT(particles.num, 0);

    // Into the open: removed in the step that leaves the bounds.
    spawnShot(1, &hero, {4390, 100, 8, 1}, {200, 0, 0, 0}, 0);
    shotsStep(0.05f);
    EXPECT_EQ(shots.num, 0);
}

TEST_F(ShotsTest, ShotHitsRobotsButNeverItsOwner) {
    spawnRobot(10, 5);  // feet at (168, 80)
    spawnRobot(20, 5);  // (328, 80)
    Robot* owner = &robots[0];
    spawnShot(1, owner, {160, 86, 8, 1}, {200, 0, 0, 0}, 0);
    int steps = 0;
    while (shots.num && steps++ < 30) shotsStep(0.05f);
    EXPECT_EQ(robots[0].health, 1);
    EXPECT_EQ(robots[1].health, 0);
    EXPECT_EQ(particles.num, 200);
}

TEST_F(ShotsTest, PathBoxDeepInsideARobotDoesNotHitIt) {
    spawnRobot(10, 5);  // x 162..174, y 80..94
    Shot s = {{167, 86, 8, 1}, {20, 0, 0, 0}, 0, 1, &hero};
    EXPECT_TRUE(shotStep(s, 0.05f));  // path 167..168: more than half its box inside on every side
    EXPECT_EQ(robots[0].health, 1);
}

TEST_F(ShotsTest, ParticlesFallAndDieWithTheirLife) {
    spawnParticle({10, 100, 8, 1}, {20, 0, 0, 0}, 0xFF0000FF, 0.08f);
    particlesStep(0.05f);
    ASSERT_EQ(particles.num, 1);
    EXPECT_FLOAT_EQ(particles[0].position.x, 11.0f);
    EXPECT_FLOAT_EQ(particles[0].velocity.y, -25.0f);
    particlesStep(0.05f);
    EXPECT_EQ(particles.num, 0);
}

TEST(Raycast, OffTheGridAndMovingAwayEndsAtOnce) {
    memset(levelGrid, 0, LEVEL_CELLS);
    levelGrid[levelIndex(100, 0, 8)] = Wall;
    // Straight down from below the level, straight left from left of it.
    RayHit down = raycastCells({100, -20, 8, 1}, {100, -30, 8, 1}, 2);
    EXPECT_FALSE(down.blocked);
    RayHit left = raycastCells({-20, 100, 8, 1}, {-30, 100, 8, 1}, 2);
    EXPECT_FALSE(left.blocked);
    // A slow drift down-left from below keeps going no longer than the segment.
    RayHit drift = raycastCells({100, -3, 8, 1}, {99.99f, -13, 8, 1}, 2);
    EXPECT_FALSE(drift.blocked);
    // Falling below the level and firing down plays on.
    spawnShot(1, &hero, {100, -50, 8, 1}, {0, -200, 0, 0}, 0);
    for (int i = 0; i < 30; i++) shotsStep(0.05f);  // out of the world's bounds at y < -300
    EXPECT_EQ(shots.num, 0);
    shots.clear();
}

TEST(Raycast, BandAroundThePathFindsTheFirstSolidCell) {
    memset(levelGrid, 0, LEVEL_CELLS);
    levelGrid[levelIndex(120, 102, 8)] = Wall;  // two above a horizontal path
    RayHit r = raycastCells({100, 100.5f, 8, 1}, {140, 100.5f, 8, 1}, 2);
    ASSERT_TRUE(r.blocked);
    EXPECT_EQ(r.cell[0], 120);
    EXPECT_EQ(r.cell[1], 100);
    EXPECT_NEAR(r.point.x, 120.0f, 0.01f);
    levelGrid[levelIndex(120, 102, 8)] = Empty;
    levelGrid[levelIndex(120, 103, 8)] = Wall;  // three above: missed
    EXPECT_FALSE(raycastCells({100, 100.5f, 8, 1}, {140, 100.5f, 8, 1}, 2).blocked);
    // Coming from outside the grid, the ray enters it and is stopped there.
    levelGrid[levelIndex(0, 50, 8)] = Wall;
    RayHit in = raycastCells({-30, 50.5f, 8, 1}, {10, 50.5f, 8, 1}, 2);
    ASSERT_TRUE(in.blocked);
    EXPECT_EQ(in.cell[0], 0);
}

// A shot starting on a whole coordinate lies in the cell of that coordinate,
// never the one behind it, however far into the level (float steps there are
// coarser than any offset below one half).
TEST(Raycast, FirstCellIsTheOneHoldingTheStartAtWholeCoordinates) {
    struct Case {
        float x, y, dx, dy;  // start and direction; the wall is the cell behind the start
    };
    const Case cases[] = {
        {101, 100.5f, 1, 0}, {9, 100.5f, 1, 0},     {4001, 100.5f, 1, 0},
        {2000.5f, 101, 0, 1}, {2000.5f, 201, 0, 1}, {1001, 100.5f, -1, 0},
    };
    for (const Case& c : cases) {
        memset(levelGrid, 0, LEVEL_CELLS);
        // A wall filling the cell just behind the start, in every layer.
        int bx = c.dx > 0 ? (int)c.x - 1 : c.dx < 0 ? (int)c.x + 1 : (int)c.x;
        int by = c.dy > 0 ? (int)c.y - 1 : (int)c.y;
        for (int z = 0; z < LEVEL_SIZE_Z; z++)
            if (c.dx != 0) levelGrid[levelIndex(bx, (int)c.y, z)] = Wall;
            else levelGrid[levelIndex((int)c.x, by, z)] = Wall;
        Vec4 a = {c.x, c.y, 8, 1}, b = {c.x + 10 * c.dx, c.y + 10 * c.dy, 8, 1};
        EXPECT_FALSE(raycastCells(a, b, 2).blocked) << "from " << c.x << ", " << c.y;
    }
}
