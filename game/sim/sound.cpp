// sound: effect and tune names, placement, and the volume settings.
#include "sound.h"
#include <cmath>
#include "services.h"
#include "settings.h"
#include "step_input.h"

const char* const soundEffectNames[SoundEffectCount] = {
    "shot",      "crater",       "robot_hit",  "robot_burst", "hero_hurt",    "hero_death",    "jump",      "landing",
    "exit_reached", "lift_ride", "level_start", "upgrade_plus", "upgrade_minus", "upgrade_go", "end_screen"};
const char* const musicTrackNames[MusicTrackCount] = {"level_a", "level_b", "screens"};

MusicTrack levelMusic(int32_t level) { return (level & 1) ? MusicLevelA : MusicLevelB; }

// Full pan at 160 voxels to the side (the view is about 210 wide at the
// usual scale); full gain within 80 voxels, half at 240, a quarter at 560.
SoundPlacement placeSound(Vec4 at, Vec4 listener) {
    float dx = at.x - listener.x, dy = at.y - listener.y;
    SoundPlacement p;
    p.pan = fmaxf(-1.0f, fminf(1.0f, dx / 160.0f));
    float d = sqrtf(dx * dx + dy * dy);
    p.gain = 1.0f / (1.0f + fmaxf(0.0f, d - 80.0f) / 160.0f);
    return p;
}

//---------------------------------------------------------------------------
// Volume
//---------------------------------------------------------------------------

SoundVolume soundVolume;

static const int32_t shownStepsAfterChange = 30;  // 1.5 seconds

static int32_t clampVolume(int32_t v) { return v < 0 ? 0 : (v > 100 ? 100 : v); }

void applyVolume() {
    const SoundVolume& s = soundVolume;
    int32_t music = s.worldPaused ? s.music / 2 : s.music;
    soundServices->setVolume(s.muted ? 0 : s.effects, s.muted ? 0 : music);
}

void pauseSound(bool paused) {
    soundVolume.worldPaused = paused;
    soundServices->pauseEffects(paused);
    applyVolume();
}

void readVolumeSettings() {
    uint32_t v;
    soundVolume.effects = readSettingDword("volume", &v) && v <= 100 ? (int32_t)v : 80;
    soundVolume.music = readSettingDword("music", &v) && v <= 100 ? (int32_t)v : 60;
    applyVolume();
}

void setEffectsVolume(int32_t volume) {
    soundVolume.effects = clampVolume(volume);
    writeSettingDword("volume", (uint32_t)soundVolume.effects);
    soundVolume.shownSteps = shownStepsAfterChange;
    applyVolume();
}

void setMusicVolume(int32_t volume) {
    soundVolume.music = clampVolume(volume);
    writeSettingDword("music", (uint32_t)soundVolume.music);
    soundVolume.shownSteps = shownStepsAfterChange;
    applyVolume();
}

void toggleMute() {
    soundVolume.muted = !soundVolume.muted;
    soundVolume.shownSteps = shownStepsAfterChange;
    applyVolume();
}

int32_t effectsVolume() { return soundVolume.effects; }
int32_t musicVolume() { return soundVolume.music; }
bool soundMuted() { return soundVolume.muted; }

void volumeActionsStep(uint32_t pressed) {
    if (soundVolume.shownSteps > 0) soundVolume.shownSteps--;
    if (pressed & ActionVolumeDown) setEffectsVolume(soundVolume.effects - 10);
    if (pressed & ActionVolumeUp) setEffectsVolume(soundVolume.effects + 10);
    if (pressed & ActionMute) toggleMute();
}
