#include <gtest/gtest.h>
#include <SDL_mixer.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include "qz_utils.h"
#include "sdl_audio.h"
#include "windows_compat.h"

// The build's sounds beside the test program, on SDL's silent driver.
class Audio : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        initAppPath();
    }
    void TearDown() override { closeAudio(); }
    bool open(const char* const* effects, int count, std::string folder = "") {
        static const char* const tunes[] = {"level_a"};
        if (folder.empty()) folder = std::string(appPath) + "sounds/";
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

// A sound's file that is no sound of ours is logged by name and only that
// sound is silent, at once: a FIFO is never waited on, a huge file never
// read. A program folder of any length loads them all.
TEST_F(Audio, HostileFilesSilenceOnlyTheirSound) {
    char tmpl[] = "/tmp/zentrel-audio-XXXXXX";
    std::string root = mkdtemp(tmpl);
    struct Case {
        const char* file;  // replaced by a FIFO or folder (size 0) or grown to size bytes
        off_t size;
        const char* line;  // the log line; % stands for the folder
    } cases[] = {
        {"shot", 0, "can't load sound '%shot.wav': not a regular file"},
        {"shot", (8 << 20) + 1, "can't load sound '%shot.wav': the file is too large"},
        {"level_a", (64 << 20) + 1, "can't load tune '%level_a.wav': the file is too large"},
        {nullptr, 0, "can't load"},  // none of that, in a folder 600 characters deeper
    };
    const char* const effects[] = {"shot", "crater"};
    for (const Case& c : cases) {
        if (!c.file && onWindows) continue;  // beyond MAX_PATH, which only "\\?\" paths pass on Windows
        std::string folder = root + "/" + std::to_string(&c - cases) + "/";
        for (int i = 0; !c.file && i < 10; i++) folder += std::string(60, 'd') + "/";
        std::filesystem::create_directories(folder);
        for (const char* n : {"shot", "crater", "level_a"})
            std::filesystem::copy_file(std::string(appPath) + "sounds/" + n + ".wav", folder + n + ".wav");
        std::string path = folder + (c.file ? c.file : "") + ".wav";
        if (c.file) {
            // A folder where there are no FIFOs (Windows).
            ASSERT_EQ(c.size ? truncate(path.c_str(), c.size)
                             : unlink(path.c_str()) + (mkfifo(path.c_str(), 0600) == 0 ? 0 : mkdir(path.c_str(), 0700)),
                      0);
        }
        ASSERT_TRUE(open(effects, 2, folder));
        std::string line = c.line;
        if (line.find('%') != std::string::npos) line.replace(line.find('%'), 1, folder);
        EXPECT_EQ(log.find(line) != std::string::npos, c.file != nullptr) << log;
        playEffect(0, 0, 1);
        playEffect(1, 0, 1);
        playTune(0);
        EXPECT_EQ(Mix_Playing(0) + Mix_Playing(voicesPerEffect) + Mix_PlayingMusic(), c.file ? 2 : 3) << line;
        closeAudio();
    }
    std::filesystem::remove_all(root);
}
