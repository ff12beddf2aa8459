// level: grid storage, block fills, the two layouts and clearCells.
#include "level.h"
#include <cstring>
#include "hero.h"
#include "random.h"
#include "robots.h"

uint8_t levelGrid[LEVEL_CELLS];
uint32_t levelPalette[256];
int levelNumber = 1;
uint64_t levelPiecesChanged[LEVEL_PIECES / 64];
static bool piecesInitiallyChanged = [] {
    memset(levelPiecesChanged, 0xFF, sizeof levelPiecesChanged);
    return true;
}();

void markLevelCellsChanged(int x0, int y0, int z0, int x1, int y1, int z1) {
    if (!clipToGrid(x0, y0, z0, x1, y1, z1)) return;
    for (int z = z0; z <= z1; z++)
        for (int py = y0 / LEVEL_PIECE_Y; py <= y1 / LEVEL_PIECE_Y; py++)
            for (int px = x0 / LEVEL_PIECE_X; px <= x1 / LEVEL_PIECE_X; px++) {
                int i = px + (LEVEL_SIZE_X / LEVEL_PIECE_X) * (py + (LEVEL_SIZE_Y / LEVEL_PIECE_Y) * z);
                levelPiecesChanged[i >> 6] |= 1ull << (i & 63);
            }
}

//---------------------------------------------------------------------------
// Block fills
//---------------------------------------------------------------------------

static bool blockInGrid(int bx, int by) { return bx >= 0 && bx < LEVEL_BLOCKS_X && by >= 0 && by < LEVEL_BLOCKS_Y; }

// Sets a run of n cells along x; every caller keeps the run inside one row.
static void fillRun(int x, int y, int z, int n, uint8_t value) {
    uint8_t* p = levelGrid + levelIndex(x, y, z);
    // Single blocks are most runs; a fixed size lets the compiler store them inline.
    if (n == BLOCK) memset(p, value, BLOCK);
    else memset(p, value, (size_t)n);
}

void fillBackdropBlock(int bx, int by) {
    if (!blockInGrid(bx, by)) return;
    int z0 = ((bx + by) & 1) ? 16 : 18;
    for (int z = z0; z < LEVEL_SIZE_Z; z++)
        for (int j = 0; j < BLOCK; j++) fillRun(bx * BLOCK, by * BLOCK + j, z, BLOCK, Backdrop);
}

// Bevelled solid blocks bx0..bx1 of one block row. A span fills exactly the
// cells its blocks would one by one, in long runs instead of 16-byte ones.
static void fillSolidSpan(int bx0, int bx1, int by, uint8_t value) {
    if (bx0 < 0) bx0 = 0;
    if (bx1 > LEVEL_BLOCKS_X - 1) bx1 = LEVEL_BLOCKS_X - 1;
    if (by < 0 || by >= LEVEL_BLOCKS_Y || bx0 > bx1) return;
    int y = by * BLOCK;
    // The front two layers are bevelled: no two leftmost columns, no two top rows.
    for (int z = 0; z < 2; z++)
        for (int j = 0; j < BLOCK - 2; j++)
            for (int bx = bx0; bx <= bx1; bx++) fillRun(bx * BLOCK + 2, y + j, z, BLOCK - 2, value);
    for (int z = 2; z < LEVEL_SIZE_Z; z++)
        for (int j = 0; j < BLOCK; j++) fillRun(bx0 * BLOCK, y + j, z, (bx1 - bx0 + 1) * BLOCK, value);
}

static void fillSolidBlock(int bx, int by, uint8_t value) {
    if (blockInGrid(bx, by)) fillSolidSpan(bx, bx, by, value);
}

void fillWallBlock(int bx, int by) { fillSolidBlock(bx, by, Wall); }
void fillHardBlock(int bx, int by) { fillSolidBlock(bx, by, Hard); }
void fillExitBlock(int bx, int by) { fillSolidBlock(bx, by, Exit); }

