// device: the game's graphics device layer. One OpenGL 3.3 core context
// behind fixed pools of buffers, textures, shaders and vertex layouts whose
// handles stay valid across resizes; off-screen scene surfaces with optional
// multisampling; at most two frames in flight. The rest of the game draws
// only through these operations and never includes a GL header.
//
// Coordinates follow the layer's conventions, not GL's: row-vector matrices,
// clip depth 0..1, pixel centres on whole coordinates. The shaders (through
// the shared prelude in data/shaders/common.glsl) absorb the difference.
#pragma once
#include <cstdint>
#include "display_options.h"
#include "qz_math.h"

struct SDL_Window;  // the platform's window handle

//---------------------------------------------------------------------------
// Options and device state
//---------------------------------------------------------------------------

// optAntiAlias, optVSync and isFullscreen (display_options.h) are read by
// initDevice and resizeDevice; resizeDevice writes isFullscreen.

// Current back buffer size in pixels (0 without a device); also the size of
// every screen-sized resource.
int deviceWidth();
int deviceHeight();
// Samples of the scene surfaces: 0 without anti-aliasing.
int deviceSampleCount();
// Draw calls issued since initDevice; for tests and benchmarks.
uint64_t deviceDrawCount();
// Triangles drawn since initDevice (instances counted); for benchmarks.
uint64_t deviceTriangleCount();

//---------------------------------------------------------------------------
// Set-up, resize and frames
//---------------------------------------------------------------------------

// Creates the GL context for the window (made by createDeviceWindow), the
// scene surfaces and the frame fences. A missing GL 3.3 core context is
// fatal; false when the scene surfaces cannot be made (everything is then
// released). In fullscreen the desktop size replaces width and height; in a
// window the drawable size is used.
bool initDevice(SDL_Window* window, int width, int height);
// Releases everything the layer owns, in reverse order; safe when nothing exists.
void closeDevice();
// Reallocates everything that depends on the back buffer size. Zero keeps the
// current width or height; the same size and mode does nothing. Switching
// mode also switches the window between desktop fullscreen and windowed.
bool resizeDevice(int width, int height, bool fullscreen);

// What a frame draws (the scene image's drawScene) and what the loading
// screen draws; either may be null.
void setFrameDrawer(void (*draw)(float dt));
void setImmediateFrameDrawer(void (*draw)());
// Called after every successful resize, before resizeDevice returns true.
void setDeviceResizedHandler(void (*onResized)());

// Draws one frame unless the device is two frames behind (then false, and
// nothing is drawn). True: the frame must be presented with presentFrame.
bool renderFrame(float dt);
// Shows the last rendered frame; always 0.
int presentFrame();
// Draws the loading screen and presents it at once, whatever the fences say.
void drawImmediateFrame();

//---------------------------------------------------------------------------
// Render targets and clears
//---------------------------------------------------------------------------

struct DeviceTexture;
typedef DeviceTexture* TextureHandle;

void setSceneTarget();
// Point-filtered copy of the (resolved) scene colour into level 0 of texture.
void resolveSceneTo(TextureHandle texture);
// Level 0 of texture as target index (0-3); null unbinds it. Target 0 has no depth.
void setTextureTarget(int index, TextureHandle texture);
void setBackBufferTarget();
// The back buffer with the window's depth buffer: the scene drawn straight to
// the screen when nothing needs the scene surfaces (no anti-aliasing, plain
// post-effect).
void setBackBufferSceneTarget();
// Whether that is possible: no multisampling, and the window got a depth buffer.
bool deviceCanDrawSceneToBackBuffer();

// Colours are ARGB words. Clears ignore the depth-write switch: callers
// clear depth whatever setDepthWrite last said.
void clearAll(uint32_t colour);
void clearColour(uint32_t colour);

//---------------------------------------------------------------------------
// Buffers
//---------------------------------------------------------------------------

struct DeviceBuffer;
typedef DeviceBuffer* VertexBufferHandle;
typedef DeviceBuffer* IndexBufferHandle;

enum {
    MAX_VERTEX_BUFFERS = 8192,  // one per chunk of the widest view, with room
    MAX_INDEX_BUFFERS = 1000,
};

// Null (with a log line) when the pool is full or the driver refuses.
// Static buffers keep their contents over resizes; dynamic ones are
// recreated empty at the same size, and every lock starts undefined.
VertexBufferHandle createVertexBuffer(int sizeBytes, bool isStatic);
IndexBufferHandle createIndexBuffer(int indexCount, bool isStatic);  // 16-bit indices
void* lockBuffer(DeviceBuffer* handle);  // whole buffer, write only; null on failure
void unlockBuffer(DeviceBuffer* handle);
void bindVertexStream(int stream, VertexBufferHandle handle, int offsetBytes, int strideBytes);
void bindIndices(IndexBufferHandle handle);
void releaseBuffer(DeviceBuffer* handle);  // null is ignored
int bufferSize(DeviceBuffer* handle);      // bytes; 0 for null

