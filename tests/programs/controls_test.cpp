// Pause, rebinding and gamepads in the real game: window, event pump, step
// input, screens and drawing are the program's own; the test plays through
// the X server and a virtual pad, and saves screenshots to look at.
#include <gtest/gtest.h>
#include <cstring>
#include "input_sampling.h"
#include "bindings.h"
#include "find_button.h"
#include "game_in_process.h"
#include "game_mode.h"
#include "hero.h"
#include "hero_step.h"
#include <cmath>
#include "level.h"
#include "pause.h"
#include "progress.h"
#include "random.h"
#include "robots.h"
#include "screen_modes.h"
#include "sdl_gamepad.h"
#include "settings.h"
#include "shots.h"
#include "virtual_pad.h"
#include "world.h"

struct ControlsRun : ::testing::Test {
    static void SetUpTestSuite() { GameInProcess::start(); }
    static void TearDownTestSuite() { endGame(); }

    static void tick() { GameInProcess::tick(); }
    static void ticks(int n) { GameInProcess::ticks(n); }
    template <class Cond>
    static bool tickUntil(Cond c, int limit = 300) {
        return GameInProcess::tickUntil(c, limit);
    }
    static void click(GuiScreen* screen, int32_t command) {
        GuiBox* b = findButton(screen->root, command);
        ASSERT_TRUE(b) << "no button " << command;
        const GuiRect& r = b->paddingRect;
        GameInProcess::clickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // A fresh layout A with the same robots every time.
    static void freshLevel() {
        gameRandom.seed(4242);
        levelNumber = 1;
        setGameMode(&playMode);
        restartLevel();
        tick();
    }
    // Pad buttons take a tick to be seen; a press is down for one tick.
    static void press(VirtualPad& pad, SDL_GameControllerButton b) {
        pad.button(b, true);
        tick();
        pad.button(b, false);
        tick();
    }
};

// Everything the world is made of, byte for byte.
struct WorldCopy {
    Hero h;
    std::string robotBytes, shotBytes, particleBytes;
    bool exitReached;
    static WorldCopy take() {
        WorldCopy w;
        w.h = hero;
        w.robotBytes.assign((const char*)robots.begin(), robots.num * sizeof(Robot));
        w.shotBytes.assign((const char*)shots.begin(), shots.num * sizeof(Shot));
        w.particleBytes.assign((const char*)particles.begin(), particles.num * sizeof(Particle));
        w.exitReached = levelExitReached;
        return w;
    }
    bool operator==(const WorldCopy& o) const {
        return memcmp(&h, &o.h, sizeof h) == 0 && robotBytes == o.robotBytes && shotBytes == o.shotBytes &&
               particleBytes == o.particleBytes && exitReached == o.exitReached;
    }
};

TEST_F(ControlsRun, PadRunsJumpsAimsFiresPausesRumblesAndLetsGo) {
    VirtualPad pad;
    ASSERT_TRUE(pad.attach());
    ASSERT_TRUE(tickUntil([] { return readGamepads().connected; }));
    freshLevel();

    // Left stick right: the hero runs right.
    float x0 = hero.position.x;
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 1.0f);
    ticks(20);
    EXPECT_GT(hero.position.x, x0 + 20);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    ASSERT_TRUE(tickUntil([] { return hero.onGround && hero.vx == 0; }));

    // South jumps.
    float y0 = hero.position.y;
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    ticks(3);
    EXPECT_GT(hero.position.y, y0 + 2);
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    ASSERT_TRUE(tickUntil([] { return hero.onGround; }));

