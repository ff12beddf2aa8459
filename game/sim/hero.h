// hero: the player's figure record and the camera point that follows it.
//
// `hero` is one global record that lives for the whole run. placeHero resets
// its motion at every level build; health is the run's hearts and only a new
// game or the Health upgrade change it.
#pragma once
#include <cstdint>
#include "qz_math.h"

struct Hero {
    Vec4 position;          // feet centre (x, y, z, 1), voxels
    Vec4 previousPosition;  // position at the start of the last step
    Vec4 aimDirection;      // unit vector from shoulder to aim point, w = 0
    Vec4 aimPoint;          // world point under the pointer at the hero's depth
    Vec4 shoulder;          // arm pivot in model space
    Mat4 model;             // model to world: a quarter turn about y, row 3 = position
    float vx, vy;           // voxels per second
    float walkPhase;        // leg animation, 0 <= walkPhase < 8
    float fireCooldown;     // seconds until the next shot is allowed
    float hurtTimer;        // seconds of invulnerability left after a hit
    float exitTimer;        // seconds spent standing on the exit pad
    int32_t health;         // hearts left
    uint8_t facingRight;    // 1 faces +x
    uint8_t onGround;       // the last move ended on solid ground
    uint8_t touched;        // a robot touched the hero since the last sub-step
};

// Run state for the whole run: placeHero (every level build) resets motion,
// timers and flags; health is reset by newGame (the Health upgrade's reset)
// and changed by hits and upgrades; the rest changes each step.
extern Hero hero;
// The record as the program starts; a recorded run starts from it too,
// since placeHero keeps the aim and the model's shoulder.
extern const Hero heroAtProgramStart;

// Box of the hero relative to its feet, for moving and as an obstacle.
const Vec4 HERO_BOX_MIN = {-4, 0, -6, 0};
const Vec4 HERO_BOX_MAX = {4, 15, 6, 0};

// Puts the hero at (x, y, 8) facing right and at rest, clears its timers and
// flags, and resets the camera onto it. Health is kept.
void placeHero(float x, float y);

// A robot's move touched the hero; the hero's next sub-step decides the hurt.
void touchHero();

int heroHealth();
void setHeroHealth(int health);

// Rebuilds hero.model from facingRight and position.
void updateHeroModel();

//---------------------------------------------------------------------------
// Camera follow
//---------------------------------------------------------------------------

// cameraFollow[0] is the current point, [1] the previous one; the follow
// step moves them once per step, and cameraPosition (camera.h) is blended
// between the two before each frame.
// Run state: reset by resetCamera (every placeHero), moved each step.
extern Vec4 cameraFollow[2];

// The two follow points and cameraPosition jump to 9 voxels above the hero's feet, at z = 0.
void resetCamera();
