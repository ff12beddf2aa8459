// raycast: the thick-ray grid traversal that finds what a shot hits.
#include <cmath>
#include "level.h"
#include "shots.h"

static const int gridSize[3] = {LEVEL_SIZE_X, LEVEL_SIZE_Y, LEVEL_SIZE_Z};

// Nearest integer, held far inside int range for points far off the grid.
static int nearestCell(float v) {
    if (!(v > -1e8f)) return -100000000;
    if (v > 1e8f) return 100000000;
    return (int)lrintf(v);
}

// The cell that holds a coordinate, held inside int range the same way.
// (Rounding v - 0.4999999 instead would take the cell behind a whole
// coordinate from 8 upward, where float steps exceed the offset's margin.)
static int cellOf(float v) {
    if (!(v > -1e8f)) return -100000000;
    if (v > 1e8f) return 100000000;
    return (int)floorf(v);
}

static bool bandBlocked(const int c[3], int bandX, int bandY, int bandZ) {
    for (int z = c[2] - bandZ; z <= c[2] + bandZ; z++) {
        if (z < 0 || z >= LEVEL_SIZE_Z) continue;
        for (int y = c[1] - bandY; y <= c[1] + bandY; y++) {
            if (y < 0 || y >= LEVEL_SIZE_Y) continue;
            for (int x = c[0] - bandX; x <= c[0] + bandX; x++) {
                if (x < 0 || x >= LEVEL_SIZE_X) continue;
                if (levelCell(x, y, z)) return true;
            }
        }
    }
    return false;
}

RayHit raycastCells(Vec4 a, Vec4 b, int thickness) {
    RayHit hit = {false, {0, 0, 0}, a};
    float pa[3] = {a.x, a.y, a.z}, pb[3] = {b.x, b.y, b.z};
    float e[3], inv[3];
    int step[3];
    for (int i = 0; i < 3; i++) {
        e[i] = pb[i] - pa[i];
        step[i] = e[i] >= 0 ? 1 : -1;
        inv[i] = fabsf(e[i]) > 1.1920929e-7f ? 1.0f / fabsf(e[i]) : 1e30f;
    }
    // The band lies across the main direction of flight.
    int bandX = 0, bandY = thickness;
    if (!(inv[1] > inv[0])) {
        bandX = thickness;
        bandY = 0;
    }

    float tEnter = 0;
    for (int i = 0; i < 3; i++) {
        float t = step[i] > 0 ? (0 - pa[i]) * inv[i] : (pa[i] - (float)gridSize[i]) * inv[i];
        if (t > tEnter) tEnter = t;
    }
    if (tEnter >= 1) return hit;

    int cell[3], end[3];
    float tMax[3];
    for (int i = 0; i < 3; i++) {
        float p = pa[i] + tEnter * e[i];
        cell[i] = cellOf(p);
        float f = p - (float)cell[i];
        tMax[i] = step[i] > 0 ? tEnter + (1 - f) * inv[i] : tEnter + f * inv[i];
        end[i] = step[i] > 0 ? nearestCell(fminf(pb[i] + 1, (float)gridSize[i])) : nearestCell(fmaxf(pb[i] - 1, -1.0f));
    }
    float tCell = tEnter;

    for (;;) {
        if (bandBlocked(cell, bandX, bandY, thickness)) {
            hit.blocked = true;
            for (int i = 0; i < 3; i++) hit.cell[i] = cell[i];
            hit.point = {a.x + tCell * e[0], a.y + tCell * e[1], a.z + tCell * e[2], a.w};
            return hit;
        }
        int axis;
        if (tMax[1] > tMax[0]) axis = tMax[0] < tMax[2] ? 0 : 2;
        else axis = tMax[1] < tMax[2] ? 1 : 2;
        cell[axis] += step[axis];
        if (cell[axis] == end[axis]) return hit;
        // A segment that started off the grid and moves further away on this
        // axis never meets its end index there; nothing more can be hit.
        if ((step[axis] < 0 && cell[axis] < 0) || (step[axis] > 0 && cell[axis] >= gridSize[axis])) return hit;
        tCell = tMax[axis];
        tMax[axis] += inv[axis];
    }
}
