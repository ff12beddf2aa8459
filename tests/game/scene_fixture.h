// A real 1280 x 720 window, device, font and scene with layout A in the
// play mode, shared by the tests of one suite (run under Xvfb with the
// software renderer). Pixels are read back from the back buffer after a
// frame, rows counted from the bottom.
#pragma once
#include <gtest/gtest.h>
#include <epoxy/gl.h>
#include "camera.h"
#include "device.h"
#include "draw_world.h"
#include "fake_input_platform.h"
#include "font.h"
#include "gl_window.h"
#include "hero.h"
#include "level.h"
#include "qz_utils.h"
#include "random.h"
#include "scene.h"
#include "tga.h"
#include "voxel_cache.h"
#include "world.h"

struct SceneTest : ::testing::Test {
    static SDL_Window* window;
    static FakeInputPlatform input;
    static RenderServices services;
    static constexpr int W = 1280, H = 720;

    static void SetUpTestSuite() {
        initAppPath();
        optAntiAlias = false;
        optVSync = false;
        optFastVoxels = false;
        isFullscreen = false;
        input.overWindow = false;
        inputInit(&input);
        refreshCursorInside();
        window = createDeviceWindow("scene test", 0, 0, W, H, 0);
        ASSERT_TRUE(initDevice(window, W, H));
        initFont();
        gameRandom.seed(12345);
        setViewServices(&services);
        initScene();
    }
    static void TearDownTestSuite() {
        shutdownScene();
        setViewServices(nullptr);
        shutdownFont();
        closeDevice();
        destroyDeviceWindow(window);
    }

    // Centres the view on (x, y) for the next frame.
    static void lookAt(float x, float y) {
        cameraFollow[0] = cameraFollow[1] = {x, y, 0, 1};
        cameraPosition = cameraFollow[0];
    }
    static void frame() {
        ASSERT_TRUE(renderFrame(0.0f));
        glFinish();
    }
    static uint32_t pixelAt(int x, int y) {
        uint32_t p = 0;
        glReadPixels(x, y, 1, 1, GL_BGRA, GL_UNSIGNED_BYTE, &p);
        return p | 0xFF000000u;
    }
    // Screen pixel (bottom-up rows) where the camera puts voxel (x, y) of
    // the front plane: the pixel at the voxel's bottom-left corner. The eye
    // sits half a pixel right of and above the camera point, on the centre
    // of pixel (W/2, H/2) counted from the top.
    static void voxelPixel(int x, int y, int* px, int* py) {
        Vec4 eye = eyePositionFor(cameraPosition);
        int s = camera.pixelScale;
        *px = (int)lrintf(((float)x - eye.x) * (float)s + (float)W / 2.0f + 0.5f);
        *py = (int)lrintf(((float)y - eye.y) * (float)s + (float)H / 2.0f - 0.5f);
    }
    // Whether a pixel shows a (shaded) palette colour: one brightness factor
    // within the shader's range explains all three channels.
    static bool looksLike(uint32_t pixel, uint32_t colour, float minK = 0.4f, float maxK = 1.3f) {
        int p[3] = {(int)(pixel >> 16 & 255), (int)(pixel >> 8 & 255), (int)(pixel & 255)};
        int c[3] = {(int)(colour >> 16 & 255), (int)(colour >> 8 & 255), (int)(colour & 255)};
        float k = (float)(p[0] + p[1] + p[2]) / (float)(c[0] + c[1] + c[2]);
        if (k < minK || k > maxK) return false;
        for (int i = 0; i < 3; i++) {
            float expect = (float)c[i] * k;
            if (expect > 255) expect = 255;
            if (fabsf((float)p[i] - expect) > 14.0f) return false;
        }
        return true;
    }
    // The back buffer as a TGA in bin/, for looking at.
    static void saveFrame(const char* name) {
        static uint32_t rows[W * H], topDown[W * H];
        glReadPixels(0, 0, W, H, GL_BGRA, GL_UNSIGNED_BYTE, rows);
        for (int y = 0; y < H; y++)
            for (int x = 0; x < W; x++) topDown[(H - 1 - y) * W + x] = rows[y * W + x] | 0xFF000000u;
        writeTgaFile(name, topDown, W, H, W * 4);
    }
};
