// framing_modes: elevator ride and game over.
#include "framing_modes.h"
#include <cstring>
#include "hero.h"
#include "hero_step.h"
#include "level.h"
#include "progress.h"
#include "qz_utils.h"
#include "robots.h"
#include "services.h"
#include "shots.h"
#include "step_input.h"
#include "voxel_sprite.h"
#include "world.h"

static ElevatorGameMode elevatorModeInstance;
static GameOverMode gameOverModeInstance;
GameMode& elevatorMode = elevatorModeInstance;
GameMode& gameOverMode = gameOverModeInstance;

ElevatorGameMode& elevatorRide() { return elevatorModeInstance; }

//---------------------------------------------------------------------------
// Elevator
//---------------------------------------------------------------------------

static int clampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

void ElevatorGameMode::enter(GameMode*) {
    robots.clear();
    shots.clear();
    particles.clear();

    // The right-most pad: columns from the right, rows from the bottom, in
    // the layer the figures walk in.
    int xp = -1, yp = -1;
    for (int x = LEVEL_SIZE_X - 1; x >= 0 && xp < 0; x--)
        for (int y = 0; y < LEVEL_SIZE_Y; y++)
            if (levelCell(x, y, 10) == Exit) {
                xp = x;
                yp = y;
                break;
            }
    ASSERT(xp>=0);

    // Every Exit cell within 32 cells of it, in all layers, belongs to the lift.
    int xa = clampInt(xp - 32, 0, LEVEL_SIZE_X - 1), xb = clampInt(xp + 32, 0, LEVEL_SIZE_X - 1);
    int ya = clampInt(yp - 32, 0, LEVEL_SIZE_Y - 1), yb = clampInt(yp + 32, 0, LEVEL_SIZE_Y - 1);
    minX = xb;
    maxX = xa;
    minY = yb;
    liftY = ya;
    for (int z = 0; z < LEVEL_SIZE_Z; z++)
        for (int y = ya; y <= yb; y++)
            for (int x = xa; x <= xb; x++) {
                if (levelCell(x, y, z) != Exit) continue;
                if (x < minX) minX = x;
                if (x > maxX) maxX = x;
                if (y < minY) minY = y;
                if (y > liftY) liftY = y;
            }

    if (padSprite) destroyVoxelSprite(padSprite);
    VoxelLevelView view = {levelGrid, levelPalette, LEVEL_SIZE_Z};
    padSprite = cutVoxelSprite(view, minX, minY, 1, maxX, liftY, 19);

    for (int z = 0; z <= 15; z++)
        for (int y = liftY + 1; y < LEVEL_SIZE_Y; y++)
            memset(levelGrid + levelIndex(minX, y, z), Empty, (size_t)(maxX - minX + 1));
    markLevelCellsChanged(minX, liftY + 1, 0, maxX, LEVEL_SIZE_Y - 1, 15);
    viewServices->invalidateVoxelCacheRect(minX, liftY, maxX, LEVEL_SIZE_Y - 1);
    speed = 1;
    soundServices->playMusic(MusicNone);
    soundServices->playSound(SoundLiftRide, {(float)(minX + maxX) * 0.5f, (float)liftY, hero.position.z, 1});
}

void ElevatorGameMode::leave(GameMode*) {
    destroyVoxelSprite(padSprite);
    padSprite = nullptr;
}

ElevatorGameMode::~ElevatorGameMode() { destroyVoxelSprite(padSprite); }

void ElevatorGameMode::update(float dt) {
    if (liftY >= LEVEL_SIZE_Y - 1) {
        nextLevel();
        GameMode* next = levelNumber >= 3 ? endDemoMode : upgradeMode;
        ASSERT(next);  // registered at start-up
        setGameMode(next);
        return;
    }
    liftY += speed;
    if (liftY > LEVEL_SIZE_Y - 1) liftY = LEVEL_SIZE_Y - 1;
    setHeroPosition({(float)(minX + maxX) * 0.5f, (float)liftY, hero.position.z, 1}, dt);
    if (speed < 10) speed++;
}

void ElevatorGameMode::renderScene(float t) { viewServices->elevatorRender(t); }

//---------------------------------------------------------------------------
// Game over
//---------------------------------------------------------------------------

void GameOverMode::enter(GameMode*) {
    delay = 0.5f;
    soundServices->playMusic(MusicNone);
}

void GameOverMode::update(float dt) {
    worldUpdate(dt);
    if (delay > 0) {
        delay -= dt;
        return;
    }
    if (stepInput.released & ActionConfirm) {
        newGame();
        setGameMode(&playMode);
    }
}

void GameOverMode::renderScene(float t) { viewServices->worldRender(t); }
void GameOverMode::renderOverlay(float) { viewServices->gameOverOverlay(); }
