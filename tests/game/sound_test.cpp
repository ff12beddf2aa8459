#include <cstdlib>
#include <functional>
#include <string>
#include "framing_modes.h"
#include "game_fixture.h"
#include "recording_services.h"
#include "settings.h"
#include "temp_settings.h"
#include "volume_display.h"

// The hero on a flat floor (top at y = 32) with a wall at x 400..420, and
// every sound event the world raises recorded.
class SoundTest : public GameTest {
protected:
    RecordingServices rec;
    void SetUp() override {
        memset(input.held, 0, sizeof input.held);
        GameTest::SetUp();
        setSoundServices(&rec);
        flatFloorWithHero();
        rec.clear();
    }
    void TearDown() override {
        setSoundServices(nullptr);
        GameTest::TearDown();
    }
};

struct Heard {
    SoundEffect effect;
    float x, y;
};

TEST_F(SoundTest, EachActionRaisesItsEventsWhereItHappens) {
    struct Case {
        const char* name;
        std::function<void()> act;
        int steps;
        std::vector<Heard> heard;  // in order; positions within 3 voxels
    };
    auto fireAt = [&](float x, float y) {
        pointAt({x, y, 8, 1});
        hold(VK_LBUTTON, true);
    };
    const Case cases[] = {
        {"standing still", [] {}, 10, {}},
        // The shot leaves 4 voxels ahead of the shoulder (2 ahead of the feet centre, 8 up).
        {"shot", [&] { fireAt(300, 40); }, 1, {{SoundShot, 206, 40}}},
        {"crater", [&] { spawnShot(1, &hero, {300, 100, 8, 1}, {200, 0, 0, 0}, 0); }, 12, {{SoundCrater, 400, 100}}},
        {"robot hit and burst",
         [&] {
             spawnRobot(17, 4);  // feet at (280, 64), in the air above the floor
             spawnShot(1, &hero, {250, 70, 8, 1}, {200, 0, 0, 0}, 0);
         },
         3,  // it walks left and falls a little meanwhile
         {{SoundRobotHit, 278, 62}, {SoundRobotBurst, 278, 62}}},
        {"hero hurt", [&] { spawnRobot((211.0f - 8) / 16, 2); }, 3, {{SoundHeroHurt, 200, 32}}},
        {"hero death",
         [&] {
             hero.health = 1;
             spawnRobot((211.0f - 8) / 16, 2);
         },
         3,
         {{SoundHeroDeath, 200, 32}}},
        {"jump", [&] { hold('W', true); }, 1, {{SoundJump, 200, 32}}},
        {"landing after a jump",
         [&] {
             hold('W', true);
             step();
             hold('W', false);
         },
         16,
         {{SoundJump, 200, 32}, {SoundLanding, 200, 32}}},
        {"landing after a fall", [&] { placeHero(200, 90); }, 12, {{SoundLanding, 200, 32}}},
        {"kerb is no landing", [&] { placeHero(200, 34); }, 4, {}},
        {"fall out of the level", [&] { fill(150, 0, 250, 31, Empty); }, 60, {{SoundHeroDeath, 200, -405}}},
        {"exit pad, then the lift",
         [&] { fill(190, 16, 210, 31, Exit); },
         10,
         {{SoundExitReached, 200, 32}, {SoundLiftRide, 200, 31}}},
    };
    for (const Case& c : cases) {
        SetUp();
        c.act();
        steps(c.steps);
        ASSERT_EQ(rec.sounds.size(), c.heard.size()) << c.name;
        for (size_t i = 0; i < c.heard.size(); i++) {
            EXPECT_EQ(rec.sounds[i].effect, c.heard[i].effect) << c.name << " #" << i;
            EXPECT_NEAR(rec.sounds[i].at.x, c.heard[i].x, 3) << c.name << " #" << i;
            EXPECT_NEAR(rec.sounds[i].at.y, c.heard[i].y, 3) << c.name << " #" << i;
        }
        TearDown();
    }
    SetUp();
}

// During game over the world goes on but the hero is gone: flying shots
// still dig and burst robots, and no key brings a hero sound.
TEST_F(SoundTest, GameOverRaisesOnlyTheWorldsEvents) {
    hero.health = 0;
    step();
    ASSERT_EQ(currentMode, &gameOverMode);
    EXPECT_EQ(rec.tunes, std::vector<MusicTrack>{MusicNone});
    spawnRobot(17, 2);
    spawnShot(1, &hero, {260, 40, 8, 1}, {200, 0, 0, 0}, 0);
    spawnShot(1, &hero, {300, 100, 8, 1}, {200, 0, 0, 0}, 0);
    rec.clear();
    pointAt({300, 40, 8, 1});
    for (int vk : {(int)VK_LBUTTON, (int)'W', (int)'D'}) hold(vk, true);  // held, never released: no restart
    steps(40);
    std::vector<SoundEffect> heard = rec.effects();
    EXPECT_EQ(heard, (std::vector<SoundEffect>{SoundRobotHit, SoundRobotBurst, SoundCrater}));
    EXPECT_EQ(currentMode, &gameOverMode);
}

