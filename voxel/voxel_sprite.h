// voxel_sprite: a box of palette-indexed voxels with its own palette,
// loaded from a PNG file or cut out of the level grid.
//
// Files are 8-bit RGBA PNGs whose Z slices lie side by side, left to right,
// each sizeX pixels wide and sizeY high (bottom row y = 0), with the text
// keys "VoxelGridDimX", "VoxelGridDimY" and "VoxelGridDimZ". A pixel of four
// zero channels is empty; every other pixel value is a colour of its own.
#pragma once
#include <cstddef>
#include <cstdint>

struct VoxelSprite {
    int32_t sizeX, sizeY, sizeZ;  // at least 1 each
    uint32_t* palette;            // 0xAARRGGBB; entry 0 is 0 and means empty
    int32_t numColors;            // entries in palette, at most 256
    uint8_t* voxels;              // palette index at (z * sizeY + y) * sizeX + x
    uint32_t serial;              // unique per sprite made (never 0), so a drawing cache keyed by it
                                  // cannot mistake a new sprite at a freed address for the old one
};

// Reads a sprite file; a relative name is found beside the program. Logs
// "voxel PNG from '<fileName>' ok" on success. On failure returns null with
// everything freed; only decoder errors and refusals leave a message, on
// standard error.
// Only a regular file is read; a sprite larger than 256 voxels on an axis or
// 1,048,576 in all is refused with "voxel sprite too large: '<fileName>'".
VoxelSprite* loadVoxelSprite(const char* fileName);
// The same decoding for a file already in memory; fileName only names it in messages.
VoxelSprite* readVoxelSprite(const uint8_t* data, size_t size, const char* fileName);

// The level grid as cutVoxelSprite reads it: x fastest with 4096 columns,
// then 256 rows, then `depth` layers; and its 256-entry palette.
struct VoxelLevelView {
    const uint8_t* cells;
    const uint32_t* palette;
    int depth;
};

// Copies the inclusive box [x0..x1] x [y0..y1] x [z0..z1] of the level into
// a new sprite with a copy of the whole level palette. X wraps modulo 4096
// and y modulo 256; z must lie inside the level. An empty box is fatal.
VoxelSprite* cutVoxelSprite(const VoxelLevelView& level, int x0, int y0, int z0, int x1, int y1, int z1);

// Frees voxels, palette and the sprite; safe on a partly built sprite and on null.
void destroyVoxelSprite(VoxelSprite* sprite);
