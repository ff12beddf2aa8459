// A real window and device for tests that read pixels back (run under Xvfb
// with the software renderer).
#pragma once
#include <gtest/gtest.h>
#include <epoxy/gl.h>
#include <cstdlib>
#include "device.h"
#include "gl_window.h"
#include "platform_window.h"
#include "qz_utils.h"

struct DeviceTest : ::testing::Test {
    SDL_Window* window = nullptr;
    int width = 320, height = 240;

    void SetUp() override {
        // Death tests re-run the test from the start, so the child has its own device.
        ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
        initAppPath();
        optAntiAlias = false;
        optVSync = false;
        isFullscreen = false;
        window = createDeviceWindow("gfx test", 100, 100, width, height, 0);
        ASSERT_TRUE(initDevice(window, width, height));
    }
    void TearDown() override {
        closeDevice();
        destroyDeviceWindow(window);
    }

    // ARGB of the pixel of the bound target, rows counted from the bottom.
    static uint32_t pixelAt(int x, int y) {
        uint32_t p = 0;
        glReadPixels(x, y, 1, 1, GL_BGRA, GL_UNSIGNED_BYTE, &p);
        return p;
    }
    // c0-c3 = identity: positions are clip coordinates.
    static void identityConstants() {
        Mat4 m = identityMatrix();
        setVertexConstants(0, &m.m[0][0], 4);
    }
};
