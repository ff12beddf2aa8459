// scene: what one frame draws and in which order. The current mode's scene
// goes straight into the back buffer, or with anti-aliasing into the
// device's scene surfaces, resolved into the screen-sized scene image and
// copied to the back buffer through the post-effect; then the
// mode's overlay, the crosshair and the performance overlay are drawn on top
// through the text layer.
#pragma once
#include "services.h"

// The view services: the level's voxel cache and the world drawing of the
// modes. The program installs them with setViewServices before initScene,
// since initScene builds the world.
class RenderServices : public ViewServices {
public:
    void createVoxelCache() override;
    void destroyVoxelCache() override;
    void invalidateVoxelCache() override;
    void invalidateVoxelCacheRect(int x0, int y0, int x1, int y1) override;
    void worldRender(float t) override;
    void elevatorRender(float t) override;
    void gameOverOverlay() override;
};

// Start-up has reached the scene: from now on the cursor may be hidden over
// the window.
extern bool gameReady;

// After initDevice and initFont: scene image, post-effect, debug drawer,
// pixel scale, cube renderer, world, new game and the play mode. Registers
// drawScene and onDeviceResized with the device layer.
void initScene();
void shutdownScene();
// After every successful device resize: font scale, pixel scale, voxel
// cache, and the current mode's onResize.
void onDeviceResized();
void drawScene(float dt);
void applyPostEffect();
// (x, y) in 2D pixels from the bottom-left.
void drawCrosshair(int x, int y);

// Drawn last over each frame when set (the performance overlay).
extern void (*sceneOverlayDrawer)();
