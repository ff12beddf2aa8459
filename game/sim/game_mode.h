// game_mode: the abstract game state. Exactly one mode is current at a
// time; the main loop drives it once per step and once per drawn frame.
#pragma once

class GameMode {
public:
    virtual void enter(GameMode* previous) = 0;  // has just become current
    virtual void leave(GameMode* next) = 0;      // is about to stop being current; next is null at shutdown
    virtual void update(float dt) = 0;           // one fixed step, dt = 0.05 s
    virtual void renderScene(float t) = 0;       // t: seconds since the last step's nominal time
    virtual void renderOverlay(float t) = 0;
    virtual void onResize() = 0;                 // the display was resized and resources recreated
};

// Null before start-up sets the first mode and after shutdown.
extern GameMode* currentMode;

// Switching to the current mode does nothing; otherwise the old mode's
// leave runs before the new mode's enter.
void setGameMode(GameMode* next);
