#include <gtest/gtest.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
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

static int sparseFile(const char* path, off_t size) {
    int fd = creat(path, 0644);
    int r = fd < 0 ? -1 : ftruncate(fd, size);
    if (fd >= 0) close(fd);
    return r;
}

// Files in a sound's place that are no sounds of ours: each is logged by
// name and only that sound is silent, at once (a FIFO is never waited on,
// a huge file never read). A program folder of any length loads them all.
TEST_F(Audio, HostileFilesSilenceOnlyTheirSound) {
    char tmpl[] = "/tmp/zentrel-audio-XXXXXX";
    std::string root = mkdtemp(tmpl);
    struct Case {
        const char* what;
        const char* file;  // replaced in a copy of the sounds folder
        int (*make)(const char* path);
        const char* line;  // the log line, after "can't load "
    } cases[] = {
        {"FIFO", "shot", [](const char* p) { return mkfifo(p, 0600); }, "sound '%shot.wav': not a regular file"},
        {"folder", "shot", [](const char* p) { return mkdir(p, 0700); }, "sound '%shot.wav': not a regular file"},
        {"effect over 8 MiB", "shot", [](const char* p) { return sparseFile(p, (8 << 20) + 1); },
         "sound '%shot.wav': the file is too large"},
        {"tune over 64 MiB", "level_a", [](const char* p) { return sparseFile(p, (64 << 20) + 1); },
         "tune '%level_a.wav': the file is too large"},
        {"626 characters of folder", nullptr, nullptr, nullptr},
    };
    const char* const effects[] = {"shot", "crater"};
    for (const Case& c : cases) {
        std::string folder = root + "/" + c.what + "/";
        if (!c.file)
            for (int i = 0; i < 10; i++) folder += std::string(60, 'd') + "/";
        std::filesystem::create_directories(folder);
        for (const char* n : {"shot", "crater", "level_a"})
            std::filesystem::copy_file(std::string(appPath) + "sounds/" + n + ".wav", folder + n + ".wav");
        if (c.file) {
            std::string path = folder + c.file + ".wav";
            unlink(path.c_str());
            ASSERT_EQ(c.make(path.c_str()), 0) << c.what;
        }
        ASSERT_TRUE(open(effects, 2, folder)) << c.what;
        std::string expected = c.line ? std::string("can't load ") + c.line : "";
        if (c.line) expected.replace(expected.find('%'), 1, folder);
        EXPECT_EQ(log.find("can't load") != std::string::npos, c.line != nullptr) << c.what << "\n" << log;
        if (c.line) {
            EXPECT_NE(log.find(expected), std::string::npos) << c.what << "\n" << log;
        }
        playEffect(0, 0, 1);
        playEffect(1, 0, 1);
        playTune(0);
        bool shotSilent = c.file && !strcmp(c.file, "shot"), tuneSilent = c.file && !strcmp(c.file, "level_a");
        EXPECT_EQ(Mix_Playing(0), shotSilent ? 0 : 1) << c.what;
        EXPECT_EQ(Mix_Playing(voicesPerEffect), 1) << c.what;
        EXPECT_EQ(Mix_PlayingMusic(), tuneSilent ? 0 : 1) << c.what;
        closeAudio();
    }
    std::filesystem::remove_all(root);
}
