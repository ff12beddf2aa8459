#include <dirent.h>
#include <string>
#include <vector>
#include "debug_vis.h"
#include "gl_test_support.h"
#include "gpu_load.h"
#include "screenshot.h"
#include "tga.h"

TEST_F(DeviceTest, DebugShapesDrawInTheirColourAndSplitFullBatches) {
    initDebugDraw();
    setBackBufferTarget();
    clearAll(0xFF000000);
    identityConstants();

    beginDebugDraw();
    debugSolidCube({-0.5f, -0.5f, 0.5f}, 0.25f, 0xFFFF8000);
    debugTriangle({0.2f, 0.2f, 0.5f}, {0.8f, 0.2f, 0.5f}, {0.2f, 0.8f, 0.5f}, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00);
    endDebugDraw();
    EXPECT_EQ(pixelAt(width / 4, height / 4), 0xFFFF8000u);  // cube front, not culled
    EXPECT_EQ(pixelAt(width * 3 / 5, height * 3 / 5), 0xFF00FF00u);
    EXPECT_EQ(pixelAt(width * 7 / 8, height / 8), 0xFF000000u);

    // 4096 vertices hold 1365 triangles; the 1366th starts a new draw. A
    // change of primitive type draws what is queued.
    for (int n : {1365, 1366}) {
        uint64_t before = deviceDrawCount();
        beginDebugDraw();
        for (int i = 0; i < n; i++) debugTriangle({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 0, 0, 0);
        endDebugDraw();
        EXPECT_EQ(deviceDrawCount() - before, n == 1365 ? 1u : 2u);
    }
    uint64_t before = deviceDrawCount();
    beginDebugDraw();
    debugWireBox({0, 0, 0}, {-1, 1, 1}, 0xFFFFFFFF);
    debugCross({0, 0, 0}, 1, 0xFFFFFFFF);
    debugSolidCube({0, 0, 0}, 1, 0xFFFFFFFF);
    endDebugDraw();
    EXPECT_EQ(deviceDrawCount() - before, 2u);
    shutdownDebugDraw();
}

static std::vector<std::string> listShots() {
    std::vector<std::string> names;
    char folder[QZ_MAX_PATH];
    resolveAppFile(folder, "shots");
    if (DIR* d = opendir(folder)) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

TEST_F(DeviceTest, ScreenshotOfAKnownFrameReadsBackPixelExact) {
    // A frame of distinct pixels: a texture copied one to one by the post-effect.
    TextureHandle t = createTexture(width, height, 1, 0, FormatArgb8, PoolManaged);
    int pitch = 0;
    uint32_t* texels = (uint32_t*)lockTexture(t, true, &pitch);
    ASSERT_TRUE(texels);
    for (int i = 0; i < width * height; i++) texels[i] = 0xFF000000u | (uint32_t)(i * 2654435761u >> 8);
    texels[0] = 0xFFFF0000;  // the bottom-left pixel is red
    std::vector<uint32_t> expected(texels, texels + width * height);
    unlockTexture(t);

    // The key marks a capture pending; the next presented frame is saved,
    // not the one before the key.
    std::vector<std::string> before = listShots();
    setBackBufferTarget();
    clearAll(0xFF00FF00);
    presentFrame();
    takeScreenshot();
    EXPECT_EQ(listShots(), before) << "nothing is written before the next frame";
    setBackBufferTarget();
    bindShader(loadShader("postfx_none.sh", nullptr));
    bindTexture(0, t);
    setSamplerFilter(0, false);
    drawFullScreenQuad();
    presentFrame();
    std::vector<std::string> after = listShots();
    std::string shot;
    for (const std::string& n : after)
        if (std::find(before.begin(), before.end(), n) == before.end()) shot = n;
    ASSERT_FALSE(shot.empty()) << "no new file in shots/";
    EXPECT_EQ(shot.rfind("shot", 0), 0u);

    int w = 0, h = 0;
    DynArray<uint32_t> pixels;
    ASSERT_TRUE(readTgaFile(("shots/" + shot).c_str(), w, h, pixels));
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    EXPECT_EQ(pixels[0], 0xFFFF0000u);  // first pixel after the header
    int wrong = 0;
    for (int i = 0; i < w * h; i++) wrong += pixels[i] != expected[(size_t)i];
    EXPECT_EQ(wrong, 0);
    char path[QZ_MAX_PATH];
    resolveAppFile(path, ("shots/" + shot).c_str());
    remove(path);
}

TEST(Screenshot, FileNameFromLocalTime) {
    struct tm t = {};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 0;
    t.tm_min = 5;
    t.tm_sec = 9;
    char name[64];
    screenshotFileName(name, sizeof name, &t);
    EXPECT_STREQ(name, "shots/shot2026_12_07_00_05_09.tga");
    screenshotFileName(name, sizeof name, nullptr);
    EXPECT_STREQ(name, "shots/shot.tga");
}

TEST(GpuLoad, NotAvailableWithoutTheVendorLibrary) {
    EXPECT_FALSE(initGpuLoad());
    int percent = 123;
    EXPECT_FALSE(readGpuLoad(&percent));
    EXPECT_EQ(percent, 123);
    shutdownGpuLoad();
}
