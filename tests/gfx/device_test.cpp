#include <vector>
#include "gl_test_support.h"

static const VertexLayout debugLayout[] = {
    {0, 0, VtFloat3, VuPosition, 0}, {12, 0, VtColour, VuColour, 0}, VERTEX_LAYOUT_END};

struct ColouredVertex {
    float x, y, z;
    uint32_t colour;
};

// Two triangles covering the clip rectangle, in a dynamic buffer.
static VertexBufferHandle fillRectBuffer(VertexBufferHandle vb, float x0, float y0, float x1, float y1, uint32_t c) {
    ColouredVertex v[6] = {{x0, y0, 0.5f, c}, {x0, y1, 0.5f, c}, {x1, y0, 0.5f, c},
                           {x1, y0, 0.5f, c}, {x0, y1, 0.5f, c}, {x1, y1, 0.5f, c}};
    void* p = lockBuffer(vb);
    EXPECT_TRUE(p);
    if (p) memcpy(p, v, sizeof v);
    unlockBuffer(vb);
    return vb;
}

static void drawRect(ShaderHandle shader, VertexLayoutHandle layout, VertexBufferHandle vb) {
    bindShader(shader);
    bindVertexLayout(layout);
    bindVertexStream(0, vb, 0, 16);
    drawPrimitives(PrimTriangleList, 0, 2);
}

TEST_F(DeviceTest, InstancedQuadsLandWhereExpectedInOneDraw) {
    // A 4 x 4 pixel quad repeated on an 8-pixel grid: 40 x 30 instances.
    const float px = 2.0f / (float)width, py = 2.0f / (float)height;
    float corners[4][2] = {{0, 0}, {0, 4 * py}, {4 * px, 0}, {4 * px, 4 * py}};
    uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    struct Instance {
        float x, y;
        uint32_t colour;
    };
    std::vector<Instance> instances;
    for (int j = 0; j < 30; j++)
        for (int i = 0; i < 40; i++)
            instances.push_back({-1 + (float)(i * 8 + 2) * px, -1 + (float)(j * 8 + 2) * py,
                                 0xFF000000u | (uint32_t)(i * 6) << 16 | (uint32_t)(j * 8) << 8 | 0x40});

    VertexBufferHandle quad = createVertexBuffer(sizeof corners, true);
    VertexBufferHandle inst = createVertexBuffer((int)(instances.size() * sizeof(Instance)), false);
    IndexBufferHandle ib = createIndexBuffer(6, true);
    memcpy(lockBuffer(quad), corners, sizeof corners);
    unlockBuffer(quad);
    memcpy(lockBuffer(inst), instances.data(), instances.size() * sizeof(Instance));
    unlockBuffer(inst);
    memcpy(lockBuffer(ib), indices, sizeof indices);
    unlockBuffer(ib);

    static const VertexLayout layout[] = {{0, 0, VtFloat2, VuPosition, 0},
                                          {0, 1, VtFloat2, VuPosition, 1},
                                          {8, 1, VtColour, VuColour, 0},
                                          VERTEX_LAYOUT_END};
    setBackBufferTarget();
    clearAll(0xFF000000);
    identityConstants();  // set once, seen by both shaders below
    bindShader(loadShader("test_instanced.sh", nullptr));
    bindVertexLayout(createVertexLayout(layout));
    bindVertexStream(0, quad, 0, 8);
    bindVertexStream(1, inst, 0, 12);
    bindIndices(ib);
    setInstancing((int)instances.size());
    uint64_t draws = deviceDrawCount();
    drawIndexed(PrimTriangleList, 0, 0, 4, 0, 2);
    setInstancing(0);
    EXPECT_EQ(deviceDrawCount(), draws + 1);

    int wrong = 0;
    for (int j = 0; j < 30; j++)
        for (int i = 0; i < 40; i++) {
            const Instance& in = instances[(size_t)(j * 40 + i)];
            // Inside the quad, and in the gap beside it.
            if (pixelAt(i * 8 + 3, j * 8 + 3) != in.colour) wrong++;
            if (pixelAt(i * 8 + 7, j * 8 + 7) != 0xFF000000u) wrong++;
        }
    EXPECT_EQ(wrong, 0);

    // The other shader sees the same registers without setting them again.
    VertexBufferHandle vb = createVertexBuffer(6 * 16, false);
    drawRect(loadShader("debug_vis.sh", nullptr), createVertexLayout(debugLayout),
             fillRectBuffer(vb, -1, -1, 0, 0, 0xFF00FF00));
    EXPECT_EQ(pixelAt(10, 10), 0xFF00FF00u);
    EXPECT_EQ(pixelAt(width - 10, height - 10), 0xFF000000u);
}