TEST_F(SoundTest, LevelsScreensAndTheirTunes) {
    restartLevel();
    ASSERT_EQ(rec.sounds.size(), 1u);
    EXPECT_EQ(rec.sounds[0].effect, SoundLevelStart);
    EXPECT_NEAR(rec.sounds[0].at.x, 88, 0.01);
    EXPECT_EQ(rec.tunes, std::vector<MusicTrack>{MusicLevelA});

    rec.clear();
    upgradePoints = 5;
    setGameMode(upgradeMode);
    clickBox(upgradeScreen.plusButtons[1]);
    step();
    clickBox(upgradeScreen.minusButtons[1]);
    step();
    GuiBox* root = upgradeModeObject().scr->root;
    levelNumber = 2;
    clickBox(root->children[root->children.num - 1]);  // "GO!"
    step();
    EXPECT_EQ(rec.effects(),
              (std::vector<SoundEffect>{SoundUpgradePlus, SoundUpgradeMinus, SoundUpgradeGo, SoundLevelStart}));
    EXPECT_TRUE(std::isnan(rec.sounds[0].at.x)) << "screen sounds have no place";
    EXPECT_EQ(rec.tunes, (std::vector<MusicTrack>{MusicScreens, MusicLevelB}));

    rec.clear();
    setGameMode(endDemoMode);
    EXPECT_EQ(rec.effects(), std::vector<SoundEffect>{SoundEndScreen});
    EXPECT_EQ(rec.tunes, std::vector<MusicTrack>{MusicNone});
}

TEST(SoundPlacement, PanByOffsetAndQuieterWithDistance) {
    const Vec4 listener = {1000, 100, 0, 1};
    struct Case {
        float x, y, pan, gain;
    } cases[] = {
        {1000, 100, 0, 1},      {1080, 100, 0.5f, 1},  {920, 100, -0.5f, 1},
        {1240, 100, 1, 0.5f},   {1000, 340, 0, 0.5f},  {440, 100, -1, 0.25f},
    };
    for (const Case& c : cases) {
        SoundPlacement p = placeSound({c.x, c.y, 8, 1}, listener);
        EXPECT_NEAR(p.pan, c.pan, 1e-5) << c.x << "," << c.y;
        EXPECT_NEAR(p.gain, c.gain, 1e-5) << c.x << "," << c.y;
    }
}

// The volumes live in the settings file; mute does not.
class VolumeTest : public GameTest {
protected:
    RecordingServices rec;
    TempSettings settings;
    void SetUp() override {
        GameTest::SetUp();
        setSoundServices(&rec);
        soundVolume = SoundVolume();
    }
    void TearDown() override {
        setSoundServices(nullptr);
        soundVolume = SoundVolume();
        GameTest::TearDown();
    }
    void press(int vk) { pushInput(InputKeyDown, (uint32_t)vk, 0, 0, 0, 0); }
    static uint32_t stored(const char* name) {
        uint32_t v = 999;
        readSettingDword(name, &v);
        return v;
    }
};

TEST_F(VolumeTest, ReadDefaultsKeysStoreAndMute) {
    readVolumeSettings();
    EXPECT_EQ(effectsVolume(), 80);
    EXPECT_EQ(musicVolume(), 60);
    EXPECT_EQ(rec.effectsVolume, 80);
    EXPECT_EQ(stored("volume"), 999u) << "reading never writes";

    press(189);  // '-'
    step();
    EXPECT_EQ(effectsVolume(), 70);
    EXPECT_EQ(stored("volume"), 70u);
    FixedString<48> line;
    ASSERT_TRUE(volumeLine(&line));
    EXPECT_STREQ(line, "Volume 70   Music 60");
    for (int i = 0; i < 3; i++) {
        press(187);  // '='
        step();
    }
    EXPECT_EQ(effectsVolume(), 100) << "clamped at 100";
    EXPECT_EQ(stored("volume"), 100u);

    press('M');
    step();
    EXPECT_TRUE(soundMuted());
    EXPECT_EQ(rec.effectsVolume, 0);
    EXPECT_EQ(rec.musicVolume, 0);
    EXPECT_EQ(stored("volume"), 100u) << "mute is not stored";
    ASSERT_TRUE(volumeLine(&line));
    EXPECT_STREQ(line, "Sound muted");
    press('M');
    step();
    EXPECT_EQ(rec.effectsVolume, 100);
    EXPECT_EQ(rec.musicVolume, 60);
    steps(30);
    EXPECT_FALSE(volumeLine(&line)) << "the line goes after a moment";

    setMusicVolume(-5);
    EXPECT_EQ(stored("music"), 0u);
    EXPECT_EQ(rec.musicVolume, 0);

    // Stored values come back; one out of range keeps the default.
    writeSettingDword("volume", 30);
    writeSettingDword("music", 250);
    readVolumeSettings();
    EXPECT_EQ(effectsVolume(), 30);
    EXPECT_EQ(musicVolume(), 60);
}
