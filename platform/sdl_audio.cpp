// sdl_audio: effects and tunes through SDL_mixer.
#include "sdl_audio.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <cerrno>
#include "qz_utils.h"
#include "regular_file.h"

static const int maxEffects = 32, maxTunes = 8;
// Far above any sound the build makes; a file this large is not a sound of
// ours, and decoding it could take all memory.
static const int maxEffectBytes = 8 << 20, maxTuneBytes = 64 << 20;

static struct {
    bool open;
    int effectCount, tuneCount;
    Mix_Chunk* effects[maxEffects];
    Mix_Music* tunes[maxTunes];
    DynArray<char> tuneBytes[maxTunes];  // what a tune plays from, as long as it lives
    int playingTune;  // -1: none
    // When each voice last started, in plays: the smallest is the oldest.
    uint32_t started[maxEffects * voicesPerEffect];
    uint32_t plays;
} audio = {false, 0, 0, {}, {}, {}, -1, {}, 0};

bool audioOpen() { return audio.open; }

// Reads "<folder><name>.wav" whole through the regular-file reader (a FIFO
// or a huge file in its place must not hang or exhaust the game) and gives
// the mixer a view of the bytes; null after a log line naming the file.
static SDL_RWops* readSound(const char* kind, const char* folder, const char* name, int maxBytes,
                            DynArray<char>& bytes) {
    char path[QZ_MAX_PATH];
    if (snprintf(path, sizeof path, "%s%s.wav", folder, name) >= (int)sizeof path) {
        logMessage("can't load %s '%s%s.wav': the path is too long", kind, folder, name);
        return nullptr;
    }
    if (!readRegularFile(path, bytes, maxBytes)) {
        logMessage("can't load %s '%s': %s", kind, path, regularFileError(errno));
        return nullptr;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data, bytes.num);
    if (!rw) logMessage("can't load %s '%s': %s", kind, path, SDL_GetError());
    return rw;
}

bool openAudio(const char* folder, const char* const* effectNames, int effectCount, const char* const* tuneNames,
               int tuneCount) {
    ASSERT(effectCount<=maxEffects && tuneCount<=maxTunes);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        logMessage("no sound: can't start SDL audio: %s", SDL_GetError());
        return false;
    }
    // 1024 frames: about 23 ms from an event to the speaker.
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        logMessage("no sound: can't open the audio device: %s", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    audio.open = true;
    audio.effectCount = effectCount;
    audio.tuneCount = tuneCount;
    audio.playingTune = -1;
    // Each effect owns voicesPerEffect voices (effect e: channels e * voicesPerEffect
    // on), so a burst of craters never cuts off a shot.
    Mix_AllocateChannels(effectCount * voicesPerEffect);

    for (int e = 0; e < effectCount; e++) {
        DynArray<char> bytes;
        if (SDL_RWops* rw = readSound("sound", folder, effectNames[e], maxEffectBytes, bytes)) {
            audio.effects[e] = Mix_LoadWAV_RW(rw, 1);  // decoded into the chunk; bytes may go
            if (!audio.effects[e]) logMessage("can't load sound '%s%s.wav': %s", folder, effectNames[e], Mix_GetError());
        }
    }
    for (int t = 0; t < tuneCount; t++) {
        if (SDL_RWops* rw = readSound("tune", folder, tuneNames[t], maxTuneBytes, audio.tuneBytes[t])) {
            audio.tunes[t] = Mix_LoadMUS_RW(rw, 1);
            if (!audio.tunes[t]) logMessage("can't load tune '%s%s.wav': %s", folder, tuneNames[t], Mix_GetError());
        }
        if (!audio.tunes[t]) audio.tuneBytes[t].release();
    }
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    logMessage("sound: %d Hz, %d channels, %d voices", rate, channels, effectCount * voicesPerEffect);
    return true;
}

void closeAudio() {
    if (!audio.open) return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    for (int e = 0; e < audio.effectCount; e++) {
        Mix_FreeChunk(audio.effects[e]);
        audio.effects[e] = nullptr;
    }
    for (int t = 0; t < audio.tuneCount; t++) {
        Mix_FreeMusic(audio.tunes[t]);
        audio.tunes[t] = nullptr;
        audio.tuneBytes[t].release();
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audio.open = false;
}

void playEffect(int effect, float pan, float gain) {
    if (!audio.open || effect < 0 || effect >= audio.effectCount || !audio.effects[effect]) return;
    // A free voice of the effect, else the one that started first makes way.
    int channel = -1;
    for (int c = effect * voicesPerEffect; c < (effect + 1) * voicesPerEffect; c++) {
        if (!Mix_Playing(c)) {
            channel = c;
            break;
        }
        if (channel < 0 || audio.started[c] < audio.started[channel]) channel = c;
    }
    if (Mix_Playing(channel)) Mix_HaltChannel(channel);
    audio.started[channel] = ++audio.plays;
    // Full level on the near side; the far side keeps a third even at full
    // pan, as a room would.
    float left = pan > 0 ? 1 - 0.7f * pan : 1, right = pan < 0 ? 1 + 0.7f * pan : 1;
    Mix_SetPanning(channel, (Uint8)(255 * left), (Uint8)(255 * right));
    Mix_Volume(channel, (int)(MIX_MAX_VOLUME * (gain < 0 ? 0 : (gain > 1 ? 1 : gain))));
    Mix_PlayChannel(channel, audio.effects[effect], 0);
}

void playTune(int tune) {
    if (!audio.open) return;
    if (tune < 0 || tune >= audio.tuneCount || !audio.tunes[tune]) {
        if (Mix_PlayingMusic()) Mix_FadeOutMusic(400);
        audio.playingTune = -1;
        return;
    }
    if (tune == audio.playingTune && Mix_PlayingMusic() && !Mix_FadingMusic()) return;
    Mix_HaltMusic();
    Mix_PlayMusic(audio.tunes[tune], -1);
    audio.playingTune = tune;
}

void setAudioVolume(int effects, int music) {
    if (!audio.open) return;
    Mix_MasterVolume(effects * MIX_MAX_VOLUME / 100);
    Mix_VolumeMusic(music * MIX_MAX_VOLUME / 100);
}

void pauseEffects(bool paused) {
    if (!audio.open) return;
    if (paused) Mix_Pause(-1);
    else Mix_Resume(-1);
}
