// Frames of layout A drawn through the whole scene path, read back.
#include "scene_fixture.h"
#include "exit_pad.h"
#include "framing_modes.h"
#include "hero_step.h"
#include "input.h"
#include "input_sampling.h"
#include "voxel_sprite.h"

SDL_Window* SceneTest::window;
FakeInputPlatform SceneTest::input;
RenderServices SceneTest::services;

namespace {

// Highest cell of column x below y whose front layer is filled.
int frontSurface(int x, int y) {
    while (y > 0 && !levelCell(x, y, 0)) y--;
    return y;
}

}  // namespace

TEST_F(SceneTest, LayoutAShowsWallBackWallAndHeroWhereTheCameraPutsThem) {
    setGameMode(&playMode);
    frame();
    saveFrame("scene_start.tga");
    EXPECT_EQ(camera.pixelScale, 6);
    int px, py;

    // The floor under the hero: front faces at full strength.
    int floor = frontSurface(100, 31) - 3;
    ASSERT_EQ(levelCell(100, floor, 0), Wall);
    voxelPixel(100, floor, &px, &py);
    EXPECT_TRUE(looksLike(pixelAt(px + 3, py + 3), levelPalette[Wall], 0.9f, 1.1f))
        << std::hex << pixelAt(px + 3, py + 3);

    // Open space above the floor shows the back wall, darker with depth.
    int found = 0;
    for (int y = floor + 10; y < floor + 60 && !found; y++) {
        int z = 0;
        while (z < LEVEL_SIZE_Z && !levelCell(120, y, z)) z++;
        if (z < 16 || levelCell(120, y, z) != Backdrop) continue;
        found = 1;
        voxelPixel(120, y, &px, &py);
        EXPECT_TRUE(looksLike(pixelAt(px + 3, py + 3), levelPalette[Backdrop], 0.45f, 0.8f))
            << std::hex << pixelAt(px + 3, py + 3);
    }
    EXPECT_TRUE(found);

    // The hero's body colours around its feet point (drawn at depth 8).
    Vec4 feet = heroDrawPosition(0);
    int x0, y0, x1, y1, hits = 0;
    voxelPixel((int)feet.x - 10, (int)feet.y, &x0, &y0);
    voxelPixel((int)feet.x + 10, (int)feet.y + 18, &x1, &y1);
    const VoxelSprite* body = heroSprites.body;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            for (int c = 1; c < body->numColors; c++) hits += looksLike(pixelAt(x, y), body->palette[c], 0.7f, 1.2f);
    EXPECT_GT(hits, 200);
}

TEST_F(SceneTest, ExitPadEdgesFallOnTheCameraPixelGrid) {
    setGameMode(&playMode);
    // The pad's front-layer cells: leftmost, rightmost and top.
    int padX0 = -1, padX1 = -1, padY = -1;
    for (int x = 1100; x < 1400; x++)
        for (int y = 0; y < 64; y++)
            if (levelCell(x, y, 0) == Exit) {
                if (padX0 < 0) padX0 = x;
                padX1 = x;
                if (y > padY) padY = y;
            }
    ASSERT_GE(padX0, 0);
    lookAt((float)padX0 + 10.3f, 60.0f);
    frame();
    saveFrame("scene_exit.tga");
    // The wall blocks and the pad are bevelled (their two leftmost columns
    // and top rows lie deeper), so the front-layer colour edges are the
    // pad's right side and its bottom against the wall.
    int padYBottom = padY;
    while (levelCell(padX1, padYBottom - 1, 0) == Exit) padYBottom--;
    int px, py, rx, ry;
    voxelPixel(padX0, padYBottom, &px, &py);
    voxelPixel(padX1 + 1, padY - 3, &rx, &ry);
    uint32_t pad = levelPalette[Exit], wall = levelPalette[Wall];
    for (int k = 0; k < 6; k++) {
        EXPECT_TRUE(looksLike(pixelAt(rx - 1, ry + k), pad, 0.85f, 1.15f)) << "right edge " << std::hex << pixelAt(rx - 1, ry + k);
        EXPECT_TRUE(looksLike(pixelAt(rx, ry + k), wall, 0.85f, 1.15f)) << "right of the pad " << std::hex << pixelAt(rx, ry + k);
        EXPECT_TRUE(looksLike(pixelAt(px + 3 + k, py), pad, 0.85f, 1.15f)) << "bottom edge " << std::hex << pixelAt(px + 3 + k, py);
        EXPECT_TRUE(looksLike(pixelAt(px + 3 + k, py - 1), wall, 0.85f, 1.15f)) << "below the pad " << std::hex << pixelAt(px + 3 + k, py - 1);
    }
    EXPECT_EQ((rx - px) % 6, 0);
    EXPECT_EQ(rx - px, (padX1 + 1 - padX0) * 6);
}

