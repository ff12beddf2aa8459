// sound_bench: what sound costs the game, measured side by side.
//  - event handling: layout A played for 400 steps with the hero firing at
//    the walls ahead (shots, craters, debris), the time spent inside the
//    sound services against the whole step;
//  - mixing: the mixer's thread running flat out on the disk driver with
//    the voices of a heavy moment of play, and with every voice, busy
//    beside the tune, as a share of real time;
//  - start-up: opening the device and loading every sound.
// Run: build/bin/sound_bench (no display needed).
#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>
#include "camera.h"
#include "fake_input_platform.h"
#include "game_step.h"
#include "input_sampling.h"
#include "hero.h"
#include "progress.h"
#include "qz_utils.h"
#include "random.h"
#include "sdl_audio.h"
#include "services.h"
#include "world.h"

static bool openAllSounds() {
    char folder[QZ_MAX_PATH];
    resolveAppFile(folder, "sounds/");
    return openAudio(folder, soundEffectNames, SoundEffectCount, musicTrackNames, MusicTrackCount);
}

// The program's sound services with a stopwatch around each call.
struct TimedSoundServices : SoundServices {
    int64_t ticks = 0;
    int events = 0;
    void playSound(SoundEffect effect, Vec4 at) override {
        int64_t t0 = timerNow();
        SoundPlacement p = placeSound(at, cameraFollow[0]);
        playEffect(effect, p.pan, p.gain);
        ticks += timerNow() - t0;
        events++;
    }
    void playScreenSound(SoundEffect effect) override { playSound(effect, cameraFollow[0]); }
    void playMusic(MusicTrack track) override {
        int64_t t0 = timerNow();
        playTune(track);
        ticks += timerNow() - t0;
    }
};

static void eventHandling() {
    FakeInputPlatform input;
    inputInit(&input);
    computePixelScale(1280, 720);
    TimedSoundServices services;
    setSoundServices(&services);
    gameRandom.seed(7);
    newGame();
    setGameMode(&playMode);
    input.held[VK_LBUTTON] = true;
    int64_t stepTicks = 0;
    const int steps = 400;
    for (int i = 0; i < steps; i++) {
        // Aim ahead at varying heights so the craters keep coming.
        pushInput(InputMove, 0, 0, 0, 900, (float)(250 + (i % 7) * 30));
        input.held['D'] = (i / 40) % 2 == 0;
        int64_t t0 = timerNow();
        gameStep(0.05f);
        stepTicks += timerNow() - t0;
        inputEndStep();
        if (hero.health <= 0 || currentMode != &playMode) {
            newGame();
            setGameMode(&playMode);
        }
    }
    double stepUs = (double)ticksToUs(stepTicks) / steps, soundUs = (double)ticksToUs(services.ticks) / steps;
    printf("event handling: %.2f events and %.2f us per step (whole step %.1f us): %.3f %% of a 50 ms step\n",
           (double)services.events / steps, soundUs, stepUs, soundUs / 50000.0 * 100);
    setGameMode(nullptr);
    setSoundServices(nullptr);
}

// Counted in the mixer's own thread, with that thread's processor time, so
// that other programs on the machine do not count.
static std::atomic<long> framesMixed;
static std::atomic<int64_t> mixerCpuFirst, mixerCpuLast;
static int64_t threadCpuNs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (int64_t)t.tv_sec * 1000000000 + t.tv_nsec;
}
static void countFrames(void*, Uint8*, int bytes) {
    int64_t now = threadCpuNs();
    if (framesMixed == 0) mixerCpuFirst = now;
    else framesMixed += bytes / 4;  // frames mixed after the first reading
    if (framesMixed == 0) framesMixed = 1;
    mixerCpuLast = now;
}

// The mixer's thread runs as fast as it can with the given voices of each
// effect kept sounding and the tune playing: its cost as a share of real time.
static void mixing(const char* what, const int (&voices)[SoundEffectCount]) {
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    if (!openAllSounds()) return;
    Mix_SetPostMix(countFrames, nullptr);
    setAudioVolume(80, 60);
    playTune(MusicLevelA);
    int busy = 0;
    for (int v : voices) busy += v;
    int64_t t0 = timerNow();
    framesMixed = 0;
    while (timerNow() - t0 < timerFrequency() * 2) {
        for (int e = 0; e < SoundEffectCount; e++) {
            int playing = 0;
            for (int c = e * voicesPerEffect; c < (e + 1) * voicesPerEffect; c++) playing += Mix_Playing(c);
            for (; playing < voices[e]; playing++) playEffect(e, (float)(e % 3 - 1) * 0.5f, 1);
        }
        SDL_Delay(5);
    }
    double cpu = (double)(mixerCpuLast - mixerCpuFirst) / 1e9;
    double audio = (double)(framesMixed - 1) / 44100.0;
    printf("mixing, %s: %d voices + tune, %.1f s of audio in %.3f s of the mixer thread's time: %.3f %% of real time\n",
           what, busy, audio, cpu, cpu / audio * 100);
    Mix_SetPostMix(nullptr, nullptr);
    closeAudio();
    unsetenv("SDL_DISKAUDIODELAY");
}

static void startUp() {
    std::vector<double> open, none;
    for (int i = 0; i < 5; i++) {
        int64_t t0 = timerNow();
        openAllSounds();
        open.push_back((double)ticksToUs(timerNow() - t0) / 1000.0);
        closeAudio();
    }
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    for (int i = 0; i < 5; i++) {
        int64_t t0 = timerNow();
        openAllSounds();
        none.push_back((double)ticksToUs(timerNow() - t0) / 1000.0);
    }
    std::sort(open.begin(), open.end());
    std::sort(none.begin(), none.end());
    printf("start-up: opening the device and loading %d effects and %d tunes: %.1f ms (median of 5); "
           "without a device: %.1f ms\n",
           SoundEffectCount, MusicTrackCount, open[2], none[2]);
}

int main() {
    initAppPath();
    timerInit();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    if (!openAllSounds()) return 1;
    eventHandling();
    closeAudio();
    int none[SoundEffectCount] = {};
    mixing("the tune alone", none);
    // A heavy moment of play: a burst of fire digging craters into robots and
    // walls while the hero is hit; and every voice of every effect at once.
    int heavy[SoundEffectCount] = {};
    heavy[SoundShot] = heavy[SoundCrater] = voicesPerEffect;
    heavy[SoundRobotHit] = heavy[SoundRobotBurst] = 2;
    heavy[SoundHeroHurt] = heavy[SoundJump] = heavy[SoundLanding] = 1;
    int all[SoundEffectCount];
    for (int& v : all) v = voicesPerEffect;
    mixing("heavy play", heavy);
    mixing("every voice", all);
    startUp();
    return 0;
}
