// voxel_cache: the level's faces, cut into chunks of 16 x 16 voxels (all of
// Z). A chunk in view is built once into one exact-size buffer of the faces
// that can be seen, grouped by direction (front, top, bottom, left, right),
// and drawn from it every frame until it leaves the view or a change of the
// grid invalidates it. Only the groups that can face the eye are drawn, and
// the nearest chunks first, so that depth testing rejects what lies behind.
#pragma once
#include <cstdint>
#include "qz_dynArray.h"
#include "voxel_build.h"

struct DeviceBuffer;

struct VoxelCacheSlot {
    DeviceBuffer* buffer;  // exact size of the faces it was made for; null until first used
    int32_t count;         // faces; 0 = free
    int32_t chunkX, chunkY;
    int32_t groupEnd[CHUNK_FACE_GROUPS];  // end of each group's range; it starts at the previous end
};

// A slot of the view and its distance from the eye, for the drawing order.
struct VoxelCacheDraw {
    int32_t distance;
    int32_t slot;
};

struct VoxelCache {
    VoxelGridView view;          // grid, strides, sizes, palette
    int32_t chunksX, chunksY;
    DynArray<VoxelCacheSlot> slots;
    DynArray<uint8_t> seen;      // per chunk of the current view rectangle
    // Chunks known to hold no visible face, so that a still camera does not
    // rescan empty sky every frame; cleared with the slots they stand for.
    DynArray<uint8_t> emptyChunks;
    DynArray<CubeInstance> groups[CHUNK_FACE_GROUPS];  // faces of the chunk being built
    DynArray<VoxelCacheDraw> order;
    // Counters for tests and benchmarks.
    uint64_t chunksBuilt;
    uint64_t instancesBuilt;  // faces
};

VoxelCache* createVoxelCache(const uint8_t* grid, int strideX, int strideY, int strideZ, int sizeX, int sizeY,
                             int sizeZ, const uint32_t* palette);
void destroyVoxelCache(VoxelCache* cache);  // null is ignored

// Draws the level inside the inclusive voxel rectangle, building the chunks
// that are not cached; the eye is the one of setCubeFrameConstants. Call
// between beginCubes and endCubes.
void drawVoxelCache(VoxelCache* cache, int x0, int y0, int x1, int y1);
// Frees the slots of every chunk within the rectangle grown by one voxel
// (a change also uncovers its neighbours' faces).
void invalidateVoxelCacheRect(VoxelCache* cache, int x0, int y0, int x1, int y1);
void invalidateVoxelCache(VoxelCache* cache);

// Slots holding faces, and the bytes of all slot buffers, for tests.
int usedVoxelCacheSlots(const VoxelCache* cache);
int64_t voxelCacheBytes(const VoxelCache* cache);