// Draws a red rectangle on a transparent scene, resolves it into a screen-sized
// texture and copies that to the back buffer with the post-effect.
static void drawSceneAndPresentThroughTexture(int width, int height, TextureHandle sceneImage) {
    ShaderHandle debug = loadShader("debug_vis.sh", nullptr);
    ShaderHandle post = loadShader("postfx_none.sh", nullptr);
    VertexBufferHandle vb = createVertexBuffer(6 * 16, false);
    setSceneTarget();
    clearAll(0);
    DeviceTest::identityConstants();
    drawRect(debug, createVertexLayout(debugLayout), fillRectBuffer(vb, -0.5f, -0.5f, 0.5f, 0.5f, 0xFFFF0000));
    resolveSceneTo(sceneImage);
    setBackBufferTarget();
    clearAll(0xFF0000FF);
    bindShader(post);
    bindTexture(0, sceneImage);
    setSamplerAddress(0, 1, -1, -1);
    drawFullScreenQuad();
    (void)width;
    (void)height;
}

TEST_F(DeviceTest, SceneResolvesIntoTextureWithAndWithoutMultisampling) {
    for (bool aa : {false, true}) {
        SCOPED_TRACE(aa ? "multisampled" : "single-sampled");
        optAntiAlias = aa;
        ASSERT_TRUE(initDevice(window, width, height));
        EXPECT_EQ(deviceSampleCount() > 1, aa);
        TextureHandle sceneImage = createTexture(0, 0, 1, UsageRenderTarget, FormatArgb8, PoolDefault);
        ASSERT_TRUE(sceneImage);
        drawSceneAndPresentThroughTexture(width, height, sceneImage);
        // The rectangle covers the middle half; the rest is the scene's cleared black.
        EXPECT_EQ(pixelAt(width / 2, height / 2), 0xFFFF0000u);
        EXPECT_EQ(pixelAt(width / 4 + 2, height / 4 + 2), 0xFFFF0000u);
        EXPECT_EQ(pixelAt(width / 4 - 2, height / 4 - 2), 0xFF000000u);
        EXPECT_EQ(pixelAt(width - 1, height - 1), 0xFF000000u);
    }
}

TEST_F(DeviceTest, HandlesWorkAfterResizeWithTheNewSize) {
    VertexBufferHandle vb = createVertexBuffer(6 * 16, false);
    TextureHandle sceneImage = createTexture(0, 0, 1, UsageRenderTarget, FormatArgb8, PoolDefault);
    ASSERT_TRUE(vb && sceneImage);
    EXPECT_EQ(textureWidth(sceneImage), width);

    testing::internal::CaptureStdout();
    EXPECT_TRUE(resizeDevice(width, height, false));  // same size: nothing happens
    setWindowSize(window, 200, 150);
    width = 200;
    height = 150;
    EXPECT_TRUE(resizeDevice(width, height, false));
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(log, "=== resizing d3d to 200x150 windowed\nresized d3d to 200x150 windowed\n");

    EXPECT_EQ(deviceWidth(), 200);
    EXPECT_EQ(bufferSize(vb), 6 * 16);
    EXPECT_EQ(textureWidth(sceneImage), 200);
    EXPECT_EQ(textureHeight(sceneImage), 150);
    drawSceneAndPresentThroughTexture(width, height, sceneImage);
    EXPECT_EQ(pixelAt(100, 75), 0xFFFF0000u);
    EXPECT_EQ(pixelAt(10, 10), 0xFF000000u);
}

