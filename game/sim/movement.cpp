// movement: overlap tests against cells, robots and the hero, and moveBox.
#include "movement.h"
#include <cmath>
#include "hero.h"
#include "level.h"
#include "robots.h"

static bool anyPositive(const Penetration& p) { return p.left > 0 || p.below > 0 || p.right > 0 || p.above > 0; }

static Penetration maxPenetration(const Penetration& a, const Penetration& b) {
    return Penetration{fmaxf(a.left, b.left), fmaxf(a.below, b.below), fmaxf(a.right, b.right), fmaxf(a.above, b.above)};
}

// First cell of a range: the nearest integer to v, clamped to [lo, hi]
// before converting so a body far outside the grid cannot overflow an int.
static int cellBound(float v, int lo, int hi) {
    if (!(v > (float)lo)) return lo;  // also catches NaN
    if (v > (float)hi) return hi;
    return (int)lrintf(v);
}

Penetration overlapCells(Vec4 a, Vec4 b, ContactFlags* flags) {
    float halfX = (b.x - a.x) / 2, halfY = (b.y - a.y) / 2;
    // Every cell the box overlaps by more than about 0.01 voxel.
    int x0 = cellBound(a.x - 0.49f, 0, LEVEL_SIZE_X), x1 = cellBound(b.x + 0.49f, 0, LEVEL_SIZE_X);
    int y0 = cellBound(a.y - 0.49f, 0, LEVEL_SIZE_Y), y1 = cellBound(b.y + 0.49f, 0, LEVEL_SIZE_Y);
    int z0 = cellBound(a.z - 0.49f, 0, LEVEL_SIZE_Z), z1 = cellBound(b.z + 0.49f, 0, LEVEL_SIZE_Z);
    Penetration r = {0, 0, 0, 0};
    bool exit = false;
    for (int z = z0; z < z1; z++)
        for (int y = y0; y < y1; y++) {
            const uint8_t* row = levelGrid + levelIndex(0, y, z);
            for (int x = x0; x < x1; x++) {
                uint8_t c = row[x];
                if (!c) continue;
                if (c == Exit) exit = true;
                float l = (float)(x + 1) - a.x, d = (float)(y + 1) - a.y;
                float rt = b.x - (float)x, u = b.y - (float)y;
                if (l <= halfX && l > r.left) r.left = l;
                if (d <= halfY && d > r.below) r.below = d;
                if (rt <= halfX && rt > r.right) r.right = rt;
                if (u <= halfY && u > r.above) r.above = u;
            }
        }
    if (exit && flags) *flags |= ContactExit;
    return r;
}

// One body's extents (x from cx - hw to cx + hw, y from fy to fy + h)
// against the box a..b.
static Penetration overlapBody(float cx, float fy, float hw, float h, Vec4 a, Vec4 b) {
    float halfX = (b.x - a.x) / 2, halfY = (b.y - a.y) / 2;
    Penetration e = {cx + hw - a.x, fy + h - a.y, b.x - (cx - hw), b.y - fy};
    if (e.left < 0 || e.below < 0 || e.right < 0 || e.above < 0) return Penetration{0, 0, 0, 0};
    if (e.left > halfX) e.left = 0;
    if (e.right > halfX) e.right = 0;
    if (e.below > halfY) e.below = 0;
    if (e.above > halfY) e.above = 0;
    return e;
}

Penetration overlapRobots(const void* exclude, Vec4 a, Vec4 b, Robot** found) {
    Penetration r = {0, 0, 0, 0};
    for (Robot& q : robots) {
        if (&q == exclude) continue;
        Penetration e = overlapBody(q.position.x, q.position.y, 6, 14, a, b);
        if (found && anyPositive(e)) *found = &q;
        r = maxPenetration(r, e);
    }
    return r;
}

Penetration overlapHero(const void* exclude, Vec4 a, Vec4 b) {
    if (exclude == &hero || hero.health <= 0) return Penetration{0, 0, 0, 0};
    return overlapBody(hero.position.x, hero.position.y, 4, 15, a, b);
}

static Vec4 add(Vec4 p, Vec4 d) { return vec4(p.x + d.x, p.y + d.y, p.z + d.z, p.w); }

static float clampBetween(float v, float a, float b) {
    float lo = fminf(a, b), hi = fmaxf(a, b);
    return v < lo ? lo : (v > hi ? hi : v);
}

// Cells, robots and hero against one box; bodies push only on an axis where
// no wall does.
static Penetration testBox(const void* self, Vec4 a, Vec4 b, ContactFlags& flags, bool horizontal) {
    Penetration cells = overlapCells(a, b, &flags);
    Penetration bots = overlapRobots(self, a, b, nullptr);
    Penetration man = overlapHero(self, a, b);
    if (anyPositive(bots)) flags |= ContactRobot;
    if (anyPositive(man)) flags |= ContactHero;
    bool wall = horizontal ? (cells.left > 0 || cells.right > 0) : (cells.below > 0 || cells.above > 0);
    return wall ? cells : maxPenetration(bots, man);
}

ContactFlags moveBox(Vec4& position, const void* self, Vec4 target, Vec4 boxMin, Vec4 boxMax, float stepUp) {
    Vec4 p0 = position;
    ContactFlags flags = 0;

    // Horizontal pass, with the bottom raised by the step-up so that low
    // ledges do not block sideways motion.
    Vec4 p1 = vec4(target.x, p0.y, p0.z, p0.w);
    Penetration push = testBox(self, add(add(p1, boxMin), vec4(0, stepUp, 0, 0)), add(p1, boxMax), flags, true);
    float x = clampBetween(p1.x + push.left - push.right, p0.x, target.x);
    position = vec4(x, p0.y, p0.z, p0.w);
    if (push.left > 0) flags |= ContactLeft;
    if (push.right > 0) flags |= ContactRight;

    // Vertical pass.
    Vec4 p2 = vec4(x, target.y, p0.z, p0.w);
    push = testBox(self, add(p2, boxMin), add(p2, boxMax), flags, false);
    float lo = fminf(p0.y, target.y), hi = fmaxf(p0.y + stepUp, target.y);
    float y = p2.y + push.below - push.above;
    y = y < lo ? lo : (y > hi ? hi : y);
    position = vec4(x, y, p0.z, p0.w);
    if (push.below > 0) flags |= ContactBelow;
    if (push.above > 0) flags |= ContactAbove;

    // A step-up that ends inside something is reported as a ceiling, so
    // that the caller retries without it.
    if (stepUp > 0) {
        Vec4 a = add(position, boxMin), b = add(position, boxMax);
        Penetration cells = overlapCells(a, b, &flags);
        Penetration bots = overlapRobots(self, a, b, nullptr);
        Penetration man = overlapHero(self, a, b);
        if (anyPositive(bots)) flags |= ContactRobot;
        if (anyPositive(man)) flags |= ContactHero;
        if (anyPositive(cells) || anyPositive(bots) || anyPositive(man)) flags |= ContactAbove;
    }
    return flags;
}

ContactFlags moveBodyWithStepUp(Vec4& position, const void* self, Vec4 target, Vec4 boxMin, Vec4 boxMax) {
    Vec4 p0 = position;
    ContactFlags flags = moveBox(position, self, target, boxMin, boxMax, 4);
    if (flags & ContactAbove) {
        position = p0;
        flags = moveBox(position, self, target, boxMin, boxMax, 0);
    }
    return flags;
}
