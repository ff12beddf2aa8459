// Shader pool: shader pairs loaded from the cache files made at build time,
// and the device-wide vertex constants.
#include "device_internal.h"
#include "file_time.h"
#include "shader_cache.h"
#include "regular_file.h"

DeviceShader shaderPool[MAX_SHADERS];

static int64_t fileTime(const char* name) { return fileModifiedTime(name); }

// Shader sources are a few kilobytes; the cap keeps a stray large file from
// being read whole.
static const int maxShaderCacheBytes = 16 << 20;

static GLuint compileStage(GLenum stage, const char* source, uint32_t size, const char* name) {
    GLuint s = glCreateShader(stage);
    const GLchar* text = source;
    GLint length = (GLint)size;
    glShaderSource(s, 1, &text, &length);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024];
        glGetShaderInfoLog(s, sizeof log, nullptr, log);
        logMessage("%s: %s stage refused: %s", name, stage == GL_VERTEX_SHADER ? "vertex" : "pixel", log);
        glDeleteShader(s);
        return 0;
    }
    return s;
}

// Links the pair and ties it to the shared blocks and the sampler units
// (a sampler named sN reads texture stage N).
static GLuint linkProgram(DeviceShader* sh) {
    GLuint p = glCreateProgram();
    glAttachShader(p, sh->vertexShader);
    glAttachShader(p, sh->pixelShader);
    glLinkProgram(p);
    GLint ok = 0;
    glGetProgramiv(p, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024];
        glGetProgramInfoLog(p, sizeof log, nullptr, log);
        logMessage("%s: link refused: %s", sh->name.c_str(), log);
        glDeleteProgram(p);
        return 0;
    }
    GLuint block = glGetUniformBlockIndex(p, "Constants");
    if (block != GL_INVALID_INDEX) glUniformBlockBinding(p, block, 0);
    block = glGetUniformBlockIndex(p, "TargetState");
    if (block != GL_INVALID_INDEX) glUniformBlockBinding(p, block, 1);
    glUseProgram(p);
    for (int i = 0; i < NUM_SAMPLERS; i++) {
        char sampler[8];
        snprintf(sampler, sizeof sampler, "s%d", i);
        GLint at = glGetUniformLocation(p, sampler);
        if (at >= 0) glUniform1i(at, i);
    }
    glUseProgram(0);
    return p;
}

static void releaseRecord(DeviceShader* sh) {
    sh->dependencies.release();
    if (glContext) {
        if (sh->program) glDeleteProgram(sh->program);
        if (sh->vertexShader) glDeleteShader(sh->vertexShader);
        if (sh->pixelShader) glDeleteShader(sh->pixelShader);
    }
    sh->program = sh->vertexShader = sh->pixelShader = 0;
}

static bool loadFromCache(DeviceShader* sh) {
    char relative[1024];
    char path[QZ_MAX_PATH];
    if (!shaderCacheName(relative, sizeof relative, sh->name, sh->defines)) return false;
    resolveAppFile(path, relative);

    // Only a regular file is read: a folder or a FIFO in its place fails
    // like a missing cache.
    DynArray<char> bytes;
    ShaderCacheView view;
    if (!readRegularFile(path, bytes, maxShaderCacheBytes) ||
        !parseShaderCache((const uint8_t*)bytes.data, (size_t)bytes.num, &view))
        return false;

    // Dependencies hold the sources' absolute paths at build time: a stale
    // cache is caught in the source tree, an installed copy without sources loads.
    const char* dep = view.dependencies;
    for (int i = 0; i < view.dependencyCount; i++, dep += strlen(dep) + 1) {
        ShaderDependency d;
        d.name.assign(dep);
        d.time = fileTime(dep);
        sh->dependencies.push(d);
    }
    int64_t cacheTime = fileTime(path);
    for (const ShaderDependency& d : sh->dependencies)
        if (d.time > cacheTime) {
            logMessage("shader cache '%s' is older than '%s'", relative, d.name.c_str());
            return false;
        }

    if (!glContext) return false;
    sh->vertexShader = compileStage(GL_VERTEX_SHADER, view.vertexSource, view.vertexSize, sh->name);
    sh->pixelShader = sh->vertexShader ? compileStage(GL_FRAGMENT_SHADER, view.pixelSource, view.pixelSize, sh->name) : 0;
    if (!sh->vertexShader || !sh->pixelShader) return false;
    sh->program = linkProgram(sh);
    return sh->program != 0;
}

ShaderHandle loadShader(const char* name, const char* defines) {
    DeviceShader* sh = nullptr;
    for (DeviceShader& s : shaderPool)
        if (!s.vertexShader) {
            sh = &s;
            break;
        }
    if (!sh) fatalError("reached maximum shader count!");

    sh->name.assign(name);
    int l = shaderDefinesLength(defines);
    const int BS = (int)sizeof sh->defines;
    ASSERT(l<BS);
    if (defines) memcpy(sh->defines, defines, (size_t)l);
    else sh->defines[0] = 0;

    if (!loadFromCache(sh)) {
        releaseRecord(sh);
        fatalError("can't create shader from cache for '%s'", name);
    }
    logMessage("loaded shader '%s' from cache", name);
    return sh;
}

void bindShader(ShaderHandle handle) { glUseProgram(handle ? handle->program : 0); }

void releaseShader(ShaderHandle handle) {
    if (!handle) return;
    releaseRecord(handle);
}

void releaseAllShaders() {
    for (DeviceShader& s : shaderPool) releaseRecord(&s);
}

void setVertexConstants(int firstRegister, const float* data, int registerCount) {
    ASSERT(firstRegister>=0 && registerCount>=0 && firstRegister+registerCount<=NUM_CONSTANTS);
    if (registerCount == 0) return;
    memcpy(device.constants + firstRegister * 4, data, (size_t)registerCount * 16);
    int end = firstRegister + registerCount;
    if (device.dirtyEnd <= device.dirtyFirst) {
        device.dirtyFirst = firstRegister;
        device.dirtyEnd = end;
    } else {
        if (firstRegister < device.dirtyFirst) device.dirtyFirst = firstRegister;
        if (end > device.dirtyEnd) device.dirtyEnd = end;
    }
}