void fillPorousBlock(int bx, int by) {
    if (!blockInGrid(bx, by)) return;
    int x0 = bx * BLOCK, y0 = by * BLOCK;
    for (int z = 0; z < LEVEL_SIZE_Z; z += 2)
        for (int y = 0; y < BLOCK; y += 2)
            for (int x = 0; x < BLOCK; x += 2) {
                if ((gameRandom.nextU32() & 3) == 0) continue;
                uint8_t* p = levelGrid + levelIndex(x0 + x, y0 + y, z);
                p[0] = p[1] = p[LEVEL_STRIDE_Y] = p[LEVEL_STRIDE_Y + 1] = Wall;
                p += LEVEL_STRIDE_Z;
                p[0] = p[1] = p[LEVEL_STRIDE_Y] = p[LEVEL_STRIDE_Y + 1] = Wall;
            }
}

void fillSlantBlock(int bx, int by) {
    if (!blockInGrid(bx, by)) return;
    for (int z = 2; z < LEVEL_SIZE_Z; z++)
        for (int j = 0; j < BLOCK; j++) {
            int x = bx * BLOCK + (j & ~1);
            // The rows of the last block column would lean past the right edge.
            int n = x + BLOCK <= LEVEL_SIZE_X ? BLOCK : LEVEL_SIZE_X - x;
            fillRun(x, by * BLOCK + j, z, n, Wall);
        }
}

// fillBackdropBlock over blocks 2..253 of rows 2..15, on a cleared grid:
// the two deepest layers are one run per row, the checkerboard layers 16
// and 17 are copied from a prepared row.
static void fillBackdropRows() {
    const int x0 = 2 * BLOCK, n = 252 * BLOCK;
    static uint8_t pattern[2][LEVEL_SIZE_X];
    for (int parity = 0; parity < 2; parity++)
        for (int x = 0; x < LEVEL_SIZE_X; x++) pattern[parity][x] = ((x / BLOCK + parity) & 1) ? Backdrop : Empty;
    for (int by = 2; by <= 15; by++)
        for (int j = 0; j < BLOCK; j++) {
            int y = by * BLOCK + j;
            for (int z = 16; z < 18; z++) memcpy(levelGrid + levelIndex(x0, y, z), pattern[by & 1] + x0, (size_t)n);
            for (int z = 18; z < 20; z++) fillRun(x0, y, z, n, Backdrop);
        }
}

//---------------------------------------------------------------------------
// Layouts
//---------------------------------------------------------------------------

// The two-block floor, the ceiling row and the two-block side walls of a layout.
static void fillLevelFrame(uint8_t kind) {
    fillSolidSpan(0, 255, 0, kind);
    fillSolidSpan(0, 255, 1, kind);
    fillSolidSpan(0, 255, 15, kind);
    for (int by = 2; by <= 15; by++) {
        fillSolidSpan(0, 1, by, kind);
        fillSolidSpan(254, 255, by, kind);
    }
}

// A corridor four blocks high under a long ceiling, cut by pillars and by
// walls with one-block gaps; the exit pad lies in the floor at block 77.
static void buildLayoutA() {
    // Adjacent blocks of one row go in spans; none of these fills overlap,
    // so their order does not matter.
    fillLevelFrame(Wall);
    fillSolidSpan(2, 76, 6, Wall);  // the ceiling, open at block 77
    fillSolidSpan(78, 80, 6, Wall);
    for (int by = 2; by <= 5; by++) {
        fillWallBlock(10, by);
        fillWallBlock(20, by);
        fillWallBlock(30, by);
    }
    for (int by = 2; by <= 5; by++) {
        if (by != 3) fillWallBlock(40, by);
        if (by != 4) fillWallBlock(50, by);
        if (by != 4) fillWallBlock(60, by);
        if (by != 5) fillWallBlock(70, by);
        fillWallBlock(80, by);
    }
    static const int robotColumns[] = {41, 49, 51, 59, 61, 65, 69};
    for (int bx : robotColumns) spawnRobot((float)bx, 2.0f);
    fillExitBlock(77, 1);
}

