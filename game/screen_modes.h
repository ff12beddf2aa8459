// screen_modes: the upgrade screen between levels and the end-of-demo
// screen. Their screens come with the GUI; until then entering them only
// marks where the run is.
#pragma once
#include "game_mode.h"

class UpgradeGameMode : public GameMode {
public:
    void enter(GameMode*) override {}
    void leave(GameMode*) override {}
    void update(float) override {}
    void renderScene(float) override {}
    void renderOverlay(float) override {}
    void onResize() override {}
};

class EndDemoGameMode : public GameMode {
public:
    void enter(GameMode*) override {}
    void leave(GameMode*) override {}
    void update(float) override {}
    void renderScene(float) override {}
    void renderOverlay(float) override {}
    void onResize() override {}
};