TEST_F(DeviceTest, VertexBufferPoolRefusesPastItsLastEntryAndReusesReleased) {
    std::vector<VertexBufferHandle> all;
    for (int i = 0; i < MAX_VERTEX_BUFFERS; i++) {
        VertexBufferHandle b = createVertexBuffer(16, i % 2 == 0);
        ASSERT_TRUE(b) << i;
        all.push_back(b);
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(createVertexBuffer(16, false), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "reached MAX_BUFFERS for VB\n");

    releaseBuffer(all[1234]);
    EXPECT_EQ(createVertexBuffer(32, true), all[1234]);
    EXPECT_EQ(bufferSize(all[1234]), 32);

    // A resize recreates the dynamic entries under their handles: the pool stays full.
    EXPECT_TRUE(resizeDevice(width, height - 10, false));
    EXPECT_EQ(createVertexBuffer(16, false), nullptr);
}

TEST_F(DeviceTest, TextureUploadSamplingAndAlphaTest) {
    // 2 x 1 texels: left transparent, right opaque green; point-sampled over the window.
    TextureHandle t = createTexture(2, 1, 1, 0, FormatArgb8, PoolManaged);
    int pitch = 0;
    uint32_t* texels = (uint32_t*)lockTexture(t, true, &pitch);
    ASSERT_TRUE(texels);
    EXPECT_EQ(pitch, 8);
    texels[0] = 0x00FF0000;
    texels[1] = 0xFF00C000;
    unlockTexture(t);

    setBackBufferTarget();
    clearAll(0xFF202020);
    bindShader(loadShader("postfx_none.sh", nullptr));
    bindTexture(0, t);
    setSamplerFilter(0, false);
    setAlphaTest(1);
    drawFullScreenQuad();
    setAlphaTest(0);
    EXPECT_EQ(pixelAt(width / 4, height / 2), 0xFF202020u);  // discarded
    EXPECT_EQ(pixelAt(width * 3 / 4, height / 2), 0xFF00C000u);

    // Without the test the transparent texel is written (no blending).
    drawFullScreenQuad();
    EXPECT_EQ(pixelAt(width / 4, height / 2), 0xFFFF0000u);
}

TEST_F(DeviceTest, TextureFormatCodes) {
    for (int code = 1; code <= 8; code++) EXPECT_TRUE(createTexture(16, 8, 1, 0, code, PoolManaged)) << code;
    testing::internal::CaptureStdout();
    EXPECT_EQ(createTexture(16, 8, 1, 0, 9, PoolManaged), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "error creating texture (code 0x00000500)\n");
}

TEST_F(DeviceTest, DefinesSelectTheCacheFileAndReachTheShader) {
    ShaderHandle s = loadShader("test_defines.sh", "A=1\0B\0");
    setBackBufferTarget();
    clearAll(0xFF000000);
    bindShader(s);
    drawFullScreenQuad();
    EXPECT_EQ(pixelAt(5, 5), 0xFF01FF00u);
}

TEST_F(DeviceTest, FencesNeverWaitAndSkipInsteadOfBlocking) {
    static int drawn;
    drawn = 0;
    setFrameDrawer([](float) {
        drawn++;
        clearAll(0xFF123456);
    });
    // The first two frames never wait.
    EXPECT_TRUE(renderFrame(0));
    EXPECT_TRUE(renderFrame(0));
    int presented = 2;
    presentFrame();
    for (int i = 0; i < 20; i++)
        if (renderFrame(0)) {
            presentFrame();
            presented++;
        }
    setFrameDrawer(nullptr);
    EXPECT_EQ(drawn, presented);
    EXPECT_GT(presented, 2);
}
