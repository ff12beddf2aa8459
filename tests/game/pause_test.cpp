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
