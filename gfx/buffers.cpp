// Vertex and index buffer pools.
#include <xmmintrin.h>
#include "device_internal.h"

DeviceBuffer vertexBufferPool[MAX_VERTEX_BUFFERS];
DeviceBuffer indexBufferPool[MAX_INDEX_BUFFERS];

// Allocates the GL buffer of an entry; the GL error code on failure (0 = fine).
static GLenum createDeviceObject(DeviceBuffer* b) {
    if (b->size <= 0) return GL_INVALID_VALUE;
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenBuffers(1, &name);
    glBindBuffer(GL_COPY_WRITE_BUFFER, name);
    glBufferData(GL_COPY_WRITE_BUFFER, b->size, nullptr, (b->flags & BufferStatic) ? GL_STATIC_DRAW : GL_DYNAMIC_DRAW);
    GLenum err = glGetError();
    if (err != GL_NO_ERROR) {
        glDeleteBuffers(1, &name);
        return err;
    }
    b->buffer = name;
    return 0;
}

static DeviceBuffer* createBuffer(DeviceBuffer* pool, int poolSize, bool isIndex, int sizeBytes, bool isStatic) {
    ASSERT_TEXT(glContext, "d3d");
    DeviceBuffer* b = nullptr;
    for (int i = 0; i < poolSize && !b; i++)
        if (!pool[i].buffer && !(pool[i].flags & BufferAwaitingRecreate)) b = &pool[i];
    if (!b) {
        logMessage(isIndex ? "reached MAX_BUFFERS for IB" : "reached MAX_BUFFERS for VB");
        return nullptr;
    }
    b->size = sizeBytes;
    b->flags = isStatic ? BufferStatic : 0;
    b->isIndex = isIndex;
    GLenum err = createDeviceObject(b);
    if (err) {
        logMessage(isIndex ? "error creating IB (code 0x%08X)" : "error creating VB (code 0x%08X)", err);
        b->flags = 0;
        return nullptr;
    }
    return b;
}

VertexBufferHandle createVertexBuffer(int sizeBytes, bool isStatic) {
    return createBuffer(vertexBufferPool, MAX_VERTEX_BUFFERS, false, sizeBytes, isStatic);
}

IndexBufferHandle createIndexBuffer(int indexCount, bool isStatic) {
    return createBuffer(indexBufferPool, MAX_INDEX_BUFFERS, true, indexCount * 2, isStatic);
}

// Maps through the copy target: binding the element array buffer would change
// the vertex array's index binding.
void* lockBuffer(DeviceBuffer* b) {
    if (!b || !b->buffer) return nullptr;
    glBindBuffer(GL_COPY_WRITE_BUFFER, b->buffer);
    // Dynamic locks discard, so refilling a buffer the GPU still reads never waits.
    GLbitfield access = GL_MAP_WRITE_BIT;
    if (!(b->flags & BufferStatic)) access |= GL_MAP_INVALIDATE_BUFFER_BIT;
    return glMapBufferRange(GL_COPY_WRITE_BUFFER, 0, b->size, access);
}

void unlockBuffer(DeviceBuffer* b) {
    if (!b || !b->buffer) return;
    _mm_sfence();  // writers may use streaming stores
    glBindBuffer(GL_COPY_WRITE_BUFFER, b->buffer);
    glUnmapBuffer(GL_COPY_WRITE_BUFFER);
}

void bindVertexStream(int stream, VertexBufferHandle handle, int offsetBytes, int strideBytes) {
    ASSERT(stream>=0 && stream<NUM_STREAMS);
    device.streams[stream].buffer = handle;
    device.streams[stream].offset = offsetBytes;
    device.streams[stream].stride = strideBytes;
}

void bindIndices(IndexBufferHandle handle) {
    device.indices = handle;
    if (glContext) glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, handle ? handle->buffer : 0);
}

static void forgetBindings(DeviceBuffer* b) {
    for (StreamBinding& s : device.streams)
        if (s.buffer == b) s.buffer = nullptr;
    if (device.indices == b) bindIndices(nullptr);
}

void releaseBuffer(DeviceBuffer* b) {
    if (!b) return;
    forgetBindings(b);
    if (b->buffer && glContext) glDeleteBuffers(1, &b->buffer);
    b->buffer = 0;
    b->flags = 0;
}

int bufferSize(DeviceBuffer* b) { return b ? b->size : 0; }

//---------------------------------------------------------------------------
// Reset support
//---------------------------------------------------------------------------

static void releaseDynamic(DeviceBuffer* pool, int n) {
    for (int i = 0; i < n; i++) {
        DeviceBuffer& b = pool[i];
        if (!b.buffer || (b.flags & BufferStatic)) continue;
        glDeleteBuffers(1, &b.buffer);
        b.buffer = 0;
        b.flags |= BufferAwaitingRecreate;
    }
}

static void recreateDynamic(DeviceBuffer* pool, int n, const char* failure) {
    for (int i = 0; i < n; i++) {
        DeviceBuffer& b = pool[i];
        if (!(b.flags & BufferAwaitingRecreate)) continue;
        b.flags &= ~(uint32_t)BufferAwaitingRecreate;
        GLenum err = createDeviceObject(&b);
        if (err) logMessage(failure, err);
    }
}

void releaseDynamicBuffers() {
    releaseDynamic(vertexBufferPool, MAX_VERTEX_BUFFERS);
    releaseDynamic(indexBufferPool, MAX_INDEX_BUFFERS);
}

void recreateDynamicBuffers() {
    recreateDynamic(vertexBufferPool, MAX_VERTEX_BUFFERS, "error creating VB (code 0x%08X)");
    recreateDynamic(indexBufferPool, MAX_INDEX_BUFFERS, "error creating IB (code 0x%08X)");
}

void releaseAllBuffers() {
    for (DeviceBuffer& b : vertexBufferPool) releaseBuffer(&b);
    for (DeviceBuffer& b : indexBufferPool) releaseBuffer(&b);
}
