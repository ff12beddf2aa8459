// Device set-up, resize and the frame bracket with its two fences.
#include "device_internal.h"
#include "platform_window.h"

PlatformGlContext glContext = nullptr;
DeviceState device;

int deviceWidth() { return glContext ? device.width : 0; }
int deviceHeight() { return glContext ? device.height : 0; }
int deviceSampleCount() { return device.samples; }
bool deviceCanDrawSceneToBackBuffer() { return glContext && device.samples == 0 && device.backBufferDepth; }
uint64_t deviceDrawCount() { return device.drawCount; }
uint64_t deviceTriangleCount() { return device.triangleCount; }

void setFrameDrawer(void (*draw)(float)) { device.frameDrawer = draw; }
void setImmediateFrameDrawer(void (*draw)()) { device.immediateDrawer = draw; }
void setDeviceResizedHandler(void (*onResized)()) { device.resizedHandler = onResized; }

//---------------------------------------------------------------------------
// Presentation parameters
//---------------------------------------------------------------------------

// Chooses the window mode, swap interval and scene multisampling from the
// options. In fullscreen the desktop size replaces *width and *height.
static void fillPresentParameters(int* width, int* height) {
    int desktopWidth = 0, desktopHeight = 0;
    bool haveMode = desktopModeSize(device.window, &desktopWidth, &desktopHeight);
    if (isFullscreen && haveMode) {
        *width = desktopWidth;
        *height = desktopHeight;
    }

    // Vsync is a wish: software renderers and virtual displays may refuse
    // it. Asked again only when the option changed, so a resize logs nothing new.
    int interval = optVSync ? 1 : 0;
    if (interval != device.swapInterval) {
        device.swapInterval = interval;
        setSwapInterval(interval);
    }

    GLint maxSamples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    device.samples = 0;
    device.antiAliasQuality = 0;
    if (optAntiAlias && maxSamples > 1) {
        device.samples = maxSamples;
        device.antiAliasQuality = maxSamples;
        logMessage("AA quality %d", maxSamples);
    }
}

//---------------------------------------------------------------------------
// Fences
//---------------------------------------------------------------------------

static void releaseFences() {
    for (GLsync& f : device.frameFence) {
        if (f) glDeleteSync(f);
        f = nullptr;
    }
}

// Both fences are issued at once and waited for, so the first two frames never wait.
static void createFences() {
    releaseFences();
    for (GLsync& f : device.frameFence) f = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    device.fenceIndex = 0;
    glFinish();
}

//---------------------------------------------------------------------------
// Set-up and release
//---------------------------------------------------------------------------

static void setInitialState() {
    glGenVertexArrays(1, &device.vertexArray);
    glBindVertexArray(device.vertexArray);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_DITHER);
    glDisable(GL_SCISSOR_TEST);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    device.depthWrite = true;
    device.depthTest = true;
    device.targetHasDepth = true;

    glGenBuffers(1, &device.constantBuffer);
    glBindBuffer(GL_UNIFORM_BUFFER, device.constantBuffer);
    glBufferData(GL_UNIFORM_BUFFER, sizeof device.constants, device.constants, GL_DYNAMIC_DRAW);
    glBindBufferBase(GL_UNIFORM_BUFFER, 0, device.constantBuffer);
    glGenBuffers(1, &device.targetBuffer);
    glBindBuffer(GL_UNIFORM_BUFFER, device.targetBuffer);
    glBufferData(GL_UNIFORM_BUFFER, sizeof(TargetState), nullptr, GL_DYNAMIC_DRAW);
    glBindBufferBase(GL_UNIFORM_BUFFER, 1, device.targetBuffer);
    device.target.alphaRef = -1;
    device.targetDirty = true;

    static const float quad[12] = {-1, -1, 0, -1, 1, 0, 1, -1, 0, 1, 1, 0};
    glGenBuffers(1, &device.quadBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, device.quadBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);

    glGenFramebuffers(1, &device.textureFramebuffer);
    glGenFramebuffers(1, &device.resolveFramebuffer);
    glGenSamplers(NUM_SAMPLERS, device.samplers);
    for (int i = 0; i < NUM_SAMPLERS; i++) glBindSampler((GLuint)i, device.samplers[i]);
}

bool initDevice(SDL_Window* window, int width, int height) {
    closeDevice();
    device.window = window;
    device.swapInterval = -1;

    glContext = window ? createGlContext(window) : nullptr;
    if (!glContext)
        fatalError("can't create an OpenGL 3.3 core context (old driver or no GL display?): %s",
                   window ? platformError() : "no window");
    logMessage("GL renderer: %s, %s", (const char*)glGetString(GL_RENDERER), (const char*)glGetString(GL_VERSION));

    setInitialState();
    GLint depthBits = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
    device.backBufferDepth = depthBits >= 16;
    if (isFullscreen) setWindowFullscreen(window, true);
    fillPresentParameters(&width, &height);
    // Pixels, not window units: a HiDPI window's drawable is larger.
    if (!isFullscreen) glDrawableSize(window, &width, &height);
    device.width = width;
    device.height = height;

    if (!createSceneSurfaces()) {
        closeDevice();
        return false;
    }
    createFences();
    setSamplerDefaults();
    setBackBufferTarget();
    logMessage("init d3d ok (%dx%d)", width, height);
    return true;
}

