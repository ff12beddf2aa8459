#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "camera.h"
#include "hero.h"
#include "level.h"
#include "random.h"
#include "robots.h"

static bool blockIs(int bx, int by, uint8_t kind, int z0 = 2, int z1 = 19) {
    for (int z = z0; z <= z1; z++)
        for (int y = by * 16; y < by * 16 + 16; y++)
            for (int x = bx * 16; x < bx * 16 + 16; x++)
                if (levelCell(x, y, z) != kind) return false;
    return true;
}

static bool gridAllZero() {
    for (int i = 0; i < LEVEL_CELLS; i++)
        if (levelGrid[i]) return false;
    return true;
}

static void buildWithSeed(int level, uint64_t seed) {
    levelNumber = level;
    gameRandom.seed(seed);
    buildLevel();
}

TEST(LevelTest, LayoutAIsTheSameOnEveryBuild) {
    buildWithSeed(1, 1);
    std::vector<uint8_t> first(levelGrid, levelGrid + LEVEL_CELLS);
    buildWithSeed(3, 987654321);
    EXPECT_EQ(0, memcmp(first.data(), levelGrid, LEVEL_CELLS));

    ASSERT_EQ(robots.num, 7);
    static const int columns[] = {41, 49, 51, 59, 61, 65, 69};
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(robots[i].position.x, 16.0f * columns[i] + 8);
        EXPECT_EQ(robots[i].position.y, 32.0f);
        EXPECT_EQ(robots[i].position.z, 8.0f);
    }
}

TEST(LevelTest, LayoutAHasExitPadCeilingGapPillarsAndGaps) {
    buildWithSeed(1, 5);
    EXPECT_TRUE(blockIs(77, 1, Exit));
    EXPECT_TRUE(blockIs(77, 6, Empty, 0, 15));  // the back wall stays behind the gap
    EXPECT_TRUE(blockIs(76, 6, Wall));
    EXPECT_TRUE(blockIs(78, 6, Wall));
    for (int by = 2; by <= 5; by++) {
        EXPECT_TRUE(blockIs(10, by, Wall));
        EXPECT_TRUE(blockIs(30, by, Wall));
        EXPECT_EQ(blockIs(40, by, Wall), by != 3);
        EXPECT_EQ(blockIs(50, by, Wall), by != 4);
        EXPECT_EQ(blockIs(70, by, Wall), by != 5);
        EXPECT_TRUE(blockIs(80, by, Wall));
    }
    // The corridor between pillars is open in the layers bodies use.
    EXPECT_TRUE(blockIs(15, 3, Empty, 0, 15));
    // Bevel: the front layers lack the two left columns and the two top rows.
    EXPECT_EQ(levelCell(160, 20, 0), Empty);
    EXPECT_EQ(levelCell(162, 20, 0), Wall);
    EXPECT_EQ(levelCell(170, 30, 1), Empty);
    EXPECT_EQ(levelCell(170, 29, 1), Wall);
    // Backdrop checkerboard: 4 deep on odd bx + by, 2 deep on even.
    EXPECT_EQ(levelCell(15 * 16, 3 * 16, 16), Empty);
    EXPECT_EQ(levelCell(15 * 16, 3 * 16, 18), Backdrop);
    EXPECT_EQ(levelCell(16 * 16, 3 * 16, 16), Backdrop);
    EXPECT_EQ(levelPalette[Exit], 0xFFFFDD11u);
    EXPECT_EQ(levelPalette[7], 0xFFCCCCCCu);
}

// Cells of layout B that depend on the random generator.
static bool inPorousBlock(int x, int y) {
    int bx = x / 16, by = y / 16;
    return ((bx == 41 || bx == 42) && by >= 2 && by <= 12) || (bx == 55 && by == 3);
}

TEST(LevelTest, LayoutBDiffersOnlyInPorousBlocksAndRobotColumns) {
    buildWithSeed(2, 11);
    std::vector<uint8_t> first(levelGrid, levelGrid + LEVEL_CELLS);
    std::vector<Vec4> firstRobots;
    for (const Robot& r : robots) firstRobots.push_back(r.position);
    buildWithSeed(2, 12345);

    int porousDiffs = 0, otherDiffs = 0;
    for (int z = 0; z < LEVEL_SIZE_Z; z++)
        for (int y = 0; y < LEVEL_SIZE_Y; y++)
            for (int x = 0; x < LEVEL_SIZE_X; x++)
                if (first[levelIndex(x, y, z)] != levelCell(x, y, z)) (inPorousBlock(x, y) ? porousDiffs : otherDiffs)++;
    EXPECT_EQ(otherDiffs, 0);
    EXPECT_GT(porousDiffs, 0);

    // Two robots per platform level, never in the same column, in 46..52.
    ASSERT_EQ(robots.num, 10);
    bool columnsDiffer = false;
    for (int k = 0; k < 5; k++) {
        const Robot &a = robots[2 * k], &b = robots[2 * k + 1];
        EXPECT_EQ(a.position.y, 16.0f * (2 + 3 * k));
        EXPECT_EQ(b.position.y, a.position.y);
        EXPECT_NE(a.position.x, b.position.x);
        for (const Robot* r : {&a, &b}) {
            int column = (int)(r->position.x - 8) / 16;
            EXPECT_GE(column, 46);
            EXPECT_LE(column, 52);
        }
        columnsDiffer |= a.position.x != firstRobots[2 * k].x || b.position.x != firstRobots[2 * k + 1].x;
    }
    EXPECT_TRUE(columnsDiffer);
}

