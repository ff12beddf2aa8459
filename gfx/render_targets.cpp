// Render targets, clears, the scene resolve and the draw calls.
#include "device_internal.h"

//---------------------------------------------------------------------------
// Scene surfaces
//---------------------------------------------------------------------------

static GLuint makeRenderbuffer(GLenum format, int samples, int width, int height) {
    GLuint rb = 0;
    glGenRenderbuffers(1, &rb);
    glBindRenderbuffer(GL_RENDERBUFFER, rb);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
    return rb;
}

bool createSceneSurfaces() {
    releaseSceneSurfaces();
    int w = device.width, h = device.height;
    while (glGetError() != GL_NO_ERROR) {
    }

    device.sceneColourSurface = makeRenderbuffer(GL_RGBA8, device.samples, w, h);
    glGenFramebuffers(1, &device.sceneFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, device.sceneFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, device.sceneColourSurface);
    GLenum err = glGetError();
    if (err != GL_NO_ERROR) {
        logMessage("FAILED to create scene render target surface (code 0x%08X)", err);
        return false;
    }
    device.sceneDepthSurface = makeRenderbuffer(GL_DEPTH24_STENCIL8, device.samples, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, device.sceneDepthSurface);
    err = glGetError();
    GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (err != GL_NO_ERROR || status != GL_FRAMEBUFFER_COMPLETE) {
        logMessage("FAILED to create scene z-buffer surface (code 0x%08X)", err != GL_NO_ERROR ? err : status);
        return false;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, device.currentFramebuffer);
    return true;
}

void releaseSceneSurfaces() {
    if (device.currentFramebuffer && (device.currentFramebuffer == device.sceneFramebuffer)) setBackBufferTarget();
    GLuint rbs[2] = {device.sceneDepthSurface, device.sceneColourSurface};
    glDeleteRenderbuffers(2, rbs);
    glDeleteFramebuffers(1, &device.sceneFramebuffer);
    device.sceneDepthSurface = device.sceneColourSurface = 0;
    device.sceneFramebuffer = 0;
}

//---------------------------------------------------------------------------
// Targets
//---------------------------------------------------------------------------

void writeTargetState() {
    int w = device.targetWidth > 0 ? device.targetWidth : 1;
    int h = device.targetHeight > 0 ? device.targetHeight : 1;
    device.target.pixelShift[0] = 1.0f / (float)w;
    device.target.pixelShift[1] = -1.0f / (float)h;
    device.targetDirty = true;
}

// GL keeps the viewport when the target changes; callers expect every
// target change to reset it to the whole target.
void bindFramebuffer(GLuint framebuffer, int width, int height, bool hasDepth) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    device.currentFramebuffer = framebuffer;
    device.targetWidth = width;
    device.targetHeight = height;
    device.targetHasDepth = hasDepth;
    applyDepthTest();
    writeTargetState();
}

void setSceneTarget() { bindFramebuffer(device.sceneFramebuffer, device.width, device.height, true); }

void setBackBufferTarget() { bindFramebuffer(0, device.width, device.height, false); }

void setBackBufferSceneTarget() { bindFramebuffer(0, device.width, device.height, true); }

void setTextureTarget(int index, TextureHandle texture) {
    ASSERT(index>=0 && index<4);
    glBindFramebuffer(GL_FRAMEBUFFER, device.textureFramebuffer);
    // Attach on every bind: a resize may have reallocated the texture.
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + (GLenum)index, GL_TEXTURE_2D,
                           texture ? texture->texture : 0, 0);
    if (index == 0) glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
    GLenum buffers[4];
    int n = 0;
    for (int i = 0; i < 4; i++) {
        GLint name = 0;
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + (GLenum)i,
                                              GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
        buffers[i] = name ? GL_COLOR_ATTACHMENT0 + (GLenum)i : GL_NONE;
        if (name) n = i + 1;
    }
    glDrawBuffers(n > 0 ? n : 1, buffers);
    if (index == 0 && texture)
        bindFramebuffer(device.textureFramebuffer, texture->actualWidth, texture->actualHeight, false);
    else glBindFramebuffer(GL_FRAMEBUFFER, device.currentFramebuffer);
}

void resolveSceneTo(TextureHandle t) {
    ASSERT(t);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, device.sceneFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, device.resolveFramebuffer);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t->texture, 0);
    glDisable(GL_SCISSOR_TEST);
    // From a multisampled source the rectangles must match exactly, or GL
    // silently copies nothing.
    glBlitFramebuffer(0, 0, device.width, device.height, 0, 0, device.width, device.height, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, device.currentFramebuffer);
}

//---------------------------------------------------------------------------
// Clears
//---------------------------------------------------------------------------

static void clearWith(GLbitfield bits, uint32_t colour) {
    glClearColor((float)((colour >> 16) & 255) / 255.0f, (float)((colour >> 8) & 255) / 255.0f,
                 (float)(colour & 255) / 255.0f, (float)(colour >> 24) / 255.0f);
    glClearDepth(1.0);
    glClearStencil(0);
    // glClear obeys the write masks; our clears must not.
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_SCISSOR_TEST);
    glClear(bits);
    glDepthMask(device.depthWrite ? GL_TRUE : GL_FALSE);
}

void clearAll(uint32_t colour) { clearWith(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT, colour); }
void clearColour(uint32_t colour) { clearWith(GL_COLOR_BUFFER_BIT, colour); }

//---------------------------------------------------------------------------
// Draw state
//---------------------------------------------------------------------------

