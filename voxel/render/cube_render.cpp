// cube_render: the cube shader's pipeline, the batch of moving cubes and
// the sprites' face meshes.
#include "cube_render.h"
#include <cstring>
#include "device.h"
#include "qz_utils.h"
#include "voxel_sprite.h"
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The faces of one sprite as drawn with one flags value at one offset,
// built on first use and kept in a static buffer.
struct SpriteMesh {
    uint32_t serial;  // of the sprite; 0 = free entry
    int flags, x0, y0, z0;
    DeviceBuffer* buffer;  // null when the sprite shows no face
    int faces;
};

enum { MAX_SPRITE_MESHES = 128 };

struct CubeBatch {
    VertexLayoutHandle layout;
    ShaderHandle shader;
    VertexBufferHandle instances;
    IndexBufferHandle indices;
    IndexBufferHandle quadIndices;  // two triangles over each 4 vertices of a face buffer
    uint8_t* vbPtr;  // write position while the instance buffer is locked
    int count;
    Mat4 transform;
    Mat4 viewProjection;  // captured by beginCubes
    Vec4 eye;             // world eye position of the frame
    SpriteMesh meshes[MAX_SPRITE_MESHES];
    int nextMesh;  // entry replaced when every one is taken
};
CubeBatch batch;

bool sameMatrix(const Mat4& a, const Mat4& b) { return memcmp(&a, &b, sizeof a) == 0; }

// c5 and c6 for a transform: the light and the depth plane in object space.
void setObjectConstants(const Mat4& objectToWorld) {
    Mat4 inv;
    invertMatrix(objectToWorld, &inv);
    Vec4 light = transform(CUBE_LIGHT_DIRECTION, inv);
    float d[8] = {light.x, light.y, light.z, 0.0f};
    float px = 0.05f * inv.m[2][0], py = 0.05f * inv.m[2][1], pz = 0.05f * inv.m[2][2];
    d[4] = px;
    d[5] = py;
    d[6] = pz;
    d[7] = -(inv.m[3][0] * px + inv.m[3][1] * py + inv.m[3][2] * pz);
    setVertexConstants(5, d, 2);
}

void appendInstance(const CubeInstance& c) {
    if (batch.count >= CUBE_BATCH_INSTANCES && batch.vbPtr) flushCubes(false);
    if (!batch.vbPtr) {
        batch.vbPtr = (uint8_t*)lockBuffer(batch.instances);
        ASSERT(batch.vbPtr);
    }
    streamCubeInstance(batch.vbPtr, c);
    batch.vbPtr += sizeof(CubeInstance);
    batch.count++;
}

}  // namespace

void streamCubeInstance(void* dst, const CubeInstance& c) {
#if defined(__SSE2__)
    int src[3];
    memcpy(src, &c, sizeof src);
    _mm_stream_si32((int*)dst, src[0]);
    _mm_stream_si32((int*)dst + 1, src[1]);
    _mm_stream_si32((int*)dst + 2, src[2]);
#else
    memcpy(dst, &c, sizeof c);
#endif
}

uint8_t* streamCubeFace(uint8_t* dst, const CubeInstance& c) {
    for (int v = 0; v < FACE_VERTICES; v++, dst += sizeof(CubeInstance)) streamCubeInstance(dst, c);
    return dst;
}

