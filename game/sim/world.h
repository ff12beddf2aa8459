// world: the play mode, the step of the level's simulation shared by the
// world-showing modes, the world's resources, and the five game modes.
#pragma once
#include "game_mode.h"

struct VoxelSprite;

// Run state. levelExitReached: cleared by restartLevel, set during steps.
// showDebugBoxes: false from start-up, switched by F4. The modes: fixed at
// start-up.
//
// Set when the hero stood long enough on the exit pad (or F3); cleared by
// every level restart.
extern bool levelExitReached;
// F4: draw the hero's and robots' boxes; false at start.
extern bool showDebugBoxes;

// The modes of the rules; the references never change while the game runs.
extern GameMode& playMode;
extern GameMode& gameOverMode;
extern GameMode& elevatorMode;
// The two screen modes live with the screens, above the rules: start-up
// registers them (registerScreenModes) before the first level; null before.
extern GameMode* upgradeMode;
extern GameMode* endDemoMode;

class PlayGameMode : public GameMode {
public:
    void enter(GameMode* previous) override;  // builds the current level afresh
    void leave(GameMode*) override {}
    void update(float dt) override;           // worldUpdate
    void renderScene(float t) override;       // the level and everything in it
    void renderOverlay(float) override {}
    void onResize() override {}
};

// Builds the level of levelNumber afresh: robots, shots and particles
// emptied, grid rebuilt, hero placed, voxel cache invalidated.
void restartLevel();
// Robots, hero, shots, particles; then game over when the hero has no
// health left, and the elevator when the exit was reached (both tests run).
void worldUpdate(float dt);

// Sprites of the figures, loaded once by initWorld and freed by releaseWorld.
struct HeroSprites {
    VoxelSprite* body;
    VoxelSprite* arm;
    VoxelSprite* legs0;
    VoxelSprite* legs2;
    VoxelSprite* heart;
};
extern HeroSprites heroSprites;
extern VoxelSprite* robotSprite;

// Voxel cache, hero sprites (fatal "can't load hero voxel sprites"), camera,
// robot sprite (fatal "can't load enemy voxel sprites").
void initWorld();
// Frees the sprites and the shot and particle storage, destroys the voxel
// cache. Safe when initWorld did not run or ran only in part.
void releaseWorld();

// The grid rectangle worldRender draws for a view centred on (tx, ty):
// columns x0 .. x1 - 1 and rows y0 .. y1 - 1; empty when x1 <= x0 or y1 <= y0.
struct VisibleRegion {
    int x0, y0, x1, y1;
};
VisibleRegion visibleRegion(float tx, float ty, int width, int height, int pixelScale);
