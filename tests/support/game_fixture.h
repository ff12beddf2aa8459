// Shared set-up for game logic tests: a fake window system, a 1280 x 720
// camera, a fixed random seed and a fresh game in the play mode.
#pragma once
#include <cstring>
#include <gtest/gtest.h>
#include "camera.h"
#include "fake_gui_renderer.h"
#include "fake_input_platform.h"
#include "gui_behaviour.h"
#include "screen_build.h"
#include "screen_modes.h"
#include "game_step.h"
#include "hero.h"
#include "hero_step.h"
#include "input_sampling.h"
#include "level.h"
#include "progress.h"
#include "random.h"
#include "recorded_run.h"
#include "run_state.h"
#include "state_hash.h"
#include "robots.h"
#include "shots.h"
#include "step_input.h"
#include "world.h"

class GameTest : public ::testing::Test {
protected:
    FakeInputPlatform input;
    FakeGuiRenderer gui;  // measures text as 6 x 8 pixels per character
    static constexpr float dt = 0.05f;

    void SetUp() override {
        gui.w = 1280;
        gui.h = 720;
        gameGuiRenderer = &gui;
        registerStandardBehaviours();
        registerScreenModes();
        inputInit(&input);
        inputEndStep();
        testing::internal::CaptureStdout();
        computePixelScale(1280, 720);
        testing::internal::GetCapturedStdout();
        resetRunState(12345);
        updateStepCamera();
    }
    void TearDown() override {
        setGameMode(nullptr);
        inputEndStep();
        // Screens normally go in the update after their mode was left.
        delete upgradeModeObject().scr;
        upgradeModeObject().scr = nullptr;
        delete endDemoModeObject().scr;
        endDemoModeObject().scr = nullptr;
    }

    // A left click in the middle of a laid-out box, queued for the next step.
    void clickBox(GuiBox* box) {
        float x = (box->paddingRect.left + box->paddingRect.right) / 2;
        float y = (box->paddingRect.top + box->paddingRect.bottom) / 2;
        pushInput(InputMove, 0, 0, 0, x, y);
        input.held[VK_LBUTTON] = true;
        pushInput(InputButtonDown, VK_LBUTTON, 0, 0, x, y);
        input.held[VK_LBUTTON] = false;
        pushInput(InputButtonUp, VK_LBUTTON, 0, 0, x, y);
    }

    // One fixed step as the main loop runs it, then the camera placement a
    // drawn frame would make (the view follows the hero only through frames).
    // With a recorder set, every step is recorded as the program does it.
    RunRecorder* recorder = nullptr;
    void step() {
        int32_t modeBefore = currentModeNumber();
        gameStep(dt);
        if (recorder) recorder->afterStep(modeBefore);
        inputEndStep();
        interpolateCamera(0.025f);
    }
    void steps(int n) {
        for (int i = 0; i < n; i++) step();
    }
    // Also into the running step's input, for tests that call sub-steps directly.
    void hold(int vk, bool down) {
        input.held[vk] = down;
        stepInput.held = heldActionsFromKeys();
    }
    void release(int vk) {
        input.held[vk] = false;
        pushInput(InputKeyUp, (uint32_t)vk, 0, 0, 0, 0);
    }
    // Puts the pointer on the screen pixel that shows world point p.
    void pointAt(Vec4 p) {
        updateStepCamera();  // the view the next step will aim through
        Vec4 c = transform({p.x, p.y, p.z, 1}, camera.stepViewProjection);
        float W = (float)camera.width, H = (float)camera.height;
        float mx = (c.x / c.w + 1) * W / 2;
        float my = H - 1 - (c.y / c.w + 1) * H / 2;
        pushInput(InputMove, 0, 0, 0, mx, my);
    }
    // One step of the scripted player of layout A: run right, fire ahead at
    // low, middle and steep points so the tunnel clears the hero's head as
    // well as its feet, jump when stuck, stop on the exit pad.
    int botStuck = 0;
    float botLastX = 0;
    struct {
        int right, left, fire, jump;
    } botKeys = {'D', 'A', VK_LBUTTON, 'W'};
    void botStep(int s) {
        const float padLeft = 77 * 16 + 3, padRight = 77 * 16 + 13;
        float x = hero.position.x;
        bool onPad = x >= padLeft && x <= padRight;
        static const float aims[][2] = {{12, 0}, {12, 6}, {12, 12}, {8, 18}, {5, 24}, {3, 28}, {12, 3}, {12, 9}, {9, 15}};
        pointAt({x + aims[s % 9][0], hero.position.y + aims[s % 9][1], hero.position.z, 1});
        hold(botKeys.right, !onPad && x < padLeft);
        hold(botKeys.left, !onPad && x > padRight);
        hold(botKeys.fire, !onPad);
        botStuck = fabsf(x - botLastX) < 0.5f ? botStuck + 1 : 0;
        hold(botKeys.jump, botStuck > 10 && (s / 10) % 2 == 0);
        botLastX = x;
        step();
    }

    // An empty level with a floor (top at y = 32) and a wall at x 400..420,
    // no robots, shots or particles, and the hero settled on the floor at x 200.
    void flatFloorWithHero() {
        memset(levelGrid, 0, LEVEL_CELLS);
        robots.clear();
        particles.clear();
        shots.clear();
        fill(0, 0, 4095, 31, Wall);
        fill(400, 32, 420, 120, Wall);
        placeHero(200, 32);
        steps(2);
    }

    // Every cell of the box through all layers set to v, whatever it held.
    static void fill(int x0, int y0, int x1, int y1, uint8_t v) {
        for (int z = 0; z < LEVEL_SIZE_Z; z++)
            for (int y = y0; y <= y1; y++) memset(levelGrid + levelIndex(x0, y, z), v, (size_t)(x1 - x0 + 1));
    }
};
