// shader_cache: the shader cache file, shared by the device layer (reading)
// and the build tool (writing). All integers 32-bit little-endian:
//   magic 0x20100715, D, V, P,
//   D bytes of dependency file names, each ended by a zero byte (the list
//   ends at an empty name or after D bytes),
//   V bytes of vertex stage (GLSL 330 core source), P bytes of fragment stage.
#pragma once
#include <cstddef>
#include <cstdint>

enum { SHADER_CACHE_MAGIC = 0x20100715, SHADER_CACHE_HEADER = 16, SHADER_NAME_MAX = 259, SHADER_DEFINES_MAX = 511 };

// A parsed file: pointers into the caller's bytes.
struct ShaderCacheView {
    const char* dependencies;  // names, each zero-terminated
    int dependencyCount;
    const char* vertexSource;
    uint32_t vertexSize;
    const char* pixelSource;
    uint32_t pixelSize;
};

// Checks the header against the bytes before trusting any size: false for a
// wrong magic, blocks that run past the data, a dependency name without its
// terminator inside D, or a name longer than SHADER_NAME_MAX.
bool parseShaderCache(const uint8_t* data, size_t size, ShaderCacheView* out);

// "cache/NAME@DEF1@DEF2.cache": each define text (a zero-terminated list
// ended by an empty text) with every character other than ASCII letters and
// digits turned into "_". out holds at least 1024 bytes; false if it would not fit.
bool shaderCacheName(char* out, size_t outSize, const char* name, const char* defines);
// Bytes of a define list including its final empty text (1 for null).
int shaderDefinesLength(const char* defines);
