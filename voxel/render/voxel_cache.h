// voxel_cache: the level's cubes, cut into chunks of 16 x 16 voxels (all of
// Z). A chunk in view is built once into cached instance buffers (slots of
// 2048 instances) and drawn from them every frame until it leaves the view
// or a change of the grid invalidates it.
#pragma once
#include <cstdint>
#include "qz_dynArray.h"
#include "voxel_build.h"

struct DeviceBuffer;

enum {
    VOXEL_SLOT_INSTANCES = 2048,
    VOXEL_SLOT_BYTES = VOXEL_SLOT_INSTANCES * 12,
};

struct VoxelCacheSlot {
    DeviceBuffer* buffer;  // null until the slot is first used
    int32_t count;         // instances; 0 = free
    int32_t chunkX, chunkY;
};

struct VoxelCache {
    VoxelGridView view;          // grid, strides, sizes, palette
    int32_t chunksX, chunksY;
    DynArray<VoxelCacheSlot> slots;
    DynArray<uint8_t> seen;      // per chunk of the current view rectangle
    // Chunks known to hold no visible voxel, so that a still camera does not
    // rescan empty sky every frame; cleared with the slots they stand for.
    DynArray<uint8_t> emptyChunks;
    // Counters for tests and benchmarks.
    uint64_t chunksBuilt;
    uint64_t instancesBuilt;
};

VoxelCache* createVoxelCache(const uint8_t* grid, int strideX, int strideY, int strideZ, int sizeX, int sizeY,
                             int sizeZ, const uint32_t* palette);
void destroyVoxelCache(VoxelCache* cache);  // null is ignored

// Draws the level inside the inclusive voxel rectangle, building the chunks
// that are not cached. Call between beginCubes and endCubes.
void drawVoxelCache(VoxelCache* cache, int x0, int y0, int x1, int y1);
// Frees the slots of every chunk within the rectangle grown by one voxel
// (a change also uncovers its neighbours' faces).
void invalidateVoxelCacheRect(VoxelCache* cache, int x0, int y0, int x1, int y1);
void invalidateVoxelCache(VoxelCache* cache);

// Slots holding instances, for tests.
int usedVoxelCacheSlots(const VoxelCache* cache);
