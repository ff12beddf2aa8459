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

// Keys alone work the pause and Controls screens; the left button, bound to
// Pause, pauses only off the buttons; refusals and failed stores are said.
TEST_F(PauseTest, KeysAloneWorkTheScreensAndClicksOnButtonsOnlyPressThem) {
    ASSERT_TRUE(bindKey(BindPause, VK_LBUTTON));
    bool blocked = settings.blockWrites();  // not on Windows: its registry takes every write
    pauseGame();
    GuiBox corner;  // no button there
    corner.paddingRect = {0, 0, 4, 4};
    struct Step {
        int key;  // or a click on that command's button (0: corner)
        int32_t click, focused;
        bool controls, paused;
        const char* logged;
    } steps[] = {
        {VK_DOWN, 0, CmdResume, false, true, ""},  // the first key only shows the focus
        {VK_TAB, 0, CmdEffectsDown, false, true, ""},   {-VK_TAB, 0, CmdResume, false, true, ""},
        {VK_UP, 0, CmdQuit, false, true, ""},           {VK_LEFT, 0, CmdRestartLevel, false, true, ""},
        {VK_UP, 0, CmdControls, false, true, ""},       {VK_RETURN, 0, 0, true, true, ""},
        {0, CmdBack, 0, false, true, ""},               {0, CmdEffectsUp, 0, false, true, "can't store volume"},
        {VK_OEM_PLUS, 0, 0, false, true, "can't store volume"}, {0, CmdMusicDown, 0, false, true, "can't store music"},
        {0, CmdControls, 0, true, true, ""},            {VK_SPACE, 0, CmdBindRow, true, true, ""},
        {VK_SPACE, 0, 0, true, true, ""},               {VK_F3, 0, 0, true, true, "can't bind F3 to run_left"},
        {0, 0, 0, false, true, ""},                     {0, 0, 0, false, false, ""},
    };
    for (const Step& s : steps) {
        testing::internal::CaptureStdout();
        int vk = s.key < 0 ? -s.key : s.key;
        input.held[VK_SHIFT] = s.key < 0;  // Shift+Tab
        if (vk) input.held[vk] = true, press(vk);
        else clickBox(s.click ? findButton(pauseState.screen->root, s.click) : &corner);
        tick();
        if (vk) input.held[vk] = false, tick();
        int n = (int)(&s - steps);
        std::string out = testing::internal::GetCapturedStdout();
        if (blocked || !strstr(s.logged, "can't store")) { EXPECT_NE(out.find(s.logged), std::string::npos) << n; }
        EXPECT_EQ(pauseState.controls, s.controls) << n;
        EXPECT_EQ(pauseState.paused, s.paused) << n;
        GuiBox* f = pauseState.focus.visible ? pauseState.focus.focused(pauseState.screen) : nullptr;
        if (s.focused) { EXPECT_EQ(f ? f->commandId : -1, s.focused) << n; }
        if (vk == VK_F3) { EXPECT_STREQ(findButton(pauseState.screen->root, CmdBindRow)->children[0]->text, "F3 can't be bound"); }
    }
    input.held[VK_SHIFT] = false;
    resetBindingsToDefaults();
}
