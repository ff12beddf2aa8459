// world: play mode, level restart, the world step and its resources.
#include "world.h"
#include <cmath>
#include "hero.h"
#include "hero_step.h"
#include "level.h"
#include "qz_utils.h"
#include "robots.h"
#include "services.h"
#include "shots.h"
#include "voxel_sprite.h"

bool levelExitReached;
bool showDebugBoxes;
HeroSprites heroSprites;
VoxelSprite* robotSprite;

static PlayGameMode playModeInstance;
GameMode& playMode = playModeInstance;
GameMode* upgradeMode;
GameMode* endDemoMode;

void PlayGameMode::enter(GameMode*) { restartLevel(); }
void PlayGameMode::update(float dt) { worldUpdate(dt); }
void PlayGameMode::renderScene(float t) { viewServices->worldRender(t); }

void restartLevel() {
    levelExitReached = false;
    robots.clear();
    particles.clear();
    shots.release();
    buildLevel();
    viewServices->invalidateVoxelCache();
    soundServices->playMusic(levelMusic(levelNumber));
    soundServices->playSound(SoundLevelStart, hero.position);
}

void worldUpdate(float dt) {
    robotsStep(dt);
    heroStep(dt);
    shotsStep(dt);
    particlesStep(dt);
    if (hero.health <= 0) setGameMode(&gameOverMode);
    if (levelExitReached) setGameMode(&elevatorMode);
}

void initWorld() {
    viewServices->createVoxelCache();
    heroSprites.body = loadVoxelSprite("hero_body.png");
    heroSprites.arm = loadVoxelSprite("hero_arm.png");
    heroSprites.legs0 = loadVoxelSprite("hero_legs0.png");
    heroSprites.legs2 = loadVoxelSprite("hero_legs2.png");
    heroSprites.heart = loadVoxelSprite("heart.png");
    if (!heroSprites.body || !heroSprites.arm || !heroSprites.legs0 || !heroSprites.legs2 || !heroSprites.heart)
        fatalError("can't load hero voxel sprites");
    resetCamera();
    robotSprite = loadVoxelSprite("robot1.png");
    if (!robotSprite) fatalError("can't load enemy voxel sprites");
}

void releaseWorld() {
    VoxelSprite** all[] = {&heroSprites.body, &heroSprites.arm, &heroSprites.legs0, &heroSprites.legs2,
                           &heroSprites.heart, &robotSprite};
    for (VoxelSprite** s : all) {
        destroyVoxelSprite(*s);
        *s = nullptr;
    }
    particles.release();
    shots.release();
    viewServices->destroyVoxelCache();
}

VisibleRegion visibleRegion(float tx, float ty, int width, int height, int pixelScale) {
    int w = width / pixelScale + 80, h = height / pixelScale + 60;
    VisibleRegion r;
    r.x0 = (int)lrintf(tx - 0.4999999f) - w / 2;
    r.y0 = (int)lrintf(ty - 0.4999999f) - h / 2;
    r.x1 = r.x0 + w;
    r.y1 = r.y0 + h;
    if (r.x0 < 0) r.x0 = 0;
    if (r.y0 < 0) r.y0 = 0;
    if (r.x1 > LEVEL_SIZE_X) r.x1 = LEVEL_SIZE_X;
    if (r.y1 > LEVEL_SIZE_Y) r.y1 = LEVEL_SIZE_Y;
    return r;
}
