#include "debug_vis.h"
#include "device.h"
#include "qz_utils.h"

namespace {

struct DebugVertex {
    float x, y, z;
    uint32_t colour;
};
static_assert(sizeof(DebugVertex) == 16, "debug vertices are 16 bytes");

enum { BufferBytes = 65536, MaxVertices = BufferBytes / 16 };

// Lives from initDebugDraw to shutdownDebugDraw.
struct DebugDrawer {
    VertexLayoutHandle layout;
    ShaderHandle shader;
    VertexBufferHandle buffer;
    int type;          // PrimTriangleList or PrimLineList
    int count;         // primitives queued
    DebugVertex* vbPtr;  // write position while the buffer is locked
};
DebugDrawer drawer;

int verticesPer(int type) { return type == PrimLineList ? 2 : 3; }

void flush() {
    unlockBuffer(drawer.buffer);
    if (drawer.count > 0) drawPrimitives(drawer.type, 0, drawer.count);
    drawer.vbPtr = (DebugVertex*)lockBuffer(drawer.buffer);
    ASSERT(drawer.vbPtr);
    drawer.count = 0;
}

// Room for one primitive of the type, flushing what is queued when needed.
DebugVertex* reserve(int type) {
    ASSERT(drawer.vbPtr);
    int n = verticesPer(type);
    int used = drawer.count * verticesPer(drawer.type);
    if (drawer.type != type || used + n > MaxVertices) {
        if (drawer.count > 0) flush();
        drawer.type = type;
        used = 0;
    }
    drawer.count++;
    return drawer.vbPtr + used;
}

}  // namespace

void initDebugDraw() {
    static const VertexLayout layout[] = {
        {0, 0, VtFloat3, VuPosition, 0},
        {12, 0, VtColour, VuColour, 0},
        VERTEX_LAYOUT_END,
    };
    drawer = DebugDrawer();
    drawer.layout = createVertexLayout(layout);
    drawer.shader = loadShader("debug_vis.sh", nullptr);
    drawer.buffer = createVertexBuffer(BufferBytes, false);
    if (!drawer.buffer) fatalError("can't create debugVis vertex buffer");
    drawer.type = PrimTriangleList;
}

void shutdownDebugDraw() {
    releaseBuffer(drawer.buffer);
    releaseShader(drawer.shader);
    drawer = DebugDrawer();
}

void beginDebugDraw() {
    ASSERT(!drawer.vbPtr);
    bindVertexLayout(drawer.layout);
    bindVertexStream(0, drawer.buffer, 0, 16);
    bindShader(drawer.shader);
    setCulling(false);
    drawer.vbPtr = (DebugVertex*)lockBuffer(drawer.buffer);
    ASSERT(drawer.vbPtr);
    drawer.type = PrimTriangleList;
    drawer.count = 0;
}

void endDebugDraw() {
    ASSERT(drawer.vbPtr);
    unlockBuffer(drawer.buffer);
    drawer.vbPtr = nullptr;
    if (drawer.count > 0) drawPrimitives(drawer.type, 0, drawer.count);
    drawer.count = 0;
    setCulling(true);
}

void debugTriangle(Vec4 p0, Vec4 p1, Vec4 p2, uint32_t c0, uint32_t c1, uint32_t c2) {
    DebugVertex* v = reserve(PrimTriangleList);
    v[0] = {p0.x, p0.y, p0.z, c0};
    v[1] = {p1.x, p1.y, p1.z, c1};
    v[2] = {p2.x, p2.y, p2.z, c2};
}

void debugLine(Vec4 p0, Vec4 p1, uint32_t c0, uint32_t c1) {
    DebugVertex* v = reserve(PrimLineList);
    v[0] = {p0.x, p0.y, p0.z, c0};
    v[1] = {p1.x, p1.y, p1.z, c1};
}

// Corner i of a box: bit 0 picks x, bit 1 y, bit 2 z.
static Vec4 corner(Vec4 lo, Vec4 hi, int i) {
    return {(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z};
}

void debugSolidCube(Vec4 c, float h, uint32_t colour) {
    Vec4 lo = {c.x - h, c.y - h, c.z - h}, hi = {c.x + h, c.y + h, c.z + h};
    // Each face as four corners in order around it.
    static const int faces[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
    for (const auto& f : faces) {
        Vec4 a = corner(lo, hi, f[0]), b = corner(lo, hi, f[1]), q = corner(lo, hi, f[2]), d = corner(lo, hi, f[3]);
        debugTriangle(a, b, q, colour, colour, colour);
        debugTriangle(a, q, d, colour, colour, colour);
    }
}

void debugWireBox(Vec4 a, Vec4 b, uint32_t colour) {
    Vec4 lo = {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.z < b.z ? a.z : b.z};
    Vec4 hi = {a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y, a.z > b.z ? a.z : b.z};
    // The 12 edges join corners that differ in one bit.
    for (int i = 0; i < 8; i++)
        for (int bit = 1; bit < 8; bit <<= 1)
            if (!(i & bit)) debugLine(corner(lo, hi, i), corner(lo, hi, i | bit), colour, colour);
}

void debugCross(Vec4 c, float h, uint32_t colour) {
    debugLine({c.x - h, c.y, c.z}, {c.x + h, c.y, c.z}, colour, colour);
    debugLine({c.x, c.y - h, c.z}, {c.x, c.y + h, c.z}, colour, colour);
    debugLine({c.x, c.y, c.z - h}, {c.x, c.y, c.z + h}, colour, colour);
}
