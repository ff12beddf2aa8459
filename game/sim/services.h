// services: what game logic asks of the renderer, the device and the window.
// The program installs the real services once they exist; until then, and
// in tests, the defaults do nothing, so the whole game runs without a window.
#pragma once

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
};

// Never null: points at the do-nothing services until the program installs its own.
extern GameServices* gameServices;
void setGameServices(GameServices* services);