TEST(LevelTest, LayoutBFrameAndFixedParts) {
    buildWithSeed(4, 3);
    for (int bx = 0; bx < 256; bx++) {
        EXPECT_TRUE(blockIs(bx, 0, Hard));
        EXPECT_TRUE(blockIs(bx, 15, Hard));
    }
    for (int by = 2; by <= 15; by++) EXPECT_TRUE(blockIs(255, by, Hard));
    EXPECT_TRUE(blockIs(10, 2, Wall));
    EXPECT_TRUE(blockIs(58, 3, Exit));
    EXPECT_TRUE(blockIs(45, 4, Hard));  // first platform, s = 1
    EXPECT_FALSE(blockIs(44, 4, Hard));
    // The slant's rows shift right two voxels every two rows.
    EXPECT_EQ(levelCell(12 * 16 + 3, 2 * 16 + 4, 5), Empty);
    EXPECT_EQ(levelCell(12 * 16 + 4, 2 * 16 + 4, 5), Wall);
    EXPECT_EQ(levelCell(13 * 16 + 3, 2 * 16 + 4, 5), Hard);  // overwritten by the hard block
}

TEST(LevelTest, FillsNeverWriteOutsideTheGrid) {
    memset(levelGrid, 0, LEVEL_CELLS);
    fillHardBlock(45, 16);  // the row the last zig-zag platform would need
    fillWallBlock(0, -1);
    fillExitBlock(256, 3);
    fillBackdropBlock(-1, 2);
    gameRandom.seed(1);
    fillPorousBlock(3, 16);
    EXPECT_TRUE(gridAllZero());

    // A slant in the last column leans past the right edge: cut there, not
    // carried into the next row.
    fillSlantBlock(255, 5);
    EXPECT_EQ(levelCell(4095, 5 * 16 + 15, 2), Wall);
    EXPECT_EQ(levelCell(0, 5 * 16 + 15, 2), Empty);
    EXPECT_EQ(levelCell(0, 5 * 16 + 16, 2), Empty);
}

TEST(LevelTest, ClearCellsClipsAndSparesIndestructibleCells) {
    memset(levelGrid, 0, LEVEL_CELLS);
    for (int z = 0; z < 20; z++)
        for (int y = 250; y < 256; y++)
            for (int x = 4090; x < 4096; x++) levelGrid[levelIndex(x, y, z)] = Wall;
    levelGrid[levelIndex(4095, 255, 19)] = Exit;
    levelGrid[levelIndex(4094, 255, 19)] = Hard;
    levelGrid[levelIndex(4093, 255, 19)] = Backdrop;
    clearCells(4092, 252, 10, 5000, 300, 25, 0);
    EXPECT_EQ(levelCell(4095, 255, 19), Exit);
    EXPECT_EQ(levelCell(4094, 255, 19), Hard);
    EXPECT_EQ(levelCell(4093, 255, 19), Empty);
    EXPECT_EQ(levelCell(4092, 252, 10), Empty);
    EXPECT_EQ(levelCell(4091, 252, 10), Wall);
    EXPECT_EQ(levelCell(4092, 251, 10), Wall);
    EXPECT_EQ(levelCell(4092, 252, 9), Wall);

    levelGrid[levelIndex(0, 0, 0)] = Wall;
    levelGrid[levelIndex(2, 0, 0)] = Wall;
    clearCells(-3, -3, -3, 1, 0, 0, 0);
    EXPECT_EQ(levelCell(0, 0, 0), Empty);
    EXPECT_EQ(levelCell(2, 0, 0), Wall);
    clearCells(3, 0, 0, 1, 5, 5, 0);  // empty box
    EXPECT_EQ(levelCell(2, 0, 0), Wall);
}

