#include "bindings.h"
#include "find_button.h"
#include "game_fixture.h"
#include "main_loop.h"
#include "pause.h"
#include "recording_services.h"
#include "temp_settings.h"

struct PauseRecordingServices : RecordingServices {
    bool effectsHeld = false;
    void pauseEffects(bool paused) override { effectsHeld = paused; }
};

// The pause screen's buttons and keys, through the logic alone.
class PauseTest : public GameTest {
protected:
    TempSettings settings;
    PauseRecordingServices rec;
    void SetUp() override {
        GameTest::SetUp();
        setSoundServices(&rec);
        soundVolume = SoundVolume();
        applyVolume();
        pauseState.pauseOnFocusLoss = true;
    }
    void TearDown() override {
        resumeGame();
        takePendingActions();
        quitRequested = false;
        soundVolume = SoundVolume();
        setSoundServices(nullptr);
        GameTest::TearDown();
    }
    // One paused tick with the keys queued since the last.
    void tick() {
        pausedStep(readStepInputFromKeys());
        inputEndStep();
    }
    void press(int vk) { pushInput(InputKeyDown, (uint32_t)vk, 0, 0, 0, 0); }
};

TEST_F(PauseTest, EffectsHoldMusicHalvesAndEveryButtonDoesItsJob) {
    pauseGame();
    ASSERT_TRUE(pauseState.paused && pauseState.screen);
    EXPECT_TRUE(rec.effectsHeld);
    EXPECT_EQ(rec.musicVolume, 30);
    EXPECT_EQ(rec.effectsVolume, 80);

    struct Case {
        int32_t command;
        int effects, music;
        uint32_t storedFocusLoss;  // 999: not stored
        bool controls;
    } cases[] = {
        {CmdEffectsDown, 70, 60, 999, false}, {CmdEffectsUp, 80, 60, 999, false},
        {CmdMusicDown, 80, 50, 999, false},   {CmdMusicUp, 80, 60, 999, false},
        {CmdFocusLoss, 80, 60, 0, false},     {CmdControls, 80, 60, 0, true},
        {CmdBack, 80, 60, 0, false},          {CmdFocusLoss, 80, 60, 1, false},
    };
    for (const Case& c : cases) {
        GuiBox* b = findButton(pauseState.screen->root, c.command);
        ASSERT_TRUE(b) << "button " << c.command;
        clickBox(b);
        tick();
        EXPECT_EQ(effectsVolume(), c.effects) << c.command;
        EXPECT_EQ(musicVolume(), c.music) << c.command;
        EXPECT_EQ(rec.musicVolume, c.music / 2) << "still half while paused";
        EXPECT_EQ(TempSettings::stored("pause_on_focus_loss"), c.storedFocusLoss) << c.command;
        EXPECT_EQ(pauseState.controls, c.controls) << c.command;
        EXPECT_TRUE(pauseState.paused);
    }

    // Esc leaves Controls for the pause screen, then resumes.
    pauseCommand(CmdControls);
    tick();
    press(VK_ESCAPE);
    tick();
    EXPECT_FALSE(pauseState.controls);
    EXPECT_TRUE(pauseState.paused);
    press(VK_ESCAPE);
    tick();
    EXPECT_FALSE(pauseState.paused);
    EXPECT_FALSE(rec.effectsHeld);
    EXPECT_EQ(rec.musicVolume, 60);
    EXPECT_EQ(takePendingActions(), 0u) << "Esc on the pause screen does not restart";

    // Restart level resumes and leaves the restart to the next step.
    pauseGame();
    pauseCommand(CmdRestartLevel);
    EXPECT_FALSE(pauseState.paused);
    EXPECT_EQ(takePendingActions(), (uint32_t)ActionRestartLevel);
    pauseGame();
    pauseCommand(CmdQuit);
    EXPECT_TRUE(quitRequested);

    // Focus loss pauses only with the option on.
    resumeGame();
    setPauseOnFocusLoss(false);
    focusLost();
    EXPECT_FALSE(pauseState.paused);
    setPauseOnFocusLoss(true);
    readPauseSettings();
    EXPECT_TRUE(pauseState.pauseOnFocusLoss);
    focusLost();
    EXPECT_TRUE(pauseState.paused);
}

