#include "shader_cache.h"
#include <cstdio>
#include <cstring>

static uint32_t readU32(const uint8_t* p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

bool parseShaderCache(const uint8_t* data, size_t size, ShaderCacheView* out) {
    if (!data || size < SHADER_CACHE_HEADER || readU32(data) != SHADER_CACHE_MAGIC) return false;
    uint64_t d = readU32(data + 4), v = readU32(data + 8), p = readU32(data + 12);
    // 64-bit sums: three 32-bit sizes cannot wrap past the file size.
    if (SHADER_CACHE_HEADER + d + v + p > size) return false;

    const char* deps = (const char*)data + SHADER_CACHE_HEADER;
    int count = 0;
    for (uint64_t at = 0; at < d;) {
        const void* end = memchr(deps + at, 0, (size_t)(d - at));
        if (!end) return false;
        uint64_t len = (uint64_t)((const char*)end - (deps + at));
        if (len == 0) break;
        if (len > SHADER_NAME_MAX) return false;
        count++;
        at += len + 1;
    }
    out->dependencies = deps;
    out->dependencyCount = count;
    out->vertexSource = deps + d;
    out->vertexSize = (uint32_t)v;
    out->pixelSource = deps + d + v;
    out->pixelSize = (uint32_t)p;
    return true;
}

int shaderDefinesLength(const char* defines) {
    if (!defines) return 1;
    const char* p = defines;
    while (*p) p += strlen(p) + 1;
    return (int)(p - defines) + 1;
}

bool shaderCacheName(char* out, size_t outSize, const char* name, const char* defines) {
    int n = snprintf(out, outSize, "cache/%s", name);
    if (n < 0 || (size_t)n >= outSize) return false;
    size_t at = (size_t)n;
    for (const char* d = defines; d && *d; d += strlen(d) + 1) {
        if (at + 1 >= outSize) return false;
        out[at++] = '@';
        for (const char* c = d; *c; c++) {
            if (at + 1 >= outSize) return false;
            bool keep = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9');
            out[at++] = keep ? *c : '_';
        }
    }
    n = snprintf(out + at, outSize - at, ".cache");
    return n >= 0 && (size_t)n < outSize - at;
}
