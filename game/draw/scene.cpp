// scene: frame order, scene image, post-effect and crosshair.
#include "scene.h"
#include "pause.h"
#include "input_sampling.h"
#include "camera.h"
#include "cube_render.h"
#include "debug_vis.h"
#include "device.h"
#include "draw_world.h"
#include "font.h"
#include "game_mode.h"
#include "gui_behaviour.h"
#include "hero_step.h"
#include "input.h"
#include "level.h"
#include "main_loop.h"
#include "nox_gui_renderer.h"
#include "progress.h"
#include "qz_utils.h"
#include "screen_build.h"
#include "voxel_cache.h"
#include "world.h"

void (*sceneOverlayDrawer)();

static TextureHandle sceneImage;
static ShaderHandle postEffect;

void RenderServices::createVoxelCache() {
    if (!levelVoxelCache)
        levelVoxelCache = ::createVoxelCache(levelGrid, 1, LEVEL_STRIDE_Y, LEVEL_STRIDE_Z, LEVEL_SIZE_X, LEVEL_SIZE_Y,
                                             LEVEL_SIZE_Z, levelPalette);
}

void RenderServices::destroyVoxelCache() {
    ::destroyVoxelCache(levelVoxelCache);
    levelVoxelCache = nullptr;
}

void RenderServices::invalidateVoxelCache() {
    if (levelVoxelCache) ::invalidateVoxelCache(levelVoxelCache);
}

void RenderServices::invalidateVoxelCacheRect(int x0, int y0, int x1, int y1) {
    if (levelVoxelCache) ::invalidateVoxelCacheRect(levelVoxelCache, x0, y0, x1, y1);
}

void RenderServices::worldRender(float t) { ::worldRender(t); }
void RenderServices::elevatorRender(float t) { ::elevatorRender(t); }
void RenderServices::gameOverOverlay() { drawGameOver(); }

bool gameReady;

void initScene() {
    setStepRate(STEPS_PER_SECOND, MAX_CATCH_UP_STEPS);
    sceneImage = createTexture(0, 0, 1, UsageRenderTarget, FormatArgb8, PoolDefault);
    if (!sceneImage) fatalError("can't create scene image texture");
    showLoadingText("Compiling post-effect shaders", -1);
    postEffect = loadShader("postfx_none.sh", nullptr);
    initDebugDraw();
    computePixelScale(deviceWidth(), deviceHeight());
    gameReady = true;
    initCubeRenderer();
    initWorld();
    registerStandardBehaviours();
    gameGuiRenderer = &noxGuiRenderer;
    newGame();
    setGameMode(&playMode);
    setFrameDrawer(drawScene);
    setDeviceResizedHandler(onDeviceResized);
}

void shutdownScene() {
    setFrameDrawer(nullptr);
    setDeviceResizedHandler(nullptr);
    setGameMode(nullptr);
    releaseWorld();
    shutdownCubeRenderer();
    shutdownDebugDraw();
    if (postEffect) releaseShader(postEffect);
    releaseTexture(sceneImage);
    postEffect = nullptr;
    sceneImage = nullptr;
}

void onDeviceResized() {
    updateFontScale();
    computePixelScale(deviceWidth(), deviceHeight());
    // A resize empties every dynamic buffer, the cache's slots among them.
    viewServices->invalidateVoxelCache();
    if (currentMode) currentMode->onResize();
    pauseScreenResized();
}

void drawScene(float dt) {
    interpolateCamera(dt);
    Vec4 eye = eyePositionFor(cameraPosition);
    setProjectionTransform(camera.projection);
    setViewTransform(viewMatrixFor(eye));
    setCubeFrameConstants(getViewProjection(), eye);

    // The plain post-effect copies texels one to one, so without
    // multisampling there is nothing to resolve or copy: the scene goes
    // straight into the back buffer.
    bool direct = deviceCanDrawSceneToBackBuffer();
    if (direct) setBackBufferSceneTarget();
    else setSceneTarget();
    clearAll(0);
    if (currentMode) currentMode->renderScene(dt);
    if (!direct) {
        resolveSceneTo(sceneImage);
        applyPostEffect();
    }

    setBackBufferTarget();
    beginText();
    if (currentMode) currentMode->renderOverlay(dt);
    if (aimSource.fromPad) {
        // Where the stick aims, seen through this frame's camera.
        Vec4 a = stepInput.aimPoint;
        Vec4 c = transform({a.x, a.y, a.z, 1}, viewMatrixFor(eye) * camera.projection);
        float x = (c.x / c.w + 1) * 0.5f * (float)deviceWidth(), y = (c.y / c.w + 1) * 0.5f * (float)deviceHeight();
        drawCrosshair((int)x, (int)y);
    } else if (cursorInside()) {
        float mx, my;
        mousePosition(&mx, &my);
        drawCrosshair((int)mx, deviceHeight() - 1 - (int)my);
    }
    if (sceneOverlayDrawer) sceneOverlayDrawer();
    endText();
}

void applyPostEffect() {
    setWireframe(false);
    setBackBufferTarget();
    bindShader(postEffect);
    bindTexture(0, sceneImage);
    setSamplerAddress(0, 1, 1, 1);
    // Texel centres land on pixel centres: point sampling gives the same
    // colours as linear filtering at a fraction of the cost.
    setSamplerFilter(0, false);
    float W = (float)deviceWidth(), H = (float)deviceHeight();
    float c16[4] = {0.5f, -0.5f, 0.5f + 0.5f / W, 0.5f + 0.5f / H};
    setVertexConstants(16, c16, 1);
    drawFullScreenQuad();
    setSamplerFilter(0, true);
}

void drawCrosshair(int x, int y) {
    int c = deviceHeight() / 70, d;
    if (c < 4) c = 4;
    d = c / 2;
    const uint32_t black = 0xFF000000u, white = 0xFFFFFFFFu;
    fillRect(x - c - d - 1, y - 1, x - c + 1, y + 2, black);
    fillRect(x - c - d, y, x - c, y + 1, white);
    fillRect(x + c, y - 1, x + c + d + 2, y + 2, black);
    fillRect(x + c + 1, y, x + c + d + 1, y + 1, white);
    fillRect(x - 1, y - c - d - 1, x + 2, y - c + 1, black);
    fillRect(x, y - c - d, x + 1, y - c, white);
    fillRect(x - 1, y + c, x + 2, y + c + d + 2, black);
    fillRect(x, y + c + 1, x + 1, y + c + d + 1, white);
}
