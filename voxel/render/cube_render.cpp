// cube_render: the instanced cube mesh and the batch of moving cubes.
#include "cube_render.h"
#include <cstring>
#include "device.h"
#include "qz_utils.h"
#include "voxel_sprite.h"
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

struct CubeBatch {
    VertexLayoutHandle layout;
    ShaderHandle shader;
    VertexBufferHandle instances, mesh;
    IndexBufferHandle indices;
    uint8_t* vbPtr;  // write position while the instance buffer is locked
    int count;
    Mat4 transform;
    Mat4 viewProjection;  // captured by beginCubes
};
CubeBatch batch;

// Colour elements are stored B, G, R, A in memory and reach the shader as
// (R, G, B, A) = (x, y, z, w).
uint32_t colourBytes(int x, int y, int z, int w) {
    return (uint32_t)w << 24 | (uint32_t)x << 16 | (uint32_t)y << 8 | (uint32_t)z;
}

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

void initCubeRenderer() {
    static const VertexLayout layout[] = {{0, 0, VtColour, VuPosition, 0},
                                          {4, 0, VtColour, VuNormal, 0},
                                          {0, 1, VtShort4, VuPosition, 1},
                                          {8, 1, VtColour, VuColour, 0},
                                          VERTEX_LAYOUT_END};
    // Per face (front, top, left, right, bottom, back) the four corners.
    static const uint8_t corners[24][3] = {
        {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0, 1, 0}, {1, 1, 0}, {0, 1, 1}, {1, 1, 1},
        {0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 1}, {1, 0, 0}, {1, 1, 0},
        {0, 0, 1}, {1, 0, 1}, {0, 0, 0}, {1, 0, 0}, {0, 1, 1}, {1, 1, 1}, {0, 0, 1}, {1, 0, 1}};
    static const int normalAxis[6] = {2, 1, 0, 0, 1, 2};
    static const uint8_t normalByte[6] = {0, 255, 0, 255, 0, 255};

    batch = CubeBatch();
    batch.transform = identityMatrix();
    batch.layout = createVertexLayout(layout);
    batch.shader = loadShader("cube.sh", nullptr);
    batch.instances = createVertexBuffer(CUBE_BATCH_BYTES, false);
    batch.mesh = createVertexBuffer(24 * 8, true);
    batch.indices = createIndexBuffer(36, true);
    if (!batch.instances || !batch.mesh || !batch.indices) fatalError("Can't create cube VB");

    uint32_t* vp = (uint32_t*)lockBuffer(batch.mesh);
    ASSERT(vp);
    for (int v = 0; v < 24; v++) {
        const uint8_t* c = corners[v];
        int f = v / 4;
        // Normal axis: 0 or 255; the two others lean 10 towards the corner.
        int a[3];
        for (int i = 0; i < 3; i++) a[i] = i == normalAxis[f] ? normalByte[f] : (c[i] ? 138 : 118);
        vp[2 * v] = colourBytes(c[0], c[1], c[2], 1);
        vp[2 * v + 1] = colourBytes(a[0], a[1], a[2], 255);
    }
    unlockBuffer(batch.mesh);

    uint16_t* ip = (uint16_t*)lockBuffer(batch.indices);
    ASSERT(ip);
    for (int f = 0; f < 6; f++) {
        uint16_t b = (uint16_t)(4 * f);
        uint16_t tri[6] = {b, (uint16_t)(b + 2), (uint16_t)(b + 1), (uint16_t)(b + 3), (uint16_t)(b + 1), (uint16_t)(b + 2)};
        memcpy(ip + 6 * f, tri, sizeof tri);
    }
    unlockBuffer(batch.indices);
}

void shutdownCubeRenderer() {
    if (batch.vbPtr) unlockBuffer(batch.instances);
    releaseBuffer(batch.indices);
    releaseBuffer(batch.mesh);
    releaseBuffer(batch.instances);
    if (batch.shader) releaseShader(batch.shader);
    batch = CubeBatch();
}

void bindCubePipeline() {
    bindVertexLayout(batch.layout);
    bindVertexStream(0, batch.mesh, 0, 8);
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

void drawVoxelSprite(const VoxelSprite* sprite, int x0, int y0, int z0, int flags) {
    ASSERT(sprite);
    drawVoxelBox(sprite->voxels, 1, sprite->sizeX, sprite->sizeX * sprite->sizeY, sprite->sizeX, sprite->sizeY,
                 sprite->sizeZ, sprite->palette, x0, y0, z0, flags);
}

void drawCubeInstances(DeviceBuffer* buffer, int count, bool frontOnly) {
    bindVertexStream(1, buffer, 0, 12);
    setInstancing(count);
    // The front face comes first in the mesh and the back face last.
    if (frontOnly) drawIndexed(PrimTriangleList, 0, 0, 4, 0, 2);
    else drawIndexed(PrimTriangleList, 0, 0, 20, 0, 10);
}

void flushCubes(bool force) {
    if (!batch.vbPtr || (batch.count == 0 && !force)) return;
    unlockBuffer(batch.instances);
    batch.vbPtr = nullptr;
    if (batch.count > 0) {
        bindVertexStream(1, batch.instances, 0, 12);
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
    setVertexConstants(0, &viewProjection.m[0][0], 4);
    float d[12] = {eye.x, eye.y, eye.z, eye.w, CUBE_LIGHT_DIRECTION.x, CUBE_LIGHT_DIRECTION.y,
                   CUBE_LIGHT_DIRECTION.z, 0, 0, 0, 0.05f, 0};
    setVertexConstants(4, d, 3);
}
