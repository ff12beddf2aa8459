// Vertex layouts, textures, samplers, render states, transforms and the
// texture memory estimate.
#include <cstdlib>
#include "device_internal.h"

DeviceTexture texturePool[MAX_TEXTURES];
DeviceVertexLayout layoutPool[MAX_VERTEX_LAYOUTS];

//---------------------------------------------------------------------------
// Vertex layouts
//---------------------------------------------------------------------------

// Input location of a usage, or -1 when the fixed table has none.
static int inputLocation(int usage, int index) {
    switch (usage) {
        case VuPosition: return index < 2 ? index : -1;
        case VuNormal: return index == 0 ? 2 : -1;
        case VuColour: return index == 0 ? 3 : -1;
        case VuTexCoord: return index < 8 ? 4 + index : -1;
        default: return index == 0 ? 12 : -1;
    }
}

VertexLayoutHandle createVertexLayout(const VertexLayout* description) {
    DeviceVertexLayout* layout = nullptr;
    for (DeviceVertexLayout& l : layoutPool)
        if (!l.used) {
            layout = &l;
            break;
        }
    if (!layout) fatalError("reached maximum vertex declaration count");

    DeviceVertexLayout made = {};
    int i = 0;
    for (const VertexLayout* d = description; d->stream != 255; d++) {
        ASSERT(i<MAX_VDECL_LEN);
        i++;
        LayoutElement e = {};
        e.stream = d->stream;
        e.offset = d->offset;
        switch (d->type) {
            case VtFloat1: case VtFloat2: case VtFloat3: case VtFloat4:
                e.components = d->type;
                e.type = GL_FLOAT;
                break;
            // Bytes B, G, R, A in memory: the shader sees (R, G, B, A) / 255.
            case VtColour: e.components = GL_BGRA; e.type = GL_UNSIGNED_BYTE; e.normalised = GL_TRUE; break;
            case VtShort2: e.components = 2; e.type = GL_SHORT; break;
            case VtShort4: e.components = 4; e.type = GL_SHORT; break;
            default: continue;  // unused element
        }
        e.location = inputLocation(d->usage, d->usageIndex);
        if (e.location < 0 || e.stream >= NUM_STREAMS)
            fatalError("failed to create vertex declaration (code 0x%08X)", GL_INVALID_VALUE);
        made.elements[made.count++] = e;
    }
    made.used = true;
    *layout = made;
    return layout;
}

void bindVertexLayout(VertexLayoutHandle layout) { device.layout = layout; }

void setInstancing(int instanceCount) { device.instanceCount = instanceCount > 0 ? instanceCount : 0; }

void releaseAllVertexLayouts() {
    for (DeviceVertexLayout& l : layoutPool) l = DeviceVertexLayout();
    device.layout = nullptr;
}

//---------------------------------------------------------------------------
// Textures
//---------------------------------------------------------------------------

struct TextureFormat {
    GLenum internal, format, type;
    int bytesPerTexel;
};

static bool textureFormat(int code, TextureFormat* f) {
    static const TextureFormat formats[8] = {
        {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4},  {GL_RG16, GL_RG, GL_UNSIGNED_SHORT, 4},
        {GL_R16F, GL_RED, GL_HALF_FLOAT, 2},       {GL_RG16F, GL_RG, GL_HALF_FLOAT, 4},
        {GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT, 8},   {GL_R32F, GL_RED, GL_FLOAT, 4},
        {GL_RG32F, GL_RG, GL_FLOAT, 8},            {GL_RGBA32F, GL_RGBA, GL_FLOAT, 16},
    };
    if (code < 1 || code > 8) return false;
    *f = formats[code - 1];
    return true;
}

static int fullMipCount(int w, int h) {
    int n = 1;
    while (w > 1 || h > 1) {
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
        n++;
    }
    return n;
}