// An indestructible frame, climbing shafts, a digging shaft, a zig-zag of
// platforms with two robots each and a walled exit pocket.
static void buildLayoutB() {
    fillLevelFrame(Hard);
    fillWallBlock(10, 2);
    for (int by = 3; by <= 14; by++) fillHardBlock(10, by);
    fillSlantBlock(12, 2);
    fillHardBlock(13, 2);
    fillWallBlock(14, 2);
    for (int i = 0; i < 5; i++) fillSlantBlock(14 + i, 3 + i);
    for (int by = 2; by <= 7; by++) fillHardBlock(19, by);

    for (int m = 0; m < 4; m++) {
        int cx = 22 + 6 * m;
        for (int by = 3; by <= 14; by++) fillHardBlock(cx, by);
        if (m < 3) {
            fillWallBlock(cx + 1, 3);
            fillWallBlock(cx + 1, 7);
            fillWallBlock(cx + 1, 11);
            fillWallBlock(cx + 2, 5);
            fillWallBlock(cx + 2, 9);
        } else {
            for (int by = 2; by <= 12; by++) {
                fillPorousBlock(cx + 1, by);
                fillPorousBlock(cx + 2, by);
            }
        }
        for (int by = 2; by <= 12; by++) fillHardBlock(cx + 3, by);
    }
    fillSlantBlock(43, 13);

    for (int k = 0; k < 5; k++) {
        int r = 2 + 3 * k;
        int s = (k % 2 == 0) ? 1 : 0;
        // At r = 14 the platform and the top column block fall on row 16,
        // outside the grid; the fills skip them.
        fillSolidSpan(44 + s, 53 + s, r + 2, Hard);
        if (r != 2) fillWallBlock(s ? 53 : 45, r);
        fillHardBlock(55, r);
        if (r != 2) fillHardBlock(55, r + 1);
        else fillPorousBlock(55, 3);
        fillHardBlock(55, r + 2);
        int e1 = 46 + (int)(gameRandom.nextU32() % 7);
        int e2;
        do e2 = 46 + (int)(gameRandom.nextU32() % 7);
        while (e2 == e1);
        spawnRobot((float)e1, (float)r);
        spawnRobot((float)e2, (float)r);
    }

    fillExitBlock(58, 3);
    fillHardBlock(57, 3);
    fillHardBlock(59, 3);
    for (int by = 2; by <= 14; by++) fillHardBlock(61, by);
    fillSolidSpan(56, 60, 2, Hard);
}

void buildLevel() {
    memset(levelGrid, 0, sizeof levelGrid);
    memset(levelPiecesChanged, 0xFF, sizeof levelPiecesChanged);

    levelPalette[0] = 0x00000000u;
    for (int i = 1; i < 256; i++) levelPalette[i] = 0xFFCCCCCCu;
    levelPalette[Backdrop] = 0xFF778899u;
    levelPalette[Exit] = 0xFFFFDD11u;
    levelPalette[Hard] = 0xFF666666u;

    fillBackdropRows();

    // A build replaces the level's robots; callers may already have emptied
    // the list, and emptying keeps its storage.
    robots.clear();
    if (levelNumber & 1) buildLayoutA();
    else buildLayoutB();

    placeHero(88.0f, 32.0f);
}

//---------------------------------------------------------------------------
// Craters
//---------------------------------------------------------------------------

bool clipToGrid(int& x0, int& y0, int& z0, int& x1, int& y1, int& z1) {
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (z0 < 0) z0 = 0;
    if (x1 > LEVEL_SIZE_X - 1) x1 = LEVEL_SIZE_X - 1;
    if (y1 > LEVEL_SIZE_Y - 1) y1 = LEVEL_SIZE_Y - 1;
    if (z1 > LEVEL_SIZE_Z - 1) z1 = LEVEL_SIZE_Z - 1;
    return x0 <= x1 && y0 <= y1 && z0 <= z1;
}

void clearCells(int x0, int y0, int z0, int x1, int y1, int z1, uint8_t value) {
    if (!clipToGrid(x0, y0, z0, x1, y1, z1)) return;
    markLevelCellsChanged(x0, y0, z0, x1, y1, z1);
    for (int z = z0; z <= z1; z++)
        for (int y = y0; y <= y1; y++) {
            uint8_t* row = levelGrid + levelIndex(0, y, z);
            for (int x = x0; x <= x1; x++)
                if (row[x] < CELL_INDESTRUCTIBLE) row[x] = value;
        }
}