void applyDrawState() {
    if (device.dirtyEnd > device.dirtyFirst) {
        glBindBuffer(GL_UNIFORM_BUFFER, device.constantBuffer);
        glBufferSubData(GL_UNIFORM_BUFFER, device.dirtyFirst * 16, (device.dirtyEnd - device.dirtyFirst) * 16,
                        device.constants + device.dirtyFirst * 4);
        device.dirtyFirst = device.dirtyEnd = 0;
    }
    if (device.targetDirty) {
        glBindBuffer(GL_UNIFORM_BUFFER, device.targetBuffer);
        glBufferSubData(GL_UNIFORM_BUFFER, 0, sizeof(TargetState), &device.target);
        device.targetDirty = false;
    }

    // A layout replaces all inputs: every location it does not feed is off.
    bool used[LocationCount] = {};
    if (DeviceVertexLayout* layout = device.layout) {
        for (int i = 0; i < layout->count; i++) {
            const LayoutElement& e = layout->elements[i];
            const StreamBinding& s = device.streams[e.stream];
            if (!s.buffer || !s.buffer->buffer) continue;
            glBindBuffer(GL_ARRAY_BUFFER, s.buffer->buffer);
            const void* at = (const void*)(intptr_t)(s.offset + e.offset);
            if (e.integer) glVertexAttribIPointer((GLuint)e.location, e.components, e.type, s.stride, at);
            else glVertexAttribPointer((GLuint)e.location, e.components, e.type, e.normalised, s.stride, at);
            glVertexAttribDivisor((GLuint)e.location, (e.stream == 1 && device.instanceCount > 0) ? 1 : 0);
            glEnableVertexAttribArray((GLuint)e.location);
            used[e.location] = true;
        }
    }
    for (int i = 0; i < LocationCount; i++)
        if (!used[i]) glDisableVertexAttribArray((GLuint)i);
}

//---------------------------------------------------------------------------
// Draw calls
//---------------------------------------------------------------------------

static GLenum primitiveMode(int type) {
    switch (type) {
        case PrimPointList: return GL_POINTS;
        case PrimLineList: return GL_LINES;
        case PrimLineStrip: return GL_LINE_STRIP;
        case PrimTriangleList: return GL_TRIANGLES;
        case PrimTriangleStrip: return GL_TRIANGLE_STRIP;
        case PrimTriangleFan: return GL_TRIANGLE_FAN;
    }
    return GL_INVALID_ENUM;
}

static int vertexCountOf(int type, int primitives) {
    switch (type) {
        case PrimPointList: return primitives;
        case PrimLineList: return 2 * primitives;
        case PrimLineStrip: return primitives + 1;
        case PrimTriangleList: return 3 * primitives;
        case PrimTriangleStrip:
        case PrimTriangleFan: return primitives + 2;
    }
    return 0;
}

static void countTriangles(int type, int primitives, int instances) {
    if (type == PrimTriangleList || type == PrimTriangleStrip || type == PrimTriangleFan)
        device.triangleCount += (uint64_t)primitives * (uint64_t)(instances > 0 ? instances : 1);
}

static void clearErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

void drawIndexed(int primitiveType, int baseVertex, int minIndex, int vertexCount, int startIndex, int primitiveCount) {
    ASSERT_TEXT(glContext, "d3d");
    clearErrors();
    applyDrawState();
    GLenum mode = primitiveMode(primitiveType);
    GLsizei count = vertexCountOf(primitiveType, primitiveCount);
    const void* at = (const void*)(intptr_t)(startIndex * 2);
    if (!device.indices || !device.indices->buffer) fatalError("draw_indexed failed (code 0x%08X)", GL_INVALID_OPERATION);
    if (device.instanceCount > 0)
        glDrawElementsInstancedBaseVertex(mode, count, GL_UNSIGNED_SHORT, at, device.instanceCount, baseVertex);
    else
        glDrawRangeElementsBaseVertex(mode, (GLuint)minIndex, (GLuint)(minIndex + (vertexCount > 0 ? vertexCount - 1 : 0)),
                                      count, GL_UNSIGNED_SHORT, at, baseVertex);
    GLenum err = glGetError();
    if (err != GL_NO_ERROR) fatalError("draw_indexed failed (code 0x%08X)", err);
    device.drawCount++;
    countTriangles(primitiveType, primitiveCount, device.instanceCount);
}

void drawPrimitives(int primitiveType, int startVertex, int primitiveCount) {
    ASSERT_TEXT(glContext, "d3d");
    clearErrors();
    applyDrawState();
    glDrawArrays(primitiveMode(primitiveType), startVertex, vertexCountOf(primitiveType, primitiveCount));
    GLenum err = glGetError();
    if (err != GL_NO_ERROR) fatalError("draw_prim failed (code 0x%08X)", err);
    device.drawCount++;
    countTriangles(primitiveType, primitiveCount, 0);
}

void drawFullScreenQuad() {
    ASSERT_TEXT(glContext, "d3d");
    clearErrors();
    DeviceVertexLayout* layout = device.layout;
    device.layout = nullptr;  // the quad feeds location 0 only
    applyDrawState();
    device.layout = layout;
    glBindBuffer(GL_ARRAY_BUFFER, device.quadBuffer);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 12, nullptr);
    glVertexAttribDivisor(0, 0);
    glEnableVertexAttribArray(0);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    GLenum err = glGetError();
    if (err != GL_NO_ERROR) fatalError("draw_prim failed (code 0x%08X)", err);
    device.drawCount++;
    countTriangles(PrimTriangleStrip, 2, 0);
}