static GLenum createTextureObject(DeviceTexture* t) {
    TextureFormat f;
    if (!textureFormat(t->format, &f)) return GL_INVALID_ENUM;
    int w = t->width, h = t->height;
    if (w == 0 && h == 0) {
        w = device.width;
        h = device.height;
    }
    if (w <= 0 || h <= 0) return GL_INVALID_VALUE;
    int levels = t->levels > 0 ? t->levels : fullMipCount(w, h);
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, name);
    int lw = w, lh = h;
    for (int i = 0; i < levels; i++) {
        glTexImage2D(GL_TEXTURE_2D, i, (GLint)f.internal, lw, lh, 0, f.format, f.type, nullptr);
        lw = lw > 1 ? lw / 2 : 1;
        lh = lh > 1 ? lh / 2 : 1;
    }
    // Without this a one-level texture is incomplete under a mip filter and samples black.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, levels - 1);
    GLenum err = glGetError();
    glBindTexture(GL_TEXTURE_2D, 0);
    if (err != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return err;
    }
    t->texture = name;
    t->actualWidth = w;
    t->actualHeight = h;
    t->levels = levels;
    return 0;
}

TextureHandle createTexture(int width, int height, int levels, uint32_t usage, int format, int memoryPool) {
    ASSERT_TEXT(glContext, "d3d");
    DeviceTexture* t = nullptr;
    for (DeviceTexture& e : texturePool)
        if (!e.texture) {
            t = &e;
            break;
        }
    if (!t) {
        logMessage("reached MAX_TEXTURES");
        return nullptr;
    }
    qzFree(t->staging);
    *t = DeviceTexture();
    t->width = width;
    t->height = height;
    t->levels = levels;
    t->usage = usage;
    t->format = format;
    t->memoryPool = memoryPool;
    GLenum err = createTextureObject(t);
    if (err) {
        logMessage("error creating texture (code 0x%08X)", err);
        return nullptr;
    }
    return t;
}

void* lockTexture(TextureHandle t, bool discard, int* pitch) {
    (void)discard;  // the staging copy is always the caller's to fill
    if (!t || !t->texture) return nullptr;
    TextureFormat f;
    if (!textureFormat(t->format, &f)) return nullptr;
    int rowBytes = t->actualWidth * f.bytesPerTexel;
    if (!t->staging) {
        t->staging = (uint8_t*)qzRealloc(nullptr, (size_t)rowBytes * (size_t)t->actualHeight);
        if (!t->staging) {
            logMessage("error locking texture (code 0x%08X)", GL_OUT_OF_MEMORY);
            return nullptr;
        }
    }
    if (pitch) *pitch = rowBytes;
    return t->staging;
}

void unlockTexture(TextureHandle t) {
    if (!t || !t->texture || !t->staging) return;
    TextureFormat f;
    if (!textureFormat(t->format, &f)) return;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, t->texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, t->actualWidth, t->actualHeight, f.format, f.type, t->staging);
    if (t->levels > 1) glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void bindTexture(int stage, TextureHandle t) {
    ASSERT(stage>=0 && stage<NUM_TEXTURE_STAGES);
    if (!glContext) return;
    glActiveTexture(GL_TEXTURE0 + (GLenum)stage);
    glBindTexture(GL_TEXTURE_2D, t ? t->texture : 0);
    glActiveTexture(GL_TEXTURE0);
}

static void releaseTextureObject(DeviceTexture* t) {
    if (t->texture && glContext) glDeleteTextures(1, &t->texture);
    t->texture = 0;
}

void releaseTexture(TextureHandle t) {
    if (!t) return;
    releaseTextureObject(t);
    qzFree(t->staging);
    *t = DeviceTexture();
}

int textureWidth(TextureHandle t) { return t ? t->actualWidth : 0; }
int textureHeight(TextureHandle t) { return t ? t->actualHeight : 0; }

// Default-pool entries keep their parameters (and stay taken) while released.
void releaseDefaultPoolTextures() {
    for (DeviceTexture& t : texturePool)
        if (t.texture && t.memoryPool == PoolDefault) {
            releaseTextureObject(&t);
            t.usage |= 0x80000000u;  // marks "awaiting recreate"
        }
}

void recreateDefaultPoolTextures() {
    for (DeviceTexture& t : texturePool) {
        if (!(t.usage & 0x80000000u)) continue;
        t.usage &= ~0x80000000u;
        qzFree(t.staging);
        t.staging = nullptr;
        GLenum err = createTextureObject(&t);
        if (err) logMessage("error recreating texture (code 0x%08X)", err);
    }
}

void releaseAllTextures() {
    for (DeviceTexture& t : texturePool) releaseTexture(&t);
}