TEST_F(SceneTest, CrosshairFollowsThePointerWithBlackAndWhiteArms) {
    setGameMode(&playMode);
    input.overWindow = true;
    refreshCursorInside();
    pushInput(InputMove, 0, 0, 0, 400.0f, 719.0f - 300.0f);
    frame();
    input.overWindow = false;
    refreshCursorInside();
    // At 720 rows the arms are 10 long with a gap of 5 (x, y) = (400, 300).
    EXPECT_EQ(pixelAt(387, 300), 0xFFFFFFFFu);  // left arm
    EXPECT_EQ(pixelAt(387, 299), 0xFF000000u);
    EXPECT_EQ(pixelAt(387, 301), 0xFF000000u);
    EXPECT_EQ(pixelAt(384, 300), 0xFF000000u);
    EXPECT_EQ(pixelAt(412, 300), 0xFFFFFFFFu);  // right arm
    EXPECT_EQ(pixelAt(400, 313), 0xFFFFFFFFu);  // up
    EXPECT_EQ(pixelAt(399, 313), 0xFF000000u);
    EXPECT_EQ(pixelAt(400, 287), 0xFFFFFFFFu);  // down
    EXPECT_NE(pixelAt(400, 300), 0xFFFFFFFFu);  // the centre stays open
}

TEST_F(SceneTest, GameOverTextAndTheElevatorRideDraw) {
    setGameMode(&playMode);
    setGameMode(&gameOverMode);
    frame();
    int white = 0;
    for (int x = 440; x < 840; x += 2) white += pixelAt(x, 360) == 0xFFFFFFFFu;
    EXPECT_GT(white, 20);
    saveFrame("scene_game_over.tga");

    setGameMode(&playMode);
    // The ride starts with the hero standing on the pad.
    ASSERT_TRUE(placeHeroOnExitPad());
    setGameMode(&elevatorMode);
    ASSERT_EQ(currentMode, &elevatorMode);
    for (int i = 0; i < 12; i++) {
        stepInput = readStepInputFromKeys();  // as the main loop does before each step
        elevatorMode.update(0.05f);
    }
    frame();
    saveFrame("scene_elevator.tga");
    const ElevatorGameMode& ride = elevatorRide();
    ASSERT_TRUE(ride.padSprite);
    // A pad copy under the hero's feet.
    int px, py;
    Vec4 feet = heroDrawPosition(0);
    voxelPixel(ride.minX + 2, (int)feet.y - 1, &px, &py);
    EXPECT_TRUE(looksLike(pixelAt(px + 3, py + 3), levelPalette[Exit], 0.6f, 1.3f)) << std::hex << pixelAt(px + 3, py + 3);
    setGameMode(&playMode);
}

TEST_F(SceneTest, ShortWideWindowDrawsAtPixelScaleOne) {
    setGameMode(&playMode);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(resizeDevice(1920, 230, false));
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("3d pixel scale: 1"), std::string::npos);
    EXPECT_EQ(camera.pixelScale, 1);
    // Centred mid-level: 2000 x 256 voxels, 2000 chunks or more.
    lookAt(1500, 120);
    uint64_t built = levelVoxelCache->chunksBuilt;
    frame();
    saveFrame("scene_wide.tga");
    EXPECT_GE(levelVoxelCache->chunksBuilt - built, 2000u);
    EXPECT_GT(usedVoxelCacheSlots(levelVoxelCache), 1000);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(resizeDevice(W, H, false));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(camera.pixelScale, 6);
}
