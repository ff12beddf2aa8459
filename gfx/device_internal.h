// device_internal: state shared by the device layer's modules (device set-up,
// buffers, shaders, misc resources and states, render targets). Not for
// callers outside gfx/.
#pragma once
#include <epoxy/gl.h>
#include "device.h"
#include "gl_window.h"
#include "qz_dynArray.h"
#include "qz_utils.h"

// The GL context; null when none exists. Its assertions keep the name "d3d"
// that logs and users know.
extern PlatformGlContext glContext;

enum { MAX_SHADERS = 64, MAX_VERTEX_LAYOUTS = 64, MAX_VDECL_LEN = 31 };
enum { NUM_STREAMS = 16, NUM_SAMPLERS = 16, NUM_TEXTURE_STAGES = 32 };
enum { NUM_CONSTANTS = 256 };

// Input locations of the shaders, fixed for all layouts.
enum { LocationCount = 13 };

// Buffer flags: bit 0 static. A dynamic entry released for a resize keeps
// bit 1 so no other creation takes it before it is recreated.
enum { BufferStatic = 1, BufferAwaitingRecreate = 2 };

struct DeviceBuffer {
    GLuint buffer;  // 0 = free entry (unless awaiting recreate)
    int size;       // bytes
    uint32_t flags;
    bool isIndex;
};

struct DeviceTexture {
    GLuint texture;  // 0 = free entry
    int width, height;  // as created: 0 x 0 = back buffer size
    int levels;
    uint32_t usage;
    int format;
    int memoryPool;
    int actualWidth, actualHeight;
    uint8_t* staging;  // CPU copy of level 0 while locked, kept for the next lock
};

struct LayoutElement {
    int stream, offset, location;
    GLint components;
    GLenum type;
    GLboolean normalised, integer;
};

struct DeviceVertexLayout {
    bool used;
    int count;
    LayoutElement elements[MAX_VDECL_LEN];
};

struct ShaderDependency {
    FixedString<260> name;
    int64_t time;  // modification time in ns, 0 when the file is missing
};

struct DeviceShader {
    GLuint vertexShader;  // 0 = free record
    GLuint pixelShader;
    GLuint program;
    FixedString<260> name;
    char defines[512];
    DynArray<ShaderDependency> dependencies;
};

struct StreamBinding {
    DeviceBuffer* buffer;
    int offset, stride;
};

// Per-target state the shaders read from the second uniform block.
struct TargetState {
    float pixelShift[4];  // (1/W, -1/H, 0, 0) of the bound target
    float alphaRef;       // -1 = alpha test off
    float pad[3];
};

struct DeviceState {
    SDL_Window* window;
    int width, height;
    int samples;             // 0 or the multisample count of the scene surfaces
    int antiAliasQuality;    // sample count used, as logged
    int swapInterval;        // last one asked of the platform, -1 before the first

    GLuint vertexArray;
    GLuint sceneFramebuffer, sceneColourSurface, sceneDepthSurface;
    GLuint textureFramebuffer;  // setTextureTarget
    GLuint resolveFramebuffer;  // resolveSceneTo
    GLsync frameFence[2];
    int fenceIndex;
    GLuint samplers[NUM_SAMPLERS];
    GLuint constantBuffer, targetBuffer;
    GLuint quadBuffer;

    // Current bindings, applied at draw time.
    GLuint currentFramebuffer;
    int targetWidth, targetHeight;
    StreamBinding streams[NUM_STREAMS];
    DeviceBuffer* indices;
    DeviceVertexLayout* layout;
    int instanceCount;
    bool depthWrite;
    bool depthTest;       // as asked; GL's test is on only when the target has depth too
    bool targetHasDepth;  // the back buffer bound as a plain target counts as having no depth
    bool backBufferDepth; // the window has a depth buffer (asked for, not guaranteed)

    float constants[NUM_CONSTANTS * 4];
    int dirtyFirst, dirtyEnd;  // register range to upload before the next draw
    TargetState target;
    bool targetDirty;

    Mat4 view, projection;
    uint64_t drawCount;
    uint64_t triangleCount;

    void (*frameDrawer)(float dt);
    void (*immediateDrawer)();
    void (*resizedHandler)();
};
extern DeviceState device;

// Pools (buffers, textures_states, shaders).
extern DeviceBuffer vertexBufferPool[MAX_VERTEX_BUFFERS];
extern DeviceBuffer indexBufferPool[MAX_INDEX_BUFFERS];
extern DeviceTexture texturePool[MAX_TEXTURES];
extern DeviceShader shaderPool[MAX_SHADERS];
extern DeviceVertexLayout layoutPool[MAX_VERTEX_LAYOUTS];

// Reset support: release before and recreate after a resize.
void releaseDynamicBuffers();
void recreateDynamicBuffers();
void releaseDefaultPoolTextures();
void recreateDefaultPoolTextures();
void releaseAllBuffers();
void releaseAllTextures();
void releaseAllVertexLayouts();
void releaseAllShaders();

// Render-target helpers (render_targets).
bool createSceneSurfaces();
void releaseSceneSurfaces();
void bindFramebuffer(GLuint framebuffer, int width, int height, bool hasDepth);
void applyDepthTest();
// Print Screen: writes the shot from the back buffer when one is pending (screenshot).
void captureScreenshotIfPending();
void setSamplerDefaults();
void applyDrawState();  // constants, target state, layout and streams
void writeTargetState();
