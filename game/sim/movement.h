// movement: the one movement rule of hero and robots. A box is pushed out
// of what it overlaps, first along x, then along y, with a step-up so that
// bodies walk up low ledges. Depth (z) never changes.
#pragma once
#include <cstdint>
#include "qz_math.h"

struct Hero;
struct Robot;

typedef uint32_t ContactFlags;
enum : ContactFlags {
    ContactLeft = 1,    // pushed toward +x: something solid on the left
    ContactBelow = 2,   // pushed up: standing on something
    ContactRight = 4,   // pushed toward -x
    ContactAbove = 8,   // pushed down, or still overlapping after a step-up move
    ContactRobot = 16,  // a robot other than the mover overlapped a tested box
    ContactHero = 32,   // the live hero (not the mover) overlapped a tested box
    ContactExit = 64,   // a tested box held an Exit cell
};

// How far a box must move +x, +y, -x and -y to clear what overlaps it.
// A side counts only up to half the box's size on that axis, so a box deep
// inside something is pushed only from the side it entered.
struct Penetration {
    float left, below, right, above;
};

// Boxes are world corners (x, y, z, w), minimum and maximum.
Penetration overlapCells(Vec4 a, Vec4 b, ContactFlags* flags);
// Against every robot but `exclude`, dead ones still in the list included.
// When found is given and a robot overlaps, *found is the last such robot.
Penetration overlapRobots(const void* exclude, Vec4 a, Vec4 b, Robot** found);
// Against the hero, unless it is `exclude` or has no health left.
Penetration overlapHero(const void* exclude, Vec4 a, Vec4 b);

// Moves `position` toward target (x, y only) with the box boxMin..boxMax
// relative to it and the given step-up (0 or 4). `self` is the mover's
// record, never an obstacle to itself. Returns the contacts met.
ContactFlags moveBox(Vec4& position, const void* self, Vec4 target, Vec4 boxMin, Vec4 boxMax, float stepUp);

// The callers' rule: move with step-up 4; if that ends in ContactAbove, go
// back and move as a plain box, keeping the second result.
ContactFlags moveBodyWithStepUp(Vec4& position, const void* self, Vec4 target, Vec4 boxMin, Vec4 boxMax);
