// draw_world: the drawing of the play, game-over and elevator modes.
#include "draw_world.h"
#include <cmath>
#include "camera.h"
#include "cube_render.h"
#include "debug_vis.h"
#include "device.h"
#include "font.h"
#include "framing_modes.h"
#include "hero.h"
#include "hero_step.h"
#include "main_loop.h"
#include "robots.h"
#include "shots.h"
#include "voxel_cache.h"
#include "voxel_sprite.h"
#include "world.h"

VoxelCache* levelVoxelCache;

static Mat4 withTranslation(const Mat4& m, Vec4 p) {
    Mat4 r = m;
    r.m[3][0] = p.x;
    r.m[3][1] = p.y;
    r.m[3][2] = p.z;
    r.m[3][3] = 1.0f;
    return r;
}


void worldRender(float t) {
    VisibleRegion r = visibleRegion(cameraPosition.x, cameraPosition.y, camera.width, camera.height, camera.pixelScale);
    beginCubes();
    if (levelVoxelCache) drawVoxelCache(levelVoxelCache, r.x0, r.y0, r.x1 - 1, r.y1 - 1);
    drawHero(t);
    drawRobots(t);
    drawShots(t);
    drawParticles(t);
    endCubes();
    if (showDebugBoxes) {
        beginDebugDraw();
        drawHeroDebug(t);
        drawRobotsDebug(t);
        endDebugDraw();
    }
}

void drawHero(float t) {
    if (hero.health <= 0 || !heroSprites.body) return;
    float blink = hero.hurtTimer - t;
    if (blink > 0 && fmodf(blink * 10.0f, 1.0f) < 0.5f) return;

    Mat4 body = withTranslation(hero.model, heroDrawPosition(t));
    setCubeTransform(body);
    drawVoxelSprite(heroSprites.body, -8, 0, -7, 0);
    float w = hero.walkPhase;
    VoxelSprite* legs = (w < 2 || (w >= 4 && w < 6)) ? heroSprites.legs0 : heroSprites.legs2;
    drawVoxelSprite(legs, -8, 0, -7, w < 4 ? 0 : 1);

    // The arm turns about the shoulder to point along the aim.
    Mat4 inv;
    invertMatrix(body, &inv);
    Vec4 a = transform(hero.aimDirection * -1.0f, inv);
    a.w = 0;
    Vec4 s = hero.shoulder;
    Vec4 r0 = {1, 0, 0, 0}, r1 = {0, a.z, -a.y, 0}, r2 = a;
    Vec4 r3 = s - (r0 * s.x + r1 * s.y + r2 * s.z);
    Mat4 arm = {{{r0.x, r0.y, r0.z, 0}, {r1.x, r1.y, r1.z, 0}, {r2.x, r2.y, r2.z, 0}, {r3.x, r3.y, r3.z, 1}}};
    setCubeTransform(arm * body);
    drawVoxelSprite(heroSprites.arm, -8, 0, -7, 0);
    drawVoxelSprite(heroSprites.arm, -8, 0, -7, 1);

    // Hearts at half size near the top left of the view, moving with it.
    float ps = (float)camera.pixelScale;
    Mat4 hearts = {};
    hearts.m[0][0] = hearts.m[1][1] = hearts.m[2][2] = 0.5f;
    hearts.m[3][0] = nearbyintf(ps * cameraPosition.x) / ps;
    hearts.m[3][1] = nearbyintf(ps * cameraPosition.y) / ps;
    hearts.m[3][2] = nearbyintf(cameraPosition.z);
    hearts.m[3][3] = nearbyintf(cameraPosition.w);
    setCubeTransform(hearts);
    for (int i = 0; i < hero.health; i++) drawVoxelSprite(heroSprites.heart, 16 * i - 160, 104, -4, 0);
}

void drawHeroDebug(float t) {
    Vec4 p = heroDrawPosition(t);
    debugWireBox(p + HERO_BOX_MIN, p + HERO_BOX_MAX, 0xFF00FF00u);
    debugCross(hero.aimPoint, 2.0f, 0xFF00FF00u);
}

static Vec4 robotDrawPosition(const Robot& r, float t) {
    return interpolateStep(r.previousPosition, r.position, t);
}

void drawRobots(float t) {
    if (!robotSprite) return;
    // Robots outside the drawn part of the level are not drawn; the margin
    // covers the sprite's extent around its feet point, also turned.
    VisibleRegion v = visibleRegion(cameraPosition.x, cameraPosition.y, camera.width, camera.height, camera.pixelScale);
    float margin = (float)(robotSprite->sizeX + robotSprite->sizeY + robotSprite->sizeZ);
    for (const Robot& r : robots) {
        Vec4 p = robotDrawPosition(r, t);
        if (p.x + margin < (float)v.x0 || p.x - margin > (float)v.x1 || p.y + margin < (float)v.y0 ||
            p.y - margin > (float)v.y1)
            continue;
        setCubeTransform(withTranslation(r.model, p));
        drawVoxelSprite(robotSprite, -8, 0, -8, 0);
    }
}

void drawRobotsDebug(float t) {
    for (const Robot& r : robots) {
        Vec4 p = robotDrawPosition(r, t);
        debugWireBox(p + ROBOT_BOX_MIN, p + ROBOT_BOX_MAX, 0xFFFF0000u);
    }
}

void drawShots(float t) {
    static const int cubes[10][3] = {{16, 0, -64}, {-16, 0, -64}, {0, 16, -64}, {0, -16, -64}, {0, 0, -80},
                                     {16, 0, 64},  {-16, 0, 64},  {0, 16, 64},  {0, -16, 64},  {0, 0, 48}};
    setCubeTransform(identityMatrix());
    for (const Shot& s : shots) {
        Vec4 p = (s.position + s.velocity * t) * 16.0f;
        int X = (int)nearbyintf(p.x), Y = (int)nearbyintf(p.y), Z = (int)nearbyintf(p.z);
        for (const int* c : cubes) addCube(X + c[0], Y + c[1], Z + c[2], s.colour);
    }
}

void drawParticles(float t) {
    setCubeTransform(identityMatrix());
    for (const Particle& p : particles) {
        if (p.life - t <= 0) continue;
        Vec4 q = (p.position + p.velocity * t) * 16.0f;
        addCube((int)nearbyintf(q.x), (int)nearbyintf(q.y), (int)nearbyintf(q.z), p.colour);
    }
}

void elevatorRender(float t) {
    worldRender(t);
    const ElevatorGameMode& ride = elevatorRide();
    if (!ride.padSprite) return;
    beginCubes();
    float y = heroDrawPosition(t).y;
    setCubeTransform(translationMatrix((float)ride.minX, y, 0.0f));
    int h = ride.padSprite->sizeY;
    int d = (int)lrintf(y - 0.49999988f) - ride.minY;
    for (int k = 1; d >= k * h; k++) drawVoxelSprite(ride.padSprite, 0, -k * h, 1, 0);
    endCubes();
}

void drawGameOver() {
    int W = deviceWidth(), H = deviceHeight();
    pushTextState();
    textState.fontScale *= 5;
    drawText("GAME OVER", -1, W / 2 + 2, H / 2 - 2, 0, 0, 0xFF000000u);
    drawText("GAME OVER", -1, W / 2, H / 2, 0, 0, 0xFFFFFFFFu);
    popTextState();
}
