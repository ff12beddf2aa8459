// The cube batch and the level's chunk cache on a real device (Xvfb).
#include "cube_render.h"
#include "gl_test_support.h"
#include "level.h"
#include "voxel_cache.h"

struct CubeRenderTest : DeviceTest {
    void SetUp() override {
        DeviceTest::SetUp();
        initCubeRenderer();
        setSceneTarget();
        setCubeFrameConstants(identityMatrix(), {0, 0, -120, 1});
    }
    void TearDown() override {
        shutdownCubeRenderer();
        DeviceTest::TearDown();
    }
};

TEST_F(CubeRenderTest, FullBatchDrawsBeforeTheNextCubeAndTransformsSplitIt) {
    beginCubes();
    uint64_t draws = deviceDrawCount();
    for (int i = 0; i < CUBE_BATCH_INSTANCES; i++) addCube(i, 0, 0, 0xFFFFFFFFu);
    EXPECT_EQ(deviceDrawCount(), draws);
    addCube(0, 16, 0, 0xFFFFFFFFu);  // the 16385th
    EXPECT_EQ(deviceDrawCount(), draws + 1);
    Mat4 moved = translationMatrix(5, 0, 0);
    setCubeTransform(moved);
    EXPECT_EQ(deviceDrawCount(), draws + 2);
    setCubeTransform(moved);  // unchanged: nothing pending is drawn
    addCube(0, 0, 0, 0xFFFFFFFFu);
    endCubes();
    EXPECT_EQ(deviceDrawCount(), draws + 3);
}

// The level grid with layout A, cached and drawn the way the play mode does.
struct VoxelCacheTest : CubeRenderTest {
    VoxelCache* cache = nullptr;
    void SetUp() override {
        CubeRenderTest::SetUp();
        testing::internal::CaptureStdout();
        levelNumber = 1;
        buildLevel();
        testing::internal::GetCapturedStdout();
        cache = createVoxelCache(levelGrid, 1, LEVEL_STRIDE_Y, LEVEL_STRIDE_Z, LEVEL_SIZE_X, LEVEL_SIZE_Y,
                                 LEVEL_SIZE_Z, levelPalette);
    }
    void TearDown() override {
        destroyVoxelCache(cache);
        CubeRenderTest::TearDown();
    }
    void draw(int x0, int y0, int x1, int y1) {
        beginCubes();
        drawVoxelCache(cache, x0, y0, x1, y1);
        endCubes();
    }
};

TEST_F(VoxelCacheTest, StillViewReusesAndMovedViewBuildsOnlyTheNewColumn) {
    draw(0, 0, 16 * 20 - 1, 16 * 12 - 1);  // 20 x 12 chunks
    EXPECT_EQ(cache->chunksBuilt, 240u);
    int slots = usedVoxelCacheSlots(cache);
    EXPECT_GE(slots, 200);  // some chunks are empty sky
    uint64_t draws = deviceDrawCount();
    draw(0, 0, 16 * 20 - 1, 16 * 12 - 1);
    EXPECT_EQ(cache->chunksBuilt, 240u);
    // Per cached chunk the front faces and the sides towards the eye: one
    // to three draws.
    EXPECT_GE(deviceDrawCount() - draws, (uint64_t)slots);
    EXPECT_LE(deviceDrawCount() - draws, 3u * (uint64_t)slots);

    draw(16, 0, 16 * 21 - 1, 16 * 12 - 1);  // one chunk to the right
    EXPECT_EQ(cache->chunksBuilt, 240u + 12u);
    for (int i = 0; i < cache->slots.num; i++)
        if (cache->slots[i].count > 0) {
            EXPECT_GE(cache->slots[i].chunkX, 1);
        }
}

TEST_F(VoxelCacheTest, CraterRectFreesOnlyTheChunksItTouches) {
    draw(0, 0, 16 * 10 - 1, 16 * 4 - 1);
    uint64_t built = cache->chunksBuilt;
    // A crater at the corner of four chunks, grown by one cell: chunk (2,1)
    // through (3,2) in x and y.
    invalidateVoxelCacheRect(cache, 40, 20, 47, 31);
    draw(0, 0, 16 * 10 - 1, 16 * 4 - 1);
    EXPECT_EQ(cache->chunksBuilt - built, 4u);
    invalidateVoxelCache(cache);
    EXPECT_EQ(usedVoxelCacheSlots(cache), 0);
}

TEST_F(VoxelCacheTest, ViewsOutsideTheGridDrawNothing) {
    uint64_t draws = deviceDrawCount();
    draw(-100, 0, -1, 100);
    draw(0, -50, 100, -1);
    EXPECT_EQ(deviceDrawCount(), draws);
    EXPECT_EQ(cache->chunksBuilt, 0u);
}

TEST_F(VoxelCacheTest, ShortWideViewOfTwoThousandChunksDraws) {
    // 1920 x 230 at pixel scale 1: 2000 x 290 voxels around the start.
    draw(0, 0, 1999, 255);
    EXPECT_EQ(cache->chunksBuilt, 125u * 16u);
    EXPECT_GT(usedVoxelCacheSlots(cache), 1000);
}
