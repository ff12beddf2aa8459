// A scripted window system for input tests: keys are held by setting
// `held`, the cursor is wherever the test puts it.
#pragma once
#include <cstring>
#include "input.h"

struct FakeInputPlatform : InputPlatform {
    bool held[256] = {};
    bool toggled[256] = {};
    bool captured = false;
    int warps = 0;
    int warpX = -1, warpY = -1;
    float cursorX = 0, cursorY = 0;
    bool overWindow = true;
    bool fullscreen = false;
    int width = 1280, height = 720;

    bool keyDown(int vk) override { return vk >= 0 && vk < 256 && held[vk]; }
    bool keyToggled(int vk) override { return vk >= 0 && vk < 256 && toggled[vk]; }
    void captureMouse(bool c) override { captured = c; }
    void warpMouse(int x, int y) override {
        warps++;
        warpX = x;
        warpY = y;
    }
    bool cursorPosition(float* x, float* y) override {
        *x = cursorX;
        *y = cursorY;
        return true;
    }
    bool cursorOverWindow() override { return overWindow; }
    void clampSize(int* w, int* h) override {
        *w = width;
        *h = height;
    }
    bool isFullscreen() override { return fullscreen; }
};