void initCubeRenderer() {
    // No per-vertex stream: the shader takes each corner from its own table
    // by the face of the instance and the vertex index.
    static const VertexLayout layout[] = {{0, 1, VtShort4, VuPosition, 1},
                                          {8, 1, VtColour, VuColour, 0},
                                          VERTEX_LAYOUT_END};
    batch = CubeBatch();
    batch.transform = identityMatrix();
    batch.layout = createVertexLayout(layout);
    batch.shader = loadShader("cube.sh", nullptr);
    batch.instances = createVertexBuffer(CUBE_BATCH_BYTES, false);
    batch.indices = createIndexBuffer(36, true);
    batch.quadIndices = createIndexBuffer(6 * FACES_PER_DRAW, true);
    if (!batch.instances || !batch.indices || !batch.quadIndices) fatalError("Can't create cube VB");

    // Two triangles per face over its corners 4f .. 4f + 3; a single face
    // uses the first six indices.
    uint16_t* ip = (uint16_t*)lockBuffer(batch.indices);
    ASSERT(ip);
    for (int f = 0; f < 6; f++) {
        uint16_t b = (uint16_t)(4 * f);
        uint16_t tri[6] = {b, (uint16_t)(b + 2), (uint16_t)(b + 1), (uint16_t)(b + 3), (uint16_t)(b + 1), (uint16_t)(b + 2)};
        memcpy(ip + 6 * f, tri, sizeof tri);
    }
    unlockBuffer(batch.indices);
    // The same two triangles over every face of a face buffer, the record's
    // copies in corner order.
    ip = (uint16_t*)lockBuffer(batch.quadIndices);
    ASSERT(ip);
    for (int f = 0; f < FACES_PER_DRAW; f++) {
        uint16_t b = (uint16_t)(FACE_VERTICES * f);
        uint16_t tri[6] = {b, (uint16_t)(b + 2), (uint16_t)(b + 1), (uint16_t)(b + 3), (uint16_t)(b + 1), (uint16_t)(b + 2)};
        memcpy(ip + 6 * f, tri, sizeof tri);
    }
    unlockBuffer(batch.quadIndices);
}

void shutdownCubeRenderer() {
    if (batch.vbPtr) unlockBuffer(batch.instances);
    for (SpriteMesh& m : batch.meshes) releaseBuffer(m.buffer);
    releaseBuffer(batch.indices);
    releaseBuffer(batch.quadIndices);
    releaseBuffer(batch.instances);
    if (batch.shader) releaseShader(batch.shader);
    batch = CubeBatch();
}

void bindCubePipeline() {
    bindVertexLayout(batch.layout);
    bindVertexStream(0, nullptr, 0, 0);
    bindIndices(batch.indices);
    bindShader(batch.shader);
    setCulling(true);
}

void beginCubes() {
    ASSERT(!batch.vbPtr);
    batch.viewProjection = getViewProjection();
    batch.transform = identityMatrix();
    bindCubePipeline();
    batch.count = 0;
}

void setCubeTransform(const Mat4& objectToWorld) {
    if (sameMatrix(objectToWorld, batch.transform)) return;
    if (batch.count > 0) flushCubes(false);
    batch.transform = objectToWorld;
    Mat4 m = objectToWorld * batch.viewProjection;
    setVertexConstants(0, &m.m[0][0], 4);
    setObjectConstants(objectToWorld);
}

void addCube(int X, int Y, int Z, uint32_t colour) { appendInstance(cubeInstance(X, Y, Z, colour)); }

void drawVoxelBox(const uint8_t* grid, int strideX, int strideY, int strideZ, int nx, int ny, int nz,
                  const uint32_t* palette, int x0, int y0, int z0, int flags) {
    const uint8_t* data = grid;
    ASSERT(data);
    ASSERT(palette);
    visitVoxelBox(grid, strideX, strideY, strideZ, nx, ny, nz, palette, x0, y0, z0, flags,
                  [](const CubeInstance& c) { appendInstance(c); });
}

