#include <gtest/gtest.h>
#include <SDL_mixer.h>
#include <cstdlib>
#include <string>
#include <vector>
#include "qz_utils.h"
#include "sdl_audio.h"

// The build's sounds beside the test program, on SDL's silent driver.
class Audio : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        initAppPath();
    }
    void TearDown() override { closeAudio(); }
    bool open(const char* const* effects, int count) {
        static const char* const tunes[] = {"level_a"};
        std::string folder = std::string(appPath) + "sounds/";
        testing::internal::CaptureStdout();
        bool ok = openAudio(folder.c_str(), effects, count, tunes, 1);
        log = testing::internal::GetCapturedStdout();
        return ok;
    }
    std::string log;
};

static std::vector<int> stopped;
static void voiceStopped(int channel) { stopped.push_back(channel); }

TEST_F(Audio, BurstsKeepAFewVoicesOldestStoppedFirst) {
    const char* const effects[] = {"shot", "crater"};
    ASSERT_TRUE(open(effects, 2)) << log;
    setAudioVolume(0, 0);  // silence, with the device still open
    stopped.clear();
    Mix_ChannelFinished(voiceStopped);
    for (int i = 0; i < voicesPerEffect + 2; i++) playEffect(1, 0, 1);
    Mix_ChannelFinished(nullptr);
    // The craters' own voices, the first two of them taken over in order.
    EXPECT_EQ(stopped, (std::vector<int>{voicesPerEffect, voicesPerEffect + 1}));
    int playing = 0;
    for (int c = 0; c < 2 * voicesPerEffect; c++) playing += Mix_Playing(c);
    EXPECT_EQ(playing, voicesPerEffect) << "the shots' voices stay free";
    EXPECT_TRUE(audioOpen());
}

TEST_F(Audio, MissingFileSilencesOnlyThatSound) {
    const char* const effects[] = {"no_such_sound", "shot"};
    ASSERT_TRUE(open(effects, 2));
    EXPECT_NE(log.find("can't load sound '" + std::string(appPath) + "sounds/no_such_sound.wav'"), std::string::npos)
        << log;
    playEffect(0, 0, 1);
    playEffect(1, 0, 1);
    playEffect(7, 0, 1);  // not an effect at all
    EXPECT_EQ(Mix_Playing(0), 0);
    EXPECT_EQ(Mix_Playing(voicesPerEffect), 1);
}
