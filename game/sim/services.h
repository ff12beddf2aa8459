// services: what game logic asks of the renderer, the device and the window.
// The program installs the real services once they exist; until then, and
// in tests, the defaults do nothing, so the whole game runs without a window.
#pragma once
#include "sound.h"

struct GameServices {
    virtual ~GameServices() {}

    // The level's chunk cache of the cube renderer.
    virtual void createVoxelCache() {}
    virtual void destroyVoxelCache() {}
    virtual void invalidateVoxelCache() {}
    // Inclusive cell rectangle whose cells changed (all layers).
    virtual void invalidateVoxelCacheRect(int x0, int y0, int x1, int y1) {
        (void)x0, (void)y0, (void)x1, (void)y1;
    }

    // Device and window.
    virtual void takeScreenshot() {}
    virtual bool windowActive() { return true; }
    virtual void togglePerfOverlay() {}
    // "Quit" on the end screen: the orderly shutdown, then exit code 0. A
    // replay ends its run here instead.
    virtual void quitGame();

    // Drawing of the world-showing modes.
    virtual void worldRender(float t) { (void)t; }     // level, hero, robots, shots, debris
    virtual void elevatorRender(float t) { (void)t; }  // the ride's pad copies over the world
    virtual void gameOverOverlay() {}                  // the "GAME OVER" text

    // Sound. An effect at a world point is panned and attenuated from the
    // camera; a screen sound plays from the middle at full volume.
    virtual void playSound(SoundEffect effect, Vec4 at) { (void)effect, (void)at; }
    virtual void playScreenSound(SoundEffect effect) { (void)effect; }
    // Loops the tune until another is asked for; the same tune keeps playing.
    virtual void playMusic(MusicTrack track) { (void)track; }
    // Audible volumes, 0-100 (0 while muted).
    virtual void setVolume(int effects, int music) { (void)effects, (void)music; }
    // Holds the effects that are sounding (a paused world); the tune plays on.
    virtual void pauseEffects(bool paused) { (void)paused; }
    // Shakes the pads that can (0-1 strength).
    virtual void rumble(float strength, int milliseconds) { (void)strength, (void)milliseconds; }
};

// Never null: points at the do-nothing services until the program installs its own.
extern GameServices* gameServices;
void setGameServices(GameServices* services);
