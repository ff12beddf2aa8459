// framing_modes: the modes around a level: the elevator ride out of it and
// the game-over screen.
#pragma once
#include <cstdint>
#include "game_mode.h"

struct VoxelSprite;

class ElevatorGameMode : public GameMode {
public:
    int32_t minX, minY, maxX;  // the pad's bounding box in the grid
    int32_t liftY;             // the lift's current top row; rises to 255
    int32_t speed;             // rows per step: 1 at the start, +1 per step up to 10
    VoxelSprite* padSprite;    // the pad cut out of the grid; null outside a ride

    void enter(GameMode* previous) override;  // finds the pad, cuts it, clears the shaft
    void leave(GameMode* next) override;
    void update(float dt) override;           // one step of the ride
    void renderScene(float t) override;
    void renderOverlay(float) override {}
    void onResize() override {}
    ~ElevatorGameMode();
};

class GameOverMode : public GameMode {
public:
    float delay;  // seconds before restart input is taken

    void enter(GameMode* previous) override;
    void leave(GameMode*) override {}
    // The world moves on; after the delay a release of the confirm action
    // (Space, Enter or the left or right mouse button) starts a new game.
    void update(float dt) override;
    void renderScene(float t) override;
    void renderOverlay(float t) override;
    void onResize() override {}
};

ElevatorGameMode& elevatorRide();
