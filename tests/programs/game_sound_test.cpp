// The real game's sound, captured through SDL's disk audio driver: the
// mixer's output (44.1 kHz, 16-bit stereo) lands in a file in real time.
#include <gtest/gtest.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>
#include "program_run.h"

static const long bytesPerSecond = 44100 * 4;

static long fileSize(const std::string& path) {
    std::error_code ec;
    auto n = std::filesystem::file_size(path, ec);
    return ec ? 0 : (long)n;
}

// Largest sample magnitude in bytes [from, to) of the capture.
static int peak(const std::string& path, long from, long to) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(from & ~3L);
    std::vector<int16_t> s((size_t)((to - (from & ~3L)) / 2));
    in.read((char*)s.data(), (std::streamsize)(s.size() * 2));
    s.resize((size_t)in.gcount() / 2);
    int p = 0;
    for (int16_t v : s) p = std::max(p, std::abs((int)v));
    return p;
}

// Polls until the capture holds `bytes`; false after the timeout.
static bool waitForAudio(const std::string& path, long bytes, double seconds = 20) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (fileSize(path) < bytes) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A game started with the disk driver and the given stored volumes.
struct SoundRun : ProgramRun {
    std::string capture;
    SoundRun(const std::string& driver, int volume, int music) {
        capture = folder + "/../audio.raw";
        env = {{"SDL_AUDIODRIVER", driver}, {"SDL_DISKAUDIOFILE", capture}};
        char text[96];
        snprintf(text, sizeof text, "volume=dword:0x%08X\nmusic=dword:0x%08X\n", volume, music);
        writeSettings(text);
    }
    bool play() {
        // Small window: the software renderer keeps up, the mixer is not starved.
        return start("game", {"-360", "-novs"}) && waitForLog("free video memory:") && findWindow("ZENTREL! DEMO");
    }
    // The button is held for a fifth of a second of mixed audio: the hero
    // reads it as held, step by step. (Without a capture it is only clicked.)
    void fire() {
        xdotool("mousemove --window %w 600 150");
        long at = fileSize(capture);
        xdotool("mousedown 1");
        if (env[0].second == "disk") waitForAudio(capture, at + bytesPerSecond / 5, 2);
        xdotool("mouseup 1");
    }
    int quit() {
        xdotool("key alt+F4");
        return waitForExit();
    }
};

TEST(GameSound, SilentStandingStillHeardWhenFiring) {
    SoundRun run("disk", 80, 0);
    ASSERT_TRUE(run.play()) << run.log() << run.errors();
    EXPECT_NE(run.log().find("sound: 44100 Hz, 2 channels"), std::string::npos) << run.log();

    // The level's start: its fanfare and the hero's landing are heard, then
    // the mix falls silent.
    long heardAt = -1, quietFrom = -1;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < end) {
        long n = fileSize(run.capture);
        if (heardAt < 0 && n > 0 && peak(run.capture, 0, n) > 1000) heardAt = n;
        if (heardAt >= 0 && n - bytesPerSecond * 3 / 10 > heardAt && peak(run.capture, n - bytesPerSecond * 3 / 10, n) == 0) {
            quietFrom = n;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_GE(heardAt, 0) << "the level start was never heard";
    ASSERT_GE(quietFrom, 0) << "the start's sounds never ended";

    // Standing still: silence.
    ASSERT_TRUE(waitForAudio(run.capture, quietFrom + bytesPerSecond / 2));
    EXPECT_EQ(peak(run.capture, quietFrom, quietFrom + bytesPerSecond / 2), 0);

    // One click: the next half second carries the shot.
    long clickAt = fileSize(run.capture);
    run.fire();
    ASSERT_TRUE(waitForAudio(run.capture, clickAt + bytesPerSecond / 2));
    EXPECT_GT(peak(run.capture, clickAt, clickAt + bytesPerSecond / 2), 1000);
    EXPECT_EQ(run.quit(), 0) << run.errors();
}

// Whatever the sound can do, the game plays on.
TEST(GameSound, SilenceAndMissingSoundNeverStopTheGame) {
    struct Case {
        const char* name;
        const char* driver;
        int volume, music;
        const char* damagedFile;  // under sounds/, or null
        const char* logLine;
        bool silent;  // the whole capture holds only zeros
    } cases[] = {
        {"both volumes 0", "disk", 0, 0, nullptr, "sound: 44100 Hz", true},
        {"no audio device", "no-such-driver", 80, 60, nullptr, "no sound: ", false},
        {"damaged effect file", "disk", 80, 0, "shot.wav", "can't load sound '", false},
    };
    for (const Case& c : cases) {
        SoundRun run(c.driver, c.volume, c.music);
        if (c.damagedFile) std::ofstream(run.folder + "/sounds/" + c.damagedFile) << "RIFF, but not really";
        ASSERT_TRUE(run.play()) << c.name << run.log() << run.errors();
        EXPECT_NE(run.log().find(c.logLine), std::string::npos) << c.name << run.log();
        if (c.damagedFile) {
            EXPECT_NE(run.log().find(std::string("/sounds/") + c.damagedFile + "': "), std::string::npos);
        }
        run.fire();
        if (c.driver == std::string("disk")) {
            long from = fileSize(run.capture);
            ASSERT_TRUE(waitForAudio(run.capture, from + bytesPerSecond)) << c.name;
        } else {
            ASSERT_TRUE(run.waitForLog("total start-up time"));
        }
        if (c.silent) {
            EXPECT_EQ(peak(run.capture, 0, fileSize(run.capture)), 0) << c.name;
        }
        EXPECT_EQ(run.quit(), 0) << c.name << run.errors();
    }
}
