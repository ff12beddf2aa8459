// shots: the hero's bolts, the thick ray that finds what they hit, craters,
// and debris particles.
//
// `shots` and `particles` are emptied by every level restart and released at
// shutdown; removal moves the last element into the hole, so their order
// means nothing. fireRate and wallDestruction are reset by a new game and
// raised by upgrades.
#pragma once
#include <cstdint>
#include "qz_dynArray.h"
#include "qz_math.h"

struct Shot {
    Vec4 position;      // current point (x, y, z, 1)
    Vec4 velocity;      // voxels per second, w = 0
    uint32_t colour;    // 0xAARRGGBB of its cubes
    int32_t hitsRobots; // 1: tests robots before cells
    const void* owner;  // the body that fired it, never hit by it
};

struct Particle {
    Vec4 position;
    Vec4 velocity;   // voxels per second
    uint32_t colour;
    float life;      // seconds left
};

// Run state. Emptied by restartLevel, changed each step: shots, particles.
// Reset by newGame (each upgrade's reset) and raised by the upgrades:
// wallDestruction, fireRate.
extern DynArray<Shot> shots;
extern DynArray<Particle> particles;

extern int32_t wallDestruction;  // crater half-size in cells; 2 in a new game
extern float fireRate;           // shots per second; 10 in a new game

// Shots leave the world when a coordinate passes these (the grid's box
// grown by 300 voxels in x and y and 40 in z).
const Vec4 SHOT_BOUNDS_MIN = {-300, -300, -40, 0};
const Vec4 SHOT_BOUNDS_MAX = {4396, 556, 60, 0};

void spawnShot(int hitsRobots, const void* owner, Vec4 position, Vec4 velocity, uint32_t colour);
void shotsStep(float dt);
// One shot's flight for dt; false when it hit something or left the world.
bool shotStep(Shot& shot, float dt);

void spawnParticle(Vec4 position, Vec4 velocity, uint32_t colour, float life);
// The 200-particle burst of a dying body.
void spawnDebris(Vec4 position, float halfWidth, float height, uint32_t colour);
// Particles for the cells of an inclusive box about to be dug away: one
// sample per eight cells of the unclipped box.
void sampleDebris(const Shot& shot, int x0, int y0, int z0, int x1, int y1, int z1);
void particlesStep(float dt);

// Digs the crater of a shot that hit cell (cx, cy).
void digCrater(const Shot& shot, int cx, int cy);

struct RayHit {
    bool blocked;
    int32_t cell[3];  // the cell being visited when the band met something
    Vec4 point;       // the segment's point at that cell's entry
};

// Walks the segment a..b cell by cell; at each cell a band of +-thickness
// cells (in z, and across the main direction of flight) is tested for
// anything solid. Cells outside the grid are empty.
RayHit raycastCells(Vec4 a, Vec4 b, int thickness);
