#include "cube_scene.h"
#include <cstring>
#include "device.h"

namespace {

struct CubeVertex {
    uint32_t corner, attribute;  // colour elements: bytes B, G, R, A
};

uint32_t bytes(int x, int y, int z, int w) { return (uint32_t)w << 24 | (uint32_t)x << 16 | (uint32_t)y << 8 | (uint32_t)z; }

struct CubeScene {
    VertexLayoutHandle layout;
    ShaderHandle shader;
    VertexBufferHandle vertices, instances;
    IndexBufferHandle indices;
    int count;
};
CubeScene scene;

}  // namespace

void initCubeScene(int count) {
    static const VertexLayout layout[] = {{0, 0, VtColour, VuPosition, 0},
                                          {4, 0, VtColour, VuNormal, 0},
                                          {0, 1, VtShort4, VuPosition, 1},
                                          {8, 1, VtColour, VuColour, 0},
                                          VERTEX_LAYOUT_END};
    // Faces front, top, left, right, bottom, back: corners and normal axis.
    static const int corners[24][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0, 1, 0}, {1, 1, 0},
                                       {0, 1, 1}, {1, 1, 1}, {0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1},
                                       {1, 0, 1}, {1, 1, 1}, {1, 0, 0}, {1, 1, 0}, {0, 0, 1}, {1, 0, 1},
                                       {0, 0, 0}, {1, 0, 0}, {0, 1, 1}, {1, 1, 1}, {0, 0, 1}, {1, 0, 1}};
    static const int normals[6][3] = {{128, 128, 0}, {128, 255, 128}, {0, 128, 128},
                                      {255, 128, 128}, {128, 0, 128}, {128, 128, 255}};
    scene.count = count;
    scene.layout = createVertexLayout(layout);
    scene.shader = loadShader("cube.sh", nullptr);
    scene.vertices = createVertexBuffer(24 * 8, true);
    scene.indices = createIndexBuffer(36, true);
    scene.instances = createVertexBuffer(count * 12, true);

    CubeVertex* v = (CubeVertex*)lockBuffer(scene.vertices);
    for (int i = 0; i < 24; i++) {
        const int* c = corners[i];
        const int* n = normals[i / 4];
        v[i].corner = bytes(c[0], c[1], c[2], 1);
        v[i].attribute = bytes(n[0], n[1], n[2], 255);
    }
    unlockBuffer(scene.vertices);
    uint16_t* ix = (uint16_t*)lockBuffer(scene.indices);
    for (int f = 0; f < 6; f++) {
        uint16_t b = (uint16_t)(4 * f);
        uint16_t tri[6] = {b, (uint16_t)(b + 2), (uint16_t)(b + 1), (uint16_t)(b + 3), (uint16_t)(b + 1), (uint16_t)(b + 2)};
        memcpy(ix + 6 * f, tri, sizeof tri);
    }
    unlockBuffer(scene.indices);

    // A grid 400 cubes wide at z 0..n, coloured by position.
    int16_t* inst = (int16_t*)lockBuffer(scene.instances);
    for (int i = 0; i < count; i++) {
        int x = i % 400, y = (i / 400) % 240, z = i / (400 * 240);
        int16_t* r = inst + 6 * i;
        r[0] = (int16_t)((x * 16) & 0x7FFF);
        r[1] = (int16_t)(y * 16);
        r[2] = (int16_t)(z * 16);
        r[3] = (int16_t)((x * 16) >> 15);
        uint32_t colour = 0xFF000000u | (uint32_t)(x * 255 / 400) << 16 | (uint32_t)(y * 255 / 240) << 8 | 0x60;
        memcpy(r + 4, &colour, 4);
    }
    unlockBuffer(scene.instances);
}

void drawCubeScene() {
    // View: the 400 x 240 voxel field at 3 pixels per voxel seen from 120 in front.
    float ys = 1.0f, xs = ys / (1280.0f / 720.0f);
    Mat4 projection = {{{xs, 0, 0, 0}, {0, ys, 0, 0}, {0, 0, 1.0005002f, 1}, {0, 0, -1.0005002f, 0}}};
    Mat4 view = identityMatrix();
    view.m[3][0] = -200;
    view.m[3][1] = -120;
    view.m[3][2] = 120;
    setViewTransform(view);
    setProjectionTransform(projection);
    Mat4 vp = getViewProjection();
    setVertexConstants(0, &vp.m[0][0], 4);
    float c4_6[12] = {200, 120, -120, 1, 0, 0.8944272f, -0.4472136f, 0, 0, 0, 0.05f, 0};
    setVertexConstants(4, c4_6, 3);

    bindVertexLayout(scene.layout);
    bindShader(scene.shader);
    bindVertexStream(0, scene.vertices, 0, 8);
    bindVertexStream(1, scene.instances, 0, 12);
    bindIndices(scene.indices);
    setInstancing(scene.count);
    drawIndexed(PrimTriangleList, 0, 0, 24, 0, 12);
    setInstancing(0);
}

void shutdownCubeScene() {
    releaseBuffer(scene.instances);
    releaseBuffer(scene.indices);
    releaseBuffer(scene.vertices);
    releaseShader(scene.shader);
    scene = CubeScene();
}