//---------------------------------------------------------------------------
// Shaders
//---------------------------------------------------------------------------

struct DeviceShader;
typedef DeviceShader* ShaderHandle;

// Loads "cache/NAME@DEFINES.cache" beside the program. defines: texts each
// ended by a zero byte, the list by an empty text; null = none. Any failure
// is fatal; shaders are never compiled from project sources at run time.
ShaderHandle loadShader(const char* name, const char* defines);
void bindShader(ShaderHandle handle);
// float4 registers shared by every shader (c0..c255), seen by the next draw.
void setVertexConstants(int firstRegister, const float* data, int registerCount);
void releaseShader(ShaderHandle handle);

//---------------------------------------------------------------------------
// Vertex layouts and instancing
//---------------------------------------------------------------------------

#pragma pack(push, 1)
// One element of a layout description; a list ends with stream 255.
struct VertexLayout {
    uint16_t offset;     // bytes within the vertex
    uint8_t stream;      // 0-15, 255 ends the list
    uint8_t type;        // VertexType
    uint8_t usage;       // VertexUsage
    uint8_t usageIndex;
};
#pragma pack(pop)
static_assert(sizeof(VertexLayout) == 6, "layout elements are 6 bytes");

enum VertexType {
    VtFloat1 = 1, VtFloat2, VtFloat3, VtFloat4,
    VtColour = 5,  // ARGB word: the shader sees (R, G, B, A) / 255
    VtShort2 = 6, VtShort4 = 7,  // not normalised
};
enum VertexUsage { VuPosition = 0, VuNormal = 1, VuColour = 2, VuTexCoord = 3, VuTangent = 4 };
#define VERTEX_LAYOUT_END {0, 255, 0, 0, 0}

struct DeviceVertexLayout;
typedef DeviceVertexLayout* VertexLayoutHandle;

// Shader input locations: position 0/1 -> 0/1, normal -> 2, colour -> 3,
// texture coordinate 0-7 -> 4-11, tangent -> 12.
VertexLayoutHandle createVertexLayout(const VertexLayout* description);
void bindVertexLayout(VertexLayoutHandle layout);
// Positive: indexed draws repeat the geometry of stream 0 that many times and
// stream 1 advances once per instance. 0 or less: plain draws.
void setInstancing(int instanceCount);

//---------------------------------------------------------------------------
// Draw calls (failures are fatal)
//---------------------------------------------------------------------------

enum PrimitiveType {
    PrimPointList = 1, PrimLineList, PrimLineStrip,
    PrimTriangleList, PrimTriangleStrip, PrimTriangleFan,
};

void drawIndexed(int primitiveType, int baseVertex, int minIndex, int vertexCount, int startIndex, int primitiveCount);
void drawPrimitives(int primitiveType, int startVertex, int primitiveCount);
// Two triangles covering clip space, position-only at input location 0.
void drawFullScreenQuad();

//---------------------------------------------------------------------------
// Textures and samplers
//---------------------------------------------------------------------------

enum { MAX_TEXTURES = 1000 };
enum { UsageRenderTarget = 1 };
enum { PoolDefault = 0, PoolManaged = 1 };
// Format codes: 1 ARGB8, 2 RG16, 3 R16F, 4 RG16F, 5 RGBA16F, 6 R32F, 7 RG32F, 8 RGBA32F.
enum { FormatArgb8 = 1 };

// 0 x 0 means the back buffer size, followed over resizes. Default-pool
// textures are recreated (contents lost) on a resize; managed ones stay.
TextureHandle createTexture(int width, int height, int levels, uint32_t usage, int format, int memoryPool);
// CPU copy of level 0 (rows bottom-up as uploaded), uploaded by the unlock.
void* lockTexture(TextureHandle handle, bool discard, int* pitch);
void unlockTexture(TextureHandle handle);
void bindTexture(int stage, TextureHandle handle);
void releaseTexture(TextureHandle handle);
int textureWidth(TextureHandle handle);  // actual size, 0 for null
int textureHeight(TextureHandle handle);

void setSamplerFilter(int stage, bool linear);
// 0 wrap, 1 clamp, 2 border; a negative v takes u, a negative w takes v.
void setSamplerAddress(int stage, int u, int v, int w);

//---------------------------------------------------------------------------
// Render states and transforms
//---------------------------------------------------------------------------

void setBlendOff();
void setAlphaBlend();
void setAlphaTest(int ref);  // below 1: off; else pass when alpha (0-255) >= ref
void setCulling(bool on);    // on: counter-clockwise triangles are culled
void setDepthTest(bool on);
void setDepthWrite(bool on);
void setWireframe(bool on);

// Matrices are the foundation's Mat4 (row-vector convention: m[3] is the
// translation).
void setViewTransform(const Mat4& matrix);
void setProjectionTransform(const Mat4& matrix);
Mat4 getViewProjection();

// The driver's estimate in bytes, 0 when it offers none. 64 bits: software
// renderers report all of system memory.
uint64_t availableTextureMemory();
