// robots: the level's walking enemies. Each paces left and right, turns at
// whatever it walks into, falls, hurts the hero by touching it and bursts
// when shot. `robots` is emptied and refilled by every level build; its
// storage is kept.
#pragma once
#include <cstdint>
#include "movement.h"
#include "qz_dynArray.h"
#include "qz_math.h"

struct Robot {
    Vec4 position;          // feet centre (x, y, z, 1), voxels
    Vec4 previousPosition;  // position at the start of the last step
    Mat4 model;             // quarter turn about y toward the walking direction, row 3 = position
    float vx, vy;           // voxels per second
    int32_t health;         // hit points
    ContactFlags contacts;  // result of the last move
    uint8_t facingRight;    // walking direction; new robots walk left
    uint8_t onGround;       // the last move ended on solid ground
};

// Run state: refilled by buildLevel (every restartLevel), moved each step.
// Plain records, moved bytewise by the array; nothing holds a robot's address
// across steps.
extern DynArray<Robot> robots;

const Vec4 ROBOT_BOX_MIN = {-6, 0, -6, 0};
const Vec4 ROBOT_BOX_MAX = {6, 14, 6, 0};

// Appends a robot standing at (16 bx + 8, 16 by, 8): centred in the block
// column, feet on the bottom of block row by.
void spawnRobot(float bx, float by);

// Two half sub-steps per robot; robots whose health reached 0 are removed
// at the end of their step (the last one moves into the gap and is stepped
// in the same pass).
void robotsStep(float dt);
void robotSubStep(Robot& robot, float h);

// Takes hit points; the robot that dies bursts once and stays in the list,
// still an obstacle, until the next robotsStep removes it.
void damageRobot(Robot& robot, int amount);