//---------------------------------------------------------------------------
// Samplers
//---------------------------------------------------------------------------

void setSamplerFilter(int stage, bool linear) {
    ASSERT(stage>=0 && stage<NUM_SAMPLERS);
    GLuint s = device.samplers[stage];
    glSamplerParameteri(s, GL_TEXTURE_MAG_FILTER, linear ? GL_LINEAR : GL_NEAREST);
    glSamplerParameteri(s, GL_TEXTURE_MIN_FILTER, linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST);
}

static GLint addressMode(int code) {
    switch (code) {
        case 0: return GL_REPEAT;
        case 2: return GL_CLAMP_TO_BORDER;
        default: return GL_CLAMP_TO_EDGE;
    }
}

void setSamplerAddress(int stage, int u, int v, int w) {
    ASSERT(stage>=0 && stage<NUM_SAMPLERS);
    if (v < 0) v = u;
    if (w < 0) w = v;
    GLuint s = device.samplers[stage];
    glSamplerParameteri(s, GL_TEXTURE_WRAP_S, addressMode(u));
    glSamplerParameteri(s, GL_TEXTURE_WRAP_T, addressMode(v));
    glSamplerParameteri(s, GL_TEXTURE_WRAP_R, addressMode(w));
}

void setSamplerDefaults() {
    for (int i = 0; i < NUM_SAMPLERS; i++) {
        setSamplerFilter(i, true);
        setSamplerAddress(i, 1, 1, 1);
    }
}

//---------------------------------------------------------------------------
// Render states
//---------------------------------------------------------------------------

void setBlendOff() { glDisable(GL_BLEND); }

void setAlphaBlend() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// Core GL has no alpha test: every fragment shader discards against this reference.
void setAlphaTest(int ref) {
    float r = ref < 1 ? -1.0f : (float)ref;
    if (device.target.alphaRef != r) {
        device.target.alphaRef = r;
        device.targetDirty = true;
    }
}

void setCulling(bool on) {
    if (on) glEnable(GL_CULL_FACE);
    else glDisable(GL_CULL_FACE);
}

void setDepthTest(bool on) {
    device.depthTest = on;
    applyDepthTest();
}

// The window's depth buffer serves only a scene drawn straight into the back
// buffer; bound as a plain target the back buffer behaves as if it had none.
void applyDepthTest() {
    if (device.depthTest && device.targetHasDepth) glEnable(GL_DEPTH_TEST);
    else glDisable(GL_DEPTH_TEST);
}

void setDepthWrite(bool on) {
    device.depthWrite = on;
    glDepthMask(on ? GL_TRUE : GL_FALSE);
}

void setWireframe(bool on) { glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL); }

//---------------------------------------------------------------------------
// Transforms
//---------------------------------------------------------------------------

void setViewTransform(const Mat4& matrix) { device.view = matrix; }
void setProjectionTransform(const Mat4& matrix) { device.projection = matrix; }
Mat4 getViewProjection() { return device.view * device.projection; }

//---------------------------------------------------------------------------
// Texture memory
//---------------------------------------------------------------------------

#ifndef GL_GPU_MEMORY_INFO_CURRENT_AVAILABLE_VIDMEM_NVX
#define GL_GPU_MEMORY_INFO_CURRENT_AVAILABLE_VIDMEM_NVX 0x9049
#endif
#ifndef GL_TEXTURE_FREE_MEMORY_ATI
#define GL_TEXTURE_FREE_MEMORY_ATI 0x87FC
#endif

uint64_t availableTextureMemory() {
    ASSERT_TEXT(glContext, "d3d");
    // The queries report kilobytes or megabytes.
    if (epoxy_has_gl_extension("GL_NVX_gpu_memory_info")) {
        GLint kb = 0;
        glGetIntegerv(GL_GPU_MEMORY_INFO_CURRENT_AVAILABLE_VIDMEM_NVX, &kb);
        return (uint64_t)(uint32_t)kb * 1024u;
    }
    if (epoxy_has_gl_extension("GL_ATI_meminfo")) {
        GLint kb[4] = {};
        glGetIntegerv(GL_TEXTURE_FREE_MEMORY_ATI, kb);
        return (uint64_t)(uint32_t)kb[0] * 1024u;
    }
    return glxVideoMemoryMb(device.window) << 20;
}