namespace {

SpriteMesh& spriteMesh(const VoxelSprite* sprite, int x0, int y0, int z0, int flags) {
    for (SpriteMesh& m : batch.meshes)
        if (m.serial == sprite->serial && m.flags == flags && m.x0 == x0 && m.y0 == y0 && m.z0 == z0) return m;
    SpriteMesh* slot = nullptr;
    for (int i = 0; i < MAX_SPRITE_MESHES && !slot; i++)
        if (!batch.meshes[i].serial) slot = &batch.meshes[i];
    if (!slot) {
        // Every entry taken, also by meshes of freed sprites (each lift ride
        // cuts a new pad): replace them in turn.
        slot = &batch.meshes[batch.nextMesh];
        batch.nextMesh = (batch.nextMesh + 1) % MAX_SPRITE_MESHES;
        releaseBuffer(slot->buffer);
    }
    *slot = {sprite->serial, flags, x0, y0, z0, nullptr, 0};
    auto walk = [&](auto&& emit) {
        visitVoxelBoxFaces(sprite->voxels, 1, sprite->sizeX, sprite->sizeX * sprite->sizeY, sprite->sizeX,
                           sprite->sizeY, sprite->sizeZ, sprite->palette, x0, y0, z0, flags, emit);
    };
    walk([&](const CubeInstance&) { slot->faces++; });
    if (slot->faces == 0) return *slot;
    slot->buffer = createVertexBuffer(faceBufferBytes(slot->faces), true);
    if (!slot->buffer) fatalError("Can't create cube VB");
    uint8_t* p = (uint8_t*)lockBuffer(slot->buffer);
    ASSERT(p);
    walk([&](const CubeInstance& c) { p = streamCubeFace(p, c); });
    unlockBuffer(slot->buffer);
    return *slot;
}

}  // namespace

void drawVoxelSprite(const VoxelSprite* sprite, int x0, int y0, int z0, int flags) {
    ASSERT(sprite);
    if (!sprite->serial) {  // not made by the loader (tests): whole cubes of the batch
        drawVoxelBox(sprite->voxels, 1, sprite->sizeX, sprite->sizeX * sprite->sizeY, sprite->sizeX, sprite->sizeY,
                     sprite->sizeZ, sprite->palette, x0, y0, z0, flags);
        return;
    }
    const SpriteMesh& m = spriteMesh(sprite, x0, y0, z0, flags);
    if (!m.faces) return;
    flushCubes(true);  // pending cubes first: stream 1 is about to change
    drawCubeFaces(m.buffer, 0, m.faces);
}

void drawCubeFaces(DeviceBuffer* buffer, int first, int count) {
    setInstancing(0);
    bindIndices(batch.quadIndices);
    for (int done = 0; done < count; done += FACES_PER_DRAW) {
        int n = count - done < FACES_PER_DRAW ? count - done : FACES_PER_DRAW;
        bindVertexStream(1, buffer, faceBufferBytes(first + done), (int)sizeof(CubeInstance));
        drawIndexed(PrimTriangleList, 0, 0, FACE_VERTICES * n, 0, 2 * n);
    }
    bindIndices(batch.indices);
}

Vec4 cubeFrameEye() { return batch.eye; }

void flushCubes(bool force) {
    if (!batch.vbPtr || (batch.count == 0 && !force)) return;
    unlockBuffer(batch.instances);
    batch.vbPtr = nullptr;
    if (batch.count > 0) {
        bindVertexStream(1, batch.instances, 0, (int)sizeof(CubeInstance));
        setInstancing(batch.count);
        drawIndexed(PrimTriangleList, 0, 0, 24, 0, 12);
    }
    batch.count = 0;
}

void endCubes() {
    flushCubes(true);
    setInstancing(0);
    if (!sameMatrix(batch.transform, identityMatrix())) {
        setVertexConstants(0, &batch.viewProjection.m[0][0], 4);
        float d[8] = {CUBE_LIGHT_DIRECTION.x, CUBE_LIGHT_DIRECTION.y, CUBE_LIGHT_DIRECTION.z, 0, 0, 0, 0.05f, 0};
        setVertexConstants(5, d, 2);
        batch.transform = identityMatrix();
    }
}

void setCubeFrameConstants(const Mat4& viewProjection, Vec4 eye) {
    batch.eye = eye;
    setVertexConstants(0, &viewProjection.m[0][0], 4);
    float d[12] = {eye.x, eye.y, eye.z, eye.w, CUBE_LIGHT_DIRECTION.x, CUBE_LIGHT_DIRECTION.y,
                   CUBE_LIGHT_DIRECTION.z, 0, 0, 0, 0.05f, 0};
    setVertexConstants(4, d, 3);
}
