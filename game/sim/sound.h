// sound: the sound events game logic raises, the tunes it asks for, where an
// event sits relative to the listener, and the player's volume settings.
// Logic only reports through the services; the program's mixer plays.
#pragma once
#include <cstdint>
#include "qz_utils.h"
#include "qz_math.h"

// One effect file each, "sounds/<name>.wav" beside the program.
enum SoundEffect {
    SoundShot,          // the hero fires
    SoundCrater,        // a shot digs into a wall
    SoundRobotHit,      // a shot takes a hit point from a robot
    SoundRobotBurst,    // ... and the robot bursts
    SoundHeroHurt,      // a robot costs the hero a heart
    SoundHeroDeath,     // the last heart, or a fall out of the level
    SoundJump,
    SoundLanding,       // back on the ground after a fall or a jump
    SoundExitReached,   // half a second on the exit pad
    SoundLiftRide,
    SoundLevelStart,
    SoundUpgradePlus,
    SoundUpgradeMinus,
    SoundUpgradeGo,
    SoundEndScreen,
    SoundEffectCount
};
extern const char* const soundEffectNames[SoundEffectCount];  // "shot", "crater", ...

// Looping tunes, "sounds/<name>.wav"; MusicNone fades the current one out.
enum MusicTrack { MusicNone = -1, MusicLevelA, MusicLevelB, MusicScreens, MusicTrackCount };
extern const char* const musicTrackNames[MusicTrackCount];  // "level_a", "level_b", "screens"
// The tune of a level: layout A's on odd levels, layout B's on even ones.
MusicTrack levelMusic(int32_t level);

// Where an event is heard from a listener (the camera's point): pan from
// -1 (left) to 1 (right) by the horizontal offset, gain from 1 down with the
// distance.
struct SoundPlacement {
    float pan, gain;
};
SoundPlacement placeSound(Vec4 at, Vec4 listener);

//---------------------------------------------------------------------------
// Volume
//---------------------------------------------------------------------------

// Lives for the run: read from the settings at start-up, changed by the
// volume keys (and the pause screen), stored on every change but mute.
struct SoundVolume {
    int32_t effects = 80;    // 0-100, settings value "volume"
    int32_t music = 60;      // 0-100, settings value "music"
    bool muted = false;      // M: silences both, never stored
    int32_t shownSteps = 0;  // steps the volume line stays on screen
    bool worldPaused = false;  // effects held, music at half volume
};
extern SoundVolume soundVolume;

// "volume" and "music" from the settings; a missing value or one above 100
// keeps the default. Applies the result.
void readVolumeSettings();
// Clamp to 0-100, store, apply and show the line. Volume 0 keeps the device
// open and mixes silence.
void setEffectsVolume(int32_t volume);
void setMusicVolume(int32_t volume);
void toggleMute();
int32_t effectsVolume();
int32_t musicVolume();
bool soundMuted();
// The world stopped or goes on: effects hold or go on, music plays at half
// volume while stopped.
void pauseSound(bool paused);
// Hands the audible volumes (0 while muted) to the services.
void applyVolume();

// Per step, from the step's pressed actions: volume down and up change the
// effects volume by 10, mute toggles; counts the volume line down.
void volumeActionsStep(uint32_t pressed);