void closeDevice() {
    if (!glContext) return;
    logMessage("close d3d");
    releaseFences();
    releaseAllTextures();
    releaseAllBuffers();
    releaseAllVertexLayouts();
    releaseAllShaders();
    releaseSceneSurfaces();

    glDeleteSamplers(NUM_SAMPLERS, device.samplers);
    glDeleteFramebuffers(1, &device.textureFramebuffer);
    glDeleteFramebuffers(1, &device.resolveFramebuffer);
    glDeleteBuffers(1, &device.quadBuffer);
    glDeleteBuffers(1, &device.constantBuffer);
    glDeleteBuffers(1, &device.targetBuffer);
    glDeleteVertexArrays(1, &device.vertexArray);
    destroyGlContext(glContext);
    glContext = nullptr;

    // Keep what callers set up once; clear everything that belonged to the context.
    void (*frameDrawer)(float) = device.frameDrawer;
    void (*immediateDrawer)() = device.immediateDrawer;
    void (*resizedHandler)() = device.resizedHandler;
    device = DeviceState();
    device.frameDrawer = frameDrawer;
    device.immediateDrawer = immediateDrawer;
    device.resizedHandler = resizedHandler;
}

//---------------------------------------------------------------------------
// Resize
//---------------------------------------------------------------------------

static void unbindStreamsAndStages() {
    bindIndices(nullptr);
    for (int i = 0; i < NUM_STREAMS; i++) bindVertexStream(i, nullptr, 0, 0);
    for (int i = 0; i < NUM_TEXTURE_STAGES; i++) bindTexture(i, nullptr);
}

bool resizeDevice(int width, int height, bool fullscreen) {
    if (!glContext) return false;
    if (width == 0) width = device.width;
    if (height == 0) height = device.height;
    if (width == device.width && height == device.height && fullscreen == isFullscreen) return true;
    logMessage("=== resizing d3d to %dx%d %s", width, height, fullscreen ? "fullscreen" : "windowed");

    unbindStreamsAndStages();
    releaseDynamicBuffers();
    releaseDefaultPoolTextures();
    releaseFences();
    releaseSceneSurfaces();

    bool modeChanged = fullscreen != isFullscreen;
    isFullscreen = fullscreen;
    if (modeChanged) {
        int rc = setWindowFullscreen(device.window, fullscreen);
        if (rc != 0) {
            logMessage("Reset failed (code 0x%08X)", (unsigned)rc);
            return false;
        }
    }
    fillPresentParameters(&width, &height);

    device.width = width;
    device.height = height;
    recreateDefaultPoolTextures();
    recreateDynamicBuffers();
    if (!createSceneSurfaces()) {
        logMessage("failed to recreate scene RT");
        return false;
    }
    createFences();
    setSamplerDefaults();
    setBackBufferTarget();
    logMessage("resized d3d to %dx%d %s", width, height, fullscreen ? "fullscreen" : "windowed");
    if (device.resizedHandler) device.resizedHandler();
    return true;
}

//---------------------------------------------------------------------------
// Frames
//---------------------------------------------------------------------------

bool renderFrame(float dt) {
    if (!glContext) return false;
    GLsync fence = device.frameFence[device.fenceIndex];
    if (fence) {
        // Never wait: a frame the GPU is not ready for is skipped. A failed
        // poll stands in for a lost device and skips as well.
        GLenum r = glClientWaitSync(fence, GL_SYNC_FLUSH_COMMANDS_BIT, 0);
        if (r != GL_ALREADY_SIGNALED && r != GL_CONDITION_SATISFIED) return false;
    }

    setCulling(true);
    if (device.frameDrawer) device.frameDrawer(dt);

    if (fence) glDeleteSync(fence);
    device.frameFence[device.fenceIndex] = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    device.fenceIndex ^= 1;
    return true;
}

int presentFrame() {
    if (!glContext) return 0;
    // The back buffer is undefined after the swap and the front buffer cannot
    // be read back reliably: a pending screenshot reads the frame now.
    captureScreenshotIfPending();
    swapWindowBuffers(device.window);
    return 0;
}

void drawImmediateFrame() {
    if (!glContext) return;
    setCulling(true);
    if (device.immediateDrawer) device.immediateDrawer();
    presentFrame();
}
