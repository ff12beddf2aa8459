// level: the level grid of cell kinds, its palette, the two hand-made
// layouts and the one operation that removes cells.
//
// The grid is one static 20 MiB array that lives for the whole run at one
// address (the voxel cache keeps a pointer to it). buildLevel rewrites it and
// the palette completely; between builds only clearCells (craters) changes it.
#pragma once
#include <cstdint>

enum {
    LEVEL_SIZE_X = 4096,
    LEVEL_SIZE_Y = 256,
    LEVEL_SIZE_Z = 20,
    LEVEL_STRIDE_Y = 4096,     // x + 4096 y + 1048576 z
    LEVEL_STRIDE_Z = 1048576,
    LEVEL_CELLS = LEVEL_SIZE_X * LEVEL_SIZE_Y * LEVEL_SIZE_Z,
    BLOCK = 16,                // layout unit: 16 x 16 voxels through all layers
    LEVEL_BLOCKS_X = LEVEL_SIZE_X / BLOCK,
    LEVEL_BLOCKS_Y = LEVEL_SIZE_Y / BLOCK,
};

// Byte values of the grid. Every non-zero value is solid; values below
// CELL_INDESTRUCTIBLE can be dug away and throw debris.
enum CellKind : uint8_t {
    Empty = 0,
    Wall = 1,
    Backdrop = 4,
    Exit = 200,
    Hard = 255,
};
enum { CELL_INDESTRUCTIBLE = 200 };

// Run state. Rewritten by buildLevel (every restartLevel), dug by
// clearCells during steps: levelGrid, levelPalette. Reset by newGame and
// advanced by nextLevel: levelNumber.
extern uint8_t levelGrid[LEVEL_CELLS];
extern uint32_t levelPalette[256];  // 0xAARRGGBB per cell value

// Level being played; odd numbers build layout A, even ones layout B.
// Reset by a new game and advanced after each elevator ride.
extern int levelNumber;

inline int levelIndex(int x, int y, int z) { return x + (y << 12) + (z << 20); }
inline uint8_t levelCell(int x, int y, int z) { return levelGrid[levelIndex(x, y, z)]; }

// Rebuilds grid, palette and robots for levelNumber and places the hero at
// (88, 32), which also resets the camera. The hero's health is kept.
void buildLevel();

// Pieces of the grid - 256 columns by 16 rows of one layer - whose cells
// changed since the state fingerprint last read them, one bit each; every
// write to the grid marks its cells, so a checkpoint rehashes only what
// changed. Piece index: (x >> 8) + 16 (y >> 4) + 256 z.
enum { LEVEL_PIECE_X = 256, LEVEL_PIECE_Y = 16, LEVEL_PIECES = LEVEL_CELLS / (LEVEL_PIECE_X * LEVEL_PIECE_Y) };
extern uint64_t levelPiecesChanged[LEVEL_PIECES / 64];
// Marks the pieces of an inclusive cell box (clipped to the grid).
void markLevelCellsChanged(int x0, int y0, int z0, int x1, int y1, int z1);

// Clips an inclusive cell box to the grid; false when nothing is left.
bool clipToGrid(int& x0, int& y0, int& z0, int& x1, int& y1, int& z1);

// Sets every cell of the inclusive box whose value is below 200 to value.
// The box is clipped to the grid first; an empty box changes nothing. The
// caller invalidates the voxel cache over the changed region.
void clearCells(int x0, int y0, int z0, int x1, int y1, int z1, uint8_t value);

//---------------------------------------------------------------------------
// Block fills (block coordinates; a block is 16 x 16 voxels, all layers).
// Rows or columns outside the 256 x 16 blocks of the grid are skipped
// entirely, so a fill never writes beyond the grid.
//---------------------------------------------------------------------------

// Back layers become Backdrop: 16-19 on odd bx + by, 18-19 on even.
void fillBackdropBlock(int bx, int by);
// Solid bevelled blocks: layers 2-19 whole; layers 0-1 lack the two
// leftmost columns and the two top rows.
void fillWallBlock(int bx, int by);
void fillHardBlock(int bx, int by);
void fillExitBlock(int bx, int by);
// 2 x 2 x 2 Wall cubes each present with probability 3/4 (640 draws).
void fillPorousBlock(int bx, int by);
// Wall rows shifted right by two voxels every two rows; front layers empty.
void fillSlantBlock(int bx, int by);
