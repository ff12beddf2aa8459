// services: what game logic asks of the world outside it, one small
// interface per concern. The program installs the real services once they
// exist; until then, and in tests, each global points at a do-nothing
// default, so the whole game runs without a window, a device or a mixer.
#pragma once
#include "sound.h"

// The level's chunk cache and the drawing of the world-showing modes; the
// game's drawing library implements it (RenderServices, game/draw/scene.h).
struct ViewServices {
    virtual ~ViewServices() {}
    virtual void createVoxelCache() {}
    virtual void destroyVoxelCache() {}
    virtual void invalidateVoxelCache() {}
    // Inclusive cell rectangle whose cells changed (all layers).
    virtual void invalidateVoxelCacheRect(int x0, int y0, int x1, int y1) {
        (void)x0, (void)y0, (void)x1, (void)y1;
    }
    virtual void worldRender(float t) { (void)t; }     // level, hero, robots, shots, debris
    virtual void elevatorRender(float t) { (void)t; }  // the ride's pad copies over the world
    virtual void gameOverOverlay() {}                  // the "GAME OVER" text
};

// The program around the game: its window, the device's screenshot and
// overlay, the way out.
struct HostServices {
    virtual ~HostServices() {}
    virtual void takeScreenshot() {}
    virtual bool windowActive() { return true; }
    virtual void togglePerfOverlay() {}
    // "Quit" on the end screen: the orderly shutdown, then exit code 0. A
    // replay ends its run here instead.
    virtual void quitGame();
};

// The mixer. An effect at a world point is panned and attenuated from the
// camera; a screen sound plays from the middle at full volume.
struct SoundServices {
    virtual ~SoundServices() {}
    virtual void playSound(SoundEffect effect, Vec4 at) { (void)effect, (void)at; }
    virtual void playScreenSound(SoundEffect effect) { (void)effect; }
    // Loops the tune until another is asked for; the same tune keeps playing.
    virtual void playMusic(MusicTrack track) { (void)track; }
    // Audible volumes, 0-100 (0 while muted).
    virtual void setVolume(int effects, int music) { (void)effects, (void)music; }
    // Holds the effects that are sounding (a paused world); the tune plays on.
    virtual void pauseEffects(bool paused) { (void)paused; }
};

// The pads' rumble motors.
struct RumbleServices {
    virtual ~RumbleServices() {}
    // Shakes the pads that can (0-1 strength).
    virtual void rumble(float strength, int milliseconds) { (void)strength, (void)milliseconds; }
};

// Never null: each points at its do-nothing default until the program
// installs its own; installing null puts the default back.
extern ViewServices* viewServices;
extern HostServices* hostServices;
extern SoundServices* soundServices;
extern RumbleServices* rumbleServices;
void setViewServices(ViewServices* services);
void setHostServices(HostServices* services);
void setSoundServices(SoundServices* services);
void setRumbleServices(RumbleServices* services);
