// voxel_cache: chunked instance buffers of the level grid.
#include "voxel_cache.h"
#include "cube_render.h"
#include "device.h"
#include "display_options.h"
#include "qz_utils.h"

// Floor division by 16, so that -1 gives -1.
static int chunkOf(int v) { return v >> 4; }

VoxelCache* createVoxelCache(const uint8_t* grid, int strideX, int strideY, int strideZ, int sizeX, int sizeY,
                             int sizeZ, const uint32_t* palette) {
    ASSERT(grid && palette);
    ASSERT(sizeX>0 && sizeY>0 && sizeZ>0);
    VoxelCache* cache = new VoxelCache();
    cache->view = {grid, strideX, strideY, strideZ, sizeX, sizeY, sizeZ, palette};
    cache->chunksX = (sizeX + 15) / 16;
    cache->chunksY = (sizeY + 15) / 16;
    cache->emptyChunks.resize(cache->chunksX * cache->chunksY);
    memset(cache->emptyChunks.data, 0, (size_t)cache->emptyChunks.num);
    return cache;
}

void destroyVoxelCache(VoxelCache* cache) {
    if (!cache) return;
    for (VoxelCacheSlot& s : cache->slots) releaseBuffer(s.buffer);
    delete cache;
}

namespace {

// Writes one chunk's instances into as many slots as it needs, drawing each
// slot as soon as it is full and the last one at the end.
struct ChunkWriter {
    VoxelCache* cache;
    int cx, cy;
    int open;       // slot being filled, -1 when none
    uint8_t* bp;    // write position in the open slot
    int count;      // instances in the open slot
    int total;

    void openSlot() {
        DynArray<VoxelCacheSlot>& slots = cache->slots;
        open = -1;
        for (int i = 0; i < slots.num && open < 0; i++)
            if (slots[i].count == 0) open = i;
        if (open < 0) {
            VoxelCacheSlot s = {createVertexBuffer(VOXEL_SLOT_BYTES, false), 0, -1, -1};
            if (!s.buffer) fatalError("Can't create voxel cache VB");
            slots.push(s);
            open = slots.num - 1;
        }
        VoxelCacheSlot& s = slots[open];
        s.chunkX = cx;
        s.chunkY = cy;
        bp = (uint8_t*)lockBuffer(s.buffer);
        ASSERT(bp);
        count = 0;
    }
    void closeSlot() {
        VoxelCacheSlot& s = cache->slots[open];
        unlockBuffer(s.buffer);
        s.count = count;
        drawCubeInstances(s.buffer, count, optFastVoxels);
        open = -1;
    }
    void operator()(const CubeInstance& c) {
        if (open < 0) openSlot();
        streamCubeInstance(bp, c);
        bp += sizeof(CubeInstance);
        total++;
        if (++count == VOXEL_SLOT_INSTANCES) closeSlot();
    }
};

}  // namespace

void drawVoxelCache(VoxelCache* cache, int x0, int y0, int x1, int y1) {
    ASSERT(cache);
    int cx0 = x0 < 0 ? 0 : chunkOf(x0), cy0 = y0 < 0 ? 0 : chunkOf(y0);
    int cx1 = chunkOf(x1), cy1 = chunkOf(y1);
    if (cx1 > cache->chunksX - 1) cx1 = cache->chunksX - 1;
    if (cy1 > cache->chunksY - 1) cy1 = cache->chunksY - 1;
    if (cx1 < cx0 || cy1 < cy0) return;

    flushCubes(true);
    int w = cx1 - cx0 + 1, h = cy1 - cy0 + 1;
    DynArray<uint8_t>& seen = cache->seen;
    seen.resize(w * h);
    memset(seen.data, 0, (size_t)seen.num);

    for (VoxelCacheSlot& s : cache->slots) {
        if (s.count <= 0) continue;
        if (s.chunkX < cx0 || s.chunkX > cx1 || s.chunkY < cy0 || s.chunkY > cy1) {
            s.count = 0;  // left the view; the buffer is kept for reuse
            continue;
        }
        seen[(s.chunkY - cy0) * w + (s.chunkX - cx0)] = 1;
        drawCubeInstances(s.buffer, s.count, optFastVoxels);
    }

    for (int cy = cy0; cy <= cy1; cy++) {
        for (int cx = cx0; cx <= cx1; cx++) {
            uint8_t& empty = cache->emptyChunks[cy * cache->chunksX + cx];
            if (seen[(cy - cy0) * w + (cx - cx0)] || empty) continue;
            ChunkWriter writer = {cache, cx, cy, -1, nullptr, 0, 0};
            buildVoxelChunk(cache->view, cx, cy, writer);
            if (writer.open >= 0) writer.closeSlot();
            empty = writer.total == 0;
            cache->chunksBuilt++;
            cache->instancesBuilt += (uint64_t)writer.total;
        }
    }
}

void invalidateVoxelCacheRect(VoxelCache* cache, int x0, int y0, int x1, int y1) {
    ASSERT(cache);
    int cx0 = x0 - 1 < 0 ? 0 : chunkOf(x0 - 1), cy0 = y0 - 1 < 0 ? 0 : chunkOf(y0 - 1);
    int cx1 = chunkOf(x1 + 1), cy1 = chunkOf(y1 + 1);
    if (cx1 > cache->chunksX - 1) cx1 = cache->chunksX - 1;
    if (cy1 > cache->chunksY - 1) cy1 = cache->chunksY - 1;
    for (VoxelCacheSlot& s : cache->slots)
        if (s.count > 0 && s.chunkX >= cx0 && s.chunkX <= cx1 && s.chunkY >= cy0 && s.chunkY <= cy1) s.count = 0;
    for (int cy = cy0; cy <= cy1; cy++)
        for (int cx = cx0; cx <= cx1; cx++) cache->emptyChunks[cy * cache->chunksX + cx] = 0;
}

void invalidateVoxelCache(VoxelCache* cache) {
    ASSERT(cache);
    for (VoxelCacheSlot& s : cache->slots) s.count = 0;
    memset(cache->emptyChunks.data, 0, (size_t)cache->emptyChunks.num);
}

int usedVoxelCacheSlots(const VoxelCache* cache) {
    int n = 0;
    for (const VoxelCacheSlot& s : cache->slots) n += s.count > 0;
    return n;
}
