// The shader cache parser on arbitrary bytes: a parsed file's blocks lie
// inside the bytes and match the header's sizes, and its dependency names
// are terminated, non-empty and no longer than a name may be. The cache name
// made from the same bytes as a name and define list keeps to its form.
#include <string>
#include "fuzz_support.h"
#include "shader_cache.h"

static uint32_t u32(const uint8_t* p) { return (uint32_t)p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }

static void checkCacheName(const uint8_t* data, size_t size) {
    // name up to the first zero; the rest a define list ended by an empty text.
    std::string bytes((const char*)data, size);
    bytes.append(3, '\0');
    const char* name = bytes.c_str();
    const char* defines = name + strlen(name) + 1;
    char out[1024];
    if (!shaderCacheName(out, sizeof out, name, defines)) return;
    size_t len = strlen(out);
    FUZZ_CHECK(len < sizeof out && strncmp(out, "cache/", 6) == 0 && len >= 12);
    FUZZ_CHECK(strcmp(out + len - 6, ".cache") == 0);
    FUZZ_CHECK(strncmp(out + 6, name, strlen(name)) == 0);
    for (const char* c = out + 6 + strlen(name); c < out + len - 6; c++)
        FUZZ_CHECK(*c == '@' || *c == '_' || (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') ||
                   (*c >= '0' && *c <= '9'));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkCacheName(data, size);
    ShaderCacheView v;
    if (!parseShaderCache(data, size, &v)) return 0;
    FUZZ_CHECK(size >= 16 && u32(data) == SHADER_CACHE_MAGIC);
    uint64_t d = u32(data + 4);
    FUZZ_CHECK(v.vertexSize == u32(data + 8) && v.pixelSize == u32(data + 12));
    FUZZ_CHECK(16 + d + v.vertexSize + v.pixelSize <= size);
    const char* base = (const char*)data;
    FUZZ_CHECK(v.dependencies == base + 16 && v.vertexSource == base + 16 + d);
    FUZZ_CHECK(v.pixelSource == v.vertexSource + v.vertexSize);
    const char* dep = v.dependencies;
    for (int i = 0; i < v.dependencyCount; i++) {
        const char* end = (const char*)memchr(dep, 0, (size_t)(v.vertexSource - dep));
        FUZZ_CHECK(end && end > dep && end - dep <= SHADER_NAME_MAX);
        dep = end + 1;
    }
    FUZZ_CHECK(dep <= v.vertexSource);
    return 0;
}