    // Right stick up-left plus the trigger: shots fly up-left; the
    // crosshair stays there while the stick rests.
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, -0.7f);
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, -0.7f);
    tick();
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, 0);
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 1.0f);
    ASSERT_TRUE(tickUntil([] { return shots.num > 0; }, 5));
    EXPECT_LT(shots[0].velocity.x, -100);
    EXPECT_GT(shots[0].velocity.y, 100);
    EXPECT_TRUE(aimSource.fromPad);
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
    tick();
    EXPECT_TRUE(GameInProcess::saveShot("pad_aim_up_left"));
    // Moving the mouse gives the aim back to the pointer.
    GameInProcess::xdotool("mousemove --sync --window %w 900 300");
    EXPECT_TRUE(tickUntil([] { return !aimSource.fromPad; }, 50));

    // Start pauses and resumes; the d-pad shows the focus on the screen.
    press(pad, SDL_CONTROLLER_BUTTON_START);
    ASSERT_TRUE(pauseState.paused);
    press(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_TRUE(pauseState.focus.visible);
    EXPECT_TRUE(GameInProcess::saveShot("pad_pause_screen"));
    press(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_FALSE(pauseState.paused);

    // A lost heart shakes the pad.
    int hearts = hero.health, rumbles = pad.rumbles;
    hero.hurtTimer = 0;
    touchHero();
    tick();
    EXPECT_EQ(hero.health, hearts - 1);
    EXPECT_GT(pad.rumbles, rumbles);

    // Unplugged mid-jump while running: nothing stays held.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 1.0f);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    ticks(2);
    EXPECT_TRUE(stepInput.held & ActionRunRight);
    pad.detach();
    tick();
    EXPECT_FALSE(readGamepads().connected);
    EXPECT_EQ(stepInput.held, 0u);
    EXPECT_TRUE(stepInput.released & ActionRunRight);
    EXPECT_TRUE(stepInput.released & ActionJump);
}

TEST_F(ControlsRun, PausedWorldStandsStillAndGoesOnExactly) {
    VirtualPad pad;
    ASSERT_TRUE(pad.attach());
    ASSERT_TRUE(tickUntil([] { return readGamepads().connected; }));

    // Without a pause: 30 steps.
    freshLevel();
    ticks(30);
    WorldCopy straight = WorldCopy::take();

    // The same 30 steps with 40 paused ticks after the 20th.
    freshLevel();
    ticks(20);
    WorldCopy before = WorldCopy::take();
    pad.button(SDL_CONTROLLER_BUTTON_START, true);
    tick();  // the step that sees Start does not run
    ASSERT_TRUE(pauseState.paused);
    pad.button(SDL_CONTROLLER_BUTTON_START, false);
    for (int i = 0; i < 40; i++) {
        tick();
        ASSERT_TRUE(WorldCopy::take() == before) << "paused tick " << i;
    }
    EXPECT_TRUE(GameInProcess::saveShot("pause_screen"));
    pad.button(SDL_CONTROLLER_BUTTON_START, true);
    tick();
    pad.button(SDL_CONTROLLER_BUTTON_START, false);
    ASSERT_FALSE(pauseState.paused);
    EXPECT_TRUE(WorldCopy::take() == before);
    ticks(10);
    EXPECT_TRUE(WorldCopy::take() == straight);

    // P pauses too; Esc on the pause screen resumes.
    GameInProcess::xdotool("key p");
    ASSERT_TRUE(tickUntil([] { return pauseState.paused; }));
    GameInProcess::xdotool("key Escape");
    ASSERT_TRUE(tickUntil([] { return !pauseState.paused; }));
    pad.detach();
}

TEST_F(ControlsRun, FocusLossPausesTheWindow) {
    ASSERT_TRUE(tickUntil([] { return gameWindow.hadFocus; })) << "the game window never got the focus";
    SDL_Window* other = SDL_CreateWindow("other", 0, 0, 200, 200, SDL_WINDOW_SHOWN);
    ASSERT_TRUE(other);
    auto focus = [](SDL_Window* w) {
        SDL_RaiseWindow(w);
        SDL_SetWindowInputFocus(w);
    };

    focus(other);
    EXPECT_TRUE(tickUntil([] { return pauseState.paused; }));
    focus(gameWindow.window);
    ASSERT_TRUE(tickUntil([] { return gameWindow.focused; }));
    EXPECT_TRUE(pauseState.paused) << "focus coming back does not resume";

    resumeGame();
    SDL_DestroyWindow(other);
}

TEST_F(ControlsRun, RebindByClicksAndKeysStoredReadBackAndPlayed) {
    freshLevel();
    GameInProcess::xdotool("windowfocus --sync %w");
    GameInProcess::xdotool("key p");
    ASSERT_TRUE(tickUntil([] { return pauseState.paused; }));
    click(pauseState.screen, CmdControls);
    ASSERT_TRUE(tickUntil([] { return pauseState.controls; }));

    // Jump's three slots are full: K takes the last one.
    click(pauseState.screen, CmdBindRow + BindJump);
    ASSERT_TRUE(tickUntil([] { return pauseState.waitingRow == BindJump; }));
    tick();
    EXPECT_TRUE(GameInProcess::saveShot("controls_waiting_for_key"));
    GameInProcess::xdotool("key k");
    ASSERT_TRUE(tickUntil([] { return pauseState.waitingRow < 0; }));
    EXPECT_EQ(bindings[BindJump][0], 'W');
    EXPECT_EQ(bindings[BindJump][2], 'K');
    uint32_t v = 0;
    ASSERT_TRUE(readSettingDword("bind_jump_3", &v));
    EXPECT_EQ(v, (uint32_t)'K');

    // A on Run right moves it from Run left.
    click(pauseState.screen, CmdBindRow + BindRunRight);
    ASSERT_TRUE(tickUntil([] { return pauseState.waitingRow == BindRunRight; }));
    GameInProcess::xdotool("key a");
    ASSERT_TRUE(tickUntil([] { return pauseState.waitingRow < 0; }));
    EXPECT_EQ(bindings[BindRunLeft][0], VK_LEFT);
    EXPECT_EQ(bindings[BindRunLeft][1], 0);
    EXPECT_EQ(bindings[BindRunRight][2], 'A');
    ASSERT_TRUE(readSettingDword("bind_run_left_1", &v));
    EXPECT_EQ(v, (uint32_t)VK_LEFT);
    tick();
    EXPECT_TRUE(GameInProcess::saveShot("controls_after_rebinding"));

    // Defaults restores and stores them.
    click(pauseState.screen, CmdDefaults);
    ASSERT_TRUE(tickUntil([] { return bindings[BindRunLeft][0] == 'A'; }));
    ASSERT_TRUE(readSettingDword("bind_run_right_3", &v));
    EXPECT_EQ(v, 0u);

    // Run left on K, back to play, and read back as at the next start.
    click(pauseState.screen, CmdBindRow + BindRunLeft);
    ASSERT_TRUE(tickUntil([] { return pauseState.waitingRow == BindRunLeft; }));
    GameInProcess::xdotool("key k");
    ASSERT_TRUE(tickUntil([] { return pauseState.waitingRow < 0; }));
    GameInProcess::xdotool("key Escape");
    ASSERT_TRUE(tickUntil([] { return !pauseState.controls; }));
    GameInProcess::xdotool("key Escape");
    ASSERT_TRUE(tickUntil([] { return !pauseState.paused; }));
    resetBindingsToDefaults();
    readBindings();
    EXPECT_EQ(bindings[BindRunLeft][2], 'K');

    float x0 = hero.position.x;
    GameInProcess::xdotool("keydown k");
    EXPECT_TRUE(tickUntil([&] { return hero.position.x < x0 - 15; }, 60));
    GameInProcess::xdotool("keyup k");
    restoreDefaultBindings();
}

// Layout A from the start to the exit with the pad alone - running on the
// stick, aiming with the right stick at low, middle and steep points ahead,
// firing on the trigger, jumping when stuck - then every screen after it
// with the d-pad and the south button, and game over restarted with south.
TEST_F(ControlsRun, WholeRunWithThePadAlone) {
    VirtualPad pad;
    ASSERT_TRUE(pad.attach("Couch Pad"));
    ASSERT_TRUE(tickUntil([] { return readGamepads().connected; }));
    newGame();
    freshLevel();
    ASSERT_EQ(robots.num, 7);

    const float padLeft = 77 * 16 + 3, padRight = 77 * 16 + 13;
    static const float aims[][2] = {{12, 0}, {12, 6}, {12, 12}, {8, 18}, {5, 24}, {3, 28}, {12, 3}, {12, 9}, {9, 15}};
    int stuck = 0, s;
    float lastX = hero.position.x;
    for (s = 0; s < 2400 && !levelExitReached; s++) {
        float x = hero.position.x;
        bool onPad = x >= padLeft && x <= padRight;
        Vec4 from = heroWorldShoulder();
        float dx = x + aims[s % 9][0] - from.x, dy = hero.position.y + aims[s % 9][1] - from.y;
        float len = sqrtf(dx * dx + dy * dy);
        pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, dx / len);
        pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, -dy / len);
        pad.axis(SDL_CONTROLLER_AXIS_LEFTX, onPad ? 0.0f : (x < padLeft ? 1.0f : -1.0f));
        pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, onPad ? 0.0f : 1.0f);
        stuck = fabsf(x - lastX) < 0.5f ? stuck + 1 : 0;
        pad.button(SDL_CONTROLLER_BUTTON_A, stuck > 10 && (s / 10) % 2 == 0);
        lastX = x;
        GameInProcess::tick(s % 25 == 0);
        if (s == 300) {
            EXPECT_TRUE(GameInProcess::saveShot("pad_run_layout_a"));
        }
        ASSERT_GT(hero.health, 0) << "hero died at step " << s << " x " << hero.position.x;
    }
    ASSERT_TRUE(levelExitReached) << "stuck at x " << hero.position.x << " y " << hero.position.y;
    printf("layout A with the pad: exit after %d steps with %d hearts\n", s, hero.health);
    pad.release();
    ASSERT_TRUE(tickUntil([] { return currentMode == upgradeMode; }));

    // Upgrade screen: down shows the focus on the first "+", south buys it,
    // up wraps to "GO!", south goes on.
    press(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    press(pad, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(upgradePicks.chosen[0], 1);
    press(pad, SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_TRUE(GameInProcess::saveShot("pad_upgrade_after_buying"));
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    ticks(2);
    ASSERT_EQ(currentMode, &playMode);
    EXPECT_EQ(levelNumber, 2);
    EXPECT_FALSE(stepInput.held & ActionJump) << "the south button that pressed GO! does not jump until let go";
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    tick();
    EXPECT_FALSE(stepInput.released & ActionConfirm);

    // Layout B is not scripted: its exit is taken as reached.
    levelExitReached = true;
    ASSERT_TRUE(tickUntil([] { return currentMode == endDemoMode; }));
    press(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // shows the focus on "Quit"
    press(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(endDemoModeObject().focus.focused(endDemoModeObject().scr)->commandId, 1);
    EXPECT_TRUE(GameInProcess::saveShot("pad_end_screen_focus_on_restart"));
    press(pad, SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(currentMode, &playMode);
    EXPECT_EQ(levelNumber, 1);

    // Game over: south starts again.
    hero.health = 0;
    ASSERT_TRUE(tickUntil([] { return currentMode == &gameOverMode; }));
    ticks(12);
    press(pad, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(currentMode, &playMode);
    EXPECT_GT(hero.health, 0);
    pad.detach();
}
