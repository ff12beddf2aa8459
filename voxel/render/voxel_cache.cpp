// voxel_cache: chunked face buffers of the level grid.
#include "voxel_cache.h"
#include "cube_render.h"
#include "device.h"
#include "display_options.h"
#include "qz_utils.h"
#include <algorithm>

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

// A free slot for `faces` faces with an exact-size buffer: one of that size
// if there is, else one whose buffer is remade, else a new one.
int takeSlot(VoxelCache* cache, int faces) {
    DynArray<VoxelCacheSlot>& slots = cache->slots;
    int bytes = faceBufferBytes(faces), spare = -1;
    for (int i = 0; i < slots.num; i++) {
        if (slots[i].count != 0) continue;
        if (bufferSize(slots[i].buffer) == bytes) return i;
        if (spare < 0 || !slots[i].buffer) spare = i;
    }
    if (spare < 0) {
        VoxelCacheSlot s = {};
        slots.push(s);
        spare = slots.num - 1;
    }
    VoxelCacheSlot& s = slots[spare];
    releaseBuffer(s.buffer);
    s.buffer = createVertexBuffer(bytes, false);
    if (!s.buffer) fatalError("Can't create voxel cache VB");
    return spare;
}

// Builds chunk (cx, cy) into a slot; false when it shows no face.
bool buildChunk(VoxelCache* cache, int cx, int cy) {
    for (DynArray<CubeInstance>& g : cache->groups) g.clear();
    buildChunkFaces(cache->view, cx, cy, [&](int group, const CubeInstance& c) { cache->groups[group].push(c); });
    int total = 0;
    for (const DynArray<CubeInstance>& g : cache->groups) total += g.num;
    cache->chunksBuilt++;
    cache->instancesBuilt += (uint64_t)total;
    if (total == 0) return false;

    VoxelCacheSlot& s = cache->slots[takeSlot(cache, total)];
    uint8_t* bp = (uint8_t*)lockBuffer(s.buffer);
    ASSERT(bp);
    int end = 0;
    for (int g = 0; g < CHUNK_FACE_GROUPS; g++) {
        for (const CubeInstance& c : cache->groups[g]) bp = streamCubeFace(bp, c);
        end += cache->groups[g].num;
        s.groupEnd[g] = end;
    }
    unlockBuffer(s.buffer);
    s.count = total;
    s.chunkX = cx;
    s.chunkY = cy;
    return true;
}

// The groups of one chunk that can face the eye.
void drawSlot(const VoxelCacheSlot& s, Vec4 eye) {
    bool need[CHUNK_FACE_GROUPS];
    chunkGroupsFacing(s.chunkX, s.chunkY, eye.x, eye.y, optFastVoxels, need);
    FaceRange ranges[CHUNK_FACE_GROUPS];
    int n = chunkFaceRanges(s.groupEnd, need, ranges);
    for (int i = 0; i < n; i++) drawCubeFaces(s.buffer, ranges[i].first, ranges[i].count);
}

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
    }
    for (int cy = cy0; cy <= cy1; cy++) {
        for (int cx = cx0; cx <= cx1; cx++) {
            uint8_t& empty = cache->emptyChunks[cy * cache->chunksX + cx];
            if (seen[(cy - cy0) * w + (cx - cx0)] || empty) continue;
            empty = !buildChunk(cache, cx, cy);
        }
    }

    // Nearest first, by the distance of the chunk's centre from the eye.
    Vec4 eye = cubeFrameEye();
    DynArray<VoxelCacheDraw>& order = cache->order;
    order.clear();
    for (int i = 0; i < cache->slots.num; i++) {
        const VoxelCacheSlot& s = cache->slots[i];
        if (s.count <= 0) continue;
        float dx = (float)(VOXEL_CHUNK * s.chunkX + VOXEL_CHUNK / 2) - eye.x;
        float dy = (float)(VOXEL_CHUNK * s.chunkY + VOXEL_CHUNK / 2) - eye.y;
        order.push({(int32_t)(dx * dx + dy * dy), i});
    }
    std::sort(order.data, order.data + order.num, [](const VoxelCacheDraw& a, const VoxelCacheDraw& b) {
        return a.distance < b.distance || (a.distance == b.distance && a.slot < b.slot);
    });
    for (const VoxelCacheDraw& d : order) drawSlot(cache->slots[d.slot], eye);
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

int64_t voxelCacheBytes(const VoxelCache* cache) {
    int64_t n = 0;
    for (const VoxelCacheSlot& s : cache->slots) n += bufferSize(s.buffer);
    return n;
}