TEST(LevelTest, BuildPlacesHeroAndKeepsHealth) {
    hero.health = 7;
    hero.position = vec4(1, 2, 3, 1);
    hero.vx = 50;
    hero.exitTimer = 0.3f;
    buildWithSeed(2, 9);
    EXPECT_EQ(hero.health, 7);
    EXPECT_EQ(hero.position.x, 88.0f);
    EXPECT_EQ(hero.position.y, 32.0f);
    EXPECT_EQ(hero.position.z, 8.0f);
    EXPECT_EQ(hero.vx, 0.0f);
    EXPECT_EQ(hero.exitTimer, 0.0f);
    EXPECT_EQ(cameraPosition.x, 88.0f);
    EXPECT_EQ(cameraPosition.y, 41.0f);
    EXPECT_EQ(cameraFollow[1].y, 41.0f);
}

// The layouts as listed, block by block with the public fills, on a cleared
// grid; buildLevel's faster runs must produce the same cells.
static void referenceLayout(bool a) {
    memset(levelGrid, 0, LEVEL_CELLS);
    for (int by = 2; by <= 15; by++)
        for (int bx = 2; bx <= 253; bx++) fillBackdropBlock(bx, by);
    void (*frame)(int, int) = a ? fillWallBlock : fillHardBlock;
    for (int bx = 0; bx <= 255; bx++) frame(bx, 0), frame(bx, 1), frame(bx, 15);
    for (int by = 2; by <= 15; by++) frame(0, by), frame(1, by), frame(254, by), frame(255, by);
    if (a) {
        for (int bx = 2; bx <= 80; bx++)
            if (bx != 77) fillWallBlock(bx, 6);
        for (int by = 2; by <= 5; by++) fillWallBlock(10, by), fillWallBlock(20, by), fillWallBlock(30, by);
        for (int by = 2; by <= 5; by++) {
            if (by != 3) fillWallBlock(40, by);
            if (by != 4) fillWallBlock(50, by), fillWallBlock(60, by);
            if (by != 5) fillWallBlock(70, by);
            fillWallBlock(80, by);
        }
        fillExitBlock(77, 1);
        return;
    }
    fillWallBlock(10, 2);
    for (int by = 3; by <= 14; by++) fillHardBlock(10, by);
    fillSlantBlock(12, 2), fillHardBlock(13, 2), fillWallBlock(14, 2);
    fillSlantBlock(14, 3), fillSlantBlock(15, 4), fillSlantBlock(16, 5), fillSlantBlock(17, 6), fillSlantBlock(18, 7);
    for (int by = 2; by <= 7; by++) fillHardBlock(19, by);
    for (int m = 0; m < 4; m++) {
        int cx = 22 + 6 * m;
        for (int by = 3; by <= 14; by++) fillHardBlock(cx, by);
        if (m < 3) {
            fillWallBlock(cx + 1, 3), fillWallBlock(cx + 1, 7), fillWallBlock(cx + 1, 11);
            fillWallBlock(cx + 2, 5), fillWallBlock(cx + 2, 9);
        } else {
            for (int by = 2; by <= 12; by++) fillPorousBlock(cx + 1, by), fillPorousBlock(cx + 2, by);
        }
        for (int by = 2; by <= 12; by++) fillHardBlock(cx + 3, by);
    }
    fillSlantBlock(43, 13);
    for (int k = 0; k < 5; k++) {
        int r = 2 + 3 * k, s = k % 2 == 0;
        for (int i = 0; i <= 9; i++) fillHardBlock(44 + s + i, r + 2);
        if (r != 2) fillWallBlock(s ? 53 : 45, r);
        fillHardBlock(55, r);
        if (r != 2) fillHardBlock(55, r + 1);
        else fillPorousBlock(55, 3);
        fillHardBlock(55, r + 2);
        uint32_t e1 = gameRandom.nextU32() % 7, e2;
        do e2 = gameRandom.nextU32() % 7;
        while (e2 == e1);
    }
    fillExitBlock(58, 3), fillHardBlock(57, 3), fillHardBlock(59, 3);
    for (int by = 2; by <= 14; by++) fillHardBlock(61, by);
    for (int bx = 56; bx <= 60; bx++) fillHardBlock(bx, 2);
}

TEST(LevelTest, BuildMatchesTheLayoutsBlockByBlock) {
    for (int level : {1, 2}) {
        buildWithSeed(level, 77);
        std::vector<uint8_t> built(levelGrid, levelGrid + LEVEL_CELLS);
        gameRandom.seed(77);
        referenceLayout(level == 1);
        EXPECT_EQ(0, memcmp(built.data(), levelGrid, LEVEL_CELLS)) << "level " << level;
    }
}
