// shots: flight, hits, craters and particles.
#include "shots.h"
#include <cmath>
#include "level.h"
#include "random.h"
#include "robots.h"
#include "services.h"

DynArray<Shot> shots;
DynArray<Particle> particles;
int32_t wallDestruction = 2;
float fireRate = 10.0f;

//---------------------------------------------------------------------------
// Shots
//---------------------------------------------------------------------------

void spawnShot(int hitsRobots, const void* owner, Vec4 position, Vec4 velocity, uint32_t colour) {
    Shot s = {position, velocity, colour, hitsRobots, owner};
    shots.push(s);
}

void shotsStep(float dt) {
    int i = 0;
    while (i < shots.num) {
        if (shotStep(shots[i], dt)) i++;
        else shots.removeFast(i, 1);
    }
}

static bool outsideShotBounds(Vec4 p) {
    return p.x < SHOT_BOUNDS_MIN.x || p.y < SHOT_BOUNDS_MIN.y || p.z < SHOT_BOUNDS_MIN.z || p.x > SHOT_BOUNDS_MAX.x ||
           p.y > SHOT_BOUNDS_MAX.y || p.z > SHOT_BOUNDS_MAX.z;
}

bool shotStep(Shot& s, float dt) {
    Vec4 p1 = {s.position.x + s.velocity.x * dt, s.position.y + s.velocity.y * dt, s.position.z + s.velocity.z * dt,
               s.position.w};
    if (s.hitsRobots) {
        Vec4 a = {fminf(s.position.x, p1.x) - 2, fminf(s.position.y, p1.y) - 2, 0, 1};
        Vec4 b = {fmaxf(s.position.x, p1.x) + 2, fmaxf(s.position.y, p1.y) + 2, (float)LEVEL_SIZE_Z, 1};
        Robot* hit = nullptr;
        overlapRobots(s.owner, a, b, &hit);
        if (hit) {
            damageRobot(*hit, 1);
            return false;
        }
    }
    RayHit r = raycastCells(s.position, p1, 2);
    if (r.blocked) {
        s.position = r.point;
        digCrater(s, r.cell[0], r.cell[1]);
        soundServices->playSound(SoundCrater, r.point);
        return false;
    }
    s.position = p1;
    return !outsideShotBounds(p1);
}

void digCrater(const Shot& shot, int cx, int cy) {
    int r = wallDestruction;
    int depth = 14 + (int)(gameRandom.nextU32() & 3);
    sampleDebris(shot, cx - r, cy - r, 0, cx + r, cy + r, depth);
    // Two overlapping bars: a (2r + 1) square without its corner cells.
    clearCells(cx - r, cy - r + 1, 0, cx + r, cy + r - 1, depth, Empty);
    clearCells(cx - r + 1, cy - r, 0, cx + r - 1, cy + r, depth, Empty);
    viewServices->invalidateVoxelCacheRect(cx - r, cy - r, cx + r, cy + r);
}

//---------------------------------------------------------------------------
// Particles
//---------------------------------------------------------------------------

void spawnParticle(Vec4 position, Vec4 velocity, uint32_t colour, float life) {
    Particle p = {position, velocity, colour, life};
    particles.push(p);
}

void spawnDebris(Vec4 p, float halfWidth, float height, uint32_t colour) {
    for (int i = 0; i < 200; i++) {
        float u1 = gameRandom.nextUnit(), u2 = gameRandom.nextUnit(), u3 = gameRandom.nextUnit();
        float u4 = gameRandom.nextUnit(), u5 = gameRandom.nextUnit(), u6 = gameRandom.nextUnit();
        float u7 = gameRandom.nextUnit();
        Vec4 at = {p.x + (2 * u6 - 1) * halfWidth, p.y + u5 * height, p.z + (2 * u4 - 1) * 6, p.w};
        Vec4 v = {(2 * u3 - 1) * 70, u2 * 150, (2 * u1 - 1) * 70, 0};
        spawnParticle(at, v, colour, 0.8f + 0.4f * u7);
    }
}

void sampleDebris(const Shot& shot, int x0, int y0, int z0, int x1, int y1, int z1) {
    // The count comes from the box before clipping, so a crater at the edge
    // throws as much as one in the open.
    int n = ((x1 - x0 + 1) * (y1 - y0 + 1) * (z1 - z0 + 1)) / 8;
    if (!clipToGrid(x0, y0, z0, x1, y1, z1) || n <= 0) return;
    for (int i = 0; i < n; i++) {
        int x = x0 + (int)(gameRandom.nextU32() % (uint32_t)(x1 - x0 + 1));
        int y = y0 + (int)(gameRandom.nextU32() % (uint32_t)(y1 - y0 + 1));
        int z = z0 + (int)(gameRandom.nextU32() % (uint32_t)(z1 - z0 + 1));
        uint8_t cell = levelCell(x, y, z);
        if (cell == 0 || cell >= CELL_INDESTRUCTIBLE) continue;
        float u4 = gameRandom.nextUnit(), u5 = gameRandom.nextUnit();
        float u6 = gameRandom.nextUnit(), u7 = gameRandom.nextUnit();
        Vec4 v = {-0.3f * shot.velocity.x + 30 * (2 * u6 - 1), -0.3f * shot.velocity.y + 100 * u5,
                  -0.3f * shot.velocity.z + 30 * (2 * u4 - 1), 0};
        spawnParticle({(float)x, (float)y, (float)z, 1}, v, levelPalette[cell], 0.4f + 0.2f * u7);
    }
}

void particlesStep(float dt) {
    int i = 0;
    while (i < particles.num) {
        Particle& p = particles[i];
        p.position.x += p.velocity.x * dt;
        p.position.y += p.velocity.y * dt;
        p.position.z += p.velocity.z * dt;
        p.velocity.y -= 500 * dt;
        p.life -= dt;
        if (p.life <= 0) particles.removeFast(i, 1);
        else i++;
    }
}