// Keys alone work the pause and Controls screens; a mouse button bound to an
// action acts as that action only off the screen's buttons; refused keys and
// failed volume saves are said.
TEST_F(PauseTest, KeysAloneWorkTheScreensAndClicksOnButtonsOnlyPressThem) {
    ASSERT_TRUE(bindKey(BindPause, VK_LBUTTON));
    settings.blockWrites();
    pauseGame();
    enum { NoClick = 0, OffButtons = -1 };
    struct Step {
        int key;
        bool shift;
        int32_t click;
        int32_t focused;  // 0: not looked at
        bool controls, paused;
        const char* logged;
    } steps[] = {
        {VK_DOWN, false, NoClick, CmdResume, false, true, ""},  // the first key only shows the focus
        {VK_TAB, false, NoClick, CmdEffectsDown, false, true, ""},
        {VK_TAB, true, NoClick, CmdResume, false, true, ""},
        {VK_UP, false, NoClick, CmdQuit, false, true, ""},
        {VK_RIGHT, false, NoClick, CmdResume, false, true, ""},
        {VK_LEFT, false, NoClick, CmdQuit, false, true, ""},
        {VK_UP, false, NoClick, CmdRestartLevel, false, true, ""},
        {VK_UP, false, NoClick, CmdControls, false, true, ""},
        {VK_RETURN, false, NoClick, 0, true, true, ""},
        {0, false, CmdBack, 0, false, true, ""},  // the left button gives Pause, but it hit a button
        {0, false, CmdEffectsUp, 0, false, true, "can't store volume"},
        {VK_OEM_PLUS, false, NoClick, 0, false, true, "can't store volume"},
        {0, false, CmdMusicDown, 0, false, true, "can't store music"},
        {0, false, CmdControls, 0, true, true, ""},
        {VK_SPACE, false, NoClick, CmdBindRow + BindRunLeft, true, true, ""},
        {VK_SPACE, false, NoClick, 0, true, true, ""},  // Run left waits for a key
        {VK_F3, false, NoClick, 0, true, true, "can't bind F3 to run_left"},
        {0, false, OffButtons, 0, false, true, ""},  // off the buttons the left button pauses: back
        {0, false, OffButtons, 0, false, false, ""},
    };
    for (const Step& s : steps) {
        testing::internal::CaptureStdout();
        input.held[VK_SHIFT] = s.shift;
        if (s.key) {
            input.held[s.key] = true;
            press(s.key);
        } else if (s.click == OffButtons) {
            pushInput(InputMove, 0, 0, 0, 2, 2);
            input.held[VK_LBUTTON] = true;
            pushInput(InputButtonDown, VK_LBUTTON, 0, 0, 2, 2);
            input.held[VK_LBUTTON] = false;
            pushInput(InputButtonUp, VK_LBUTTON, 0, 0, 2, 2);
        } else if (s.click) {
            GuiBox* b = findButton(pauseState.screen->root, s.click);
            ASSERT_TRUE(b) << s.click;
            clickBox(b);
        }
        tick();
        if (s.key) {
            input.held[s.key] = false;
            pushInput(InputKeyUp, (uint32_t)s.key, 0, 0, 0, 0);
            tick();
        }
        std::string log = testing::internal::GetCapturedStdout();
        int step = (int)(&s - steps);
        EXPECT_EQ(pauseState.controls, s.controls) << "step " << step;
        EXPECT_EQ(pauseState.paused, s.paused) << "step " << step;
        EXPECT_NE(log.find(s.logged), std::string::npos) << "step " << step << ": " << log;
        if (s.focused) {
            EXPECT_TRUE(pauseState.focus.visible) << "step " << step;
            GuiBox* f = pauseState.focus.focused(pauseState.screen);
            EXPECT_EQ(f ? f->commandId : -1, s.focused) << "step " << step;
        }
        if (s.key == VK_F3) {
            GuiBox* row = findButton(pauseState.screen->root, CmdBindRow + BindRunLeft);
            EXPECT_STREQ(row->children[0]->text, "F3 can't be bound");
            EXPECT_EQ(bindings[BindRunLeft][0], 'A');
        }
    }
    input.held[VK_SHIFT] = false;
    resetBindingsToDefaults();
}
