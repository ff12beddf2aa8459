// make_shader_cache: turns one shader source under data/shaders/ into the
// cache file the game loads, and into the two stage files the build checks
// with glslangValidator.
//
//   make_shader_cache split SOURCE OUTPREFIX [-D DEFINE]...   -> OUTPREFIX.vert, OUTPREFIX.frag
//   make_shader_cache pack  SOURCE OUT.cache [-D DEFINE]...
//   make_shader_cache strip IN.cache OUT.cache
//
// The source holds both stages: text before the line "//@vertex" is shared
// by both, then the vertex stage, then from "//@fragment" the fragment stage.
// A line #include "FILE" pulls in FILE from the source's folder. Each stage
// gets "#version 330 core", VERTEX_STAGE or FRAGMENT_STAGE defined, and one
// "#define NAME VALUE" per -D NAME=VALUE.
// The cache records the absolute paths of the source and its includes as
// dependencies, so the game refuses a cache older than its sources. "strip"
// copies a cache with an empty dependency list: the installed game must never
// look at (or refuse itself over) sources in a build tree.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#include "shader_cache.h"

static void fail(const char* what, const char* detail) {
    fprintf(stderr, "make_shader_cache: %s%s%s\n", what, detail ? ": " : "", detail ? detail : "");
    exit(1);
}

static std::string readFile(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) fail("can't open", path.c_str());
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    fclose(f);
    return text;
}

// The canonical absolute path in UTF-8 with "/" separators: "/..." on
// Linux, "C:/..." on Windows (the programs' own form).
static std::string absolutePath(const std::string& path) {
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::canonical(std::filesystem::u8path(path), error);
    if (error) fail("can't resolve", path.c_str());
    std::string out = canonical.generic_u8string();
    if (out.size() > SHADER_NAME_MAX) fail("path too long for the cache", out.c_str());
    return out;
}

struct Source {
    std::string shared, vertex, fragment;
    std::vector<std::string> dependencies;
};

// Appends the lines of one file to the current section, expanding includes.
static void readSource(const std::string& path, Source& src, std::string** section) {
    std::string abs = absolutePath(path);
    src.dependencies.push_back(abs);
    std::string folder = abs.substr(0, abs.rfind('/') + 1);
    std::string text = readFile(abs);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string l = text.substr(at, end - at);
        if (l.rfind("//@vertex", 0) == 0) *section = &src.vertex;
        else if (l.rfind("//@fragment", 0) == 0) *section = &src.fragment;
        else if (l.rfind("#include \"", 0) == 0) {
            size_t close = l.find('"', 10);
            if (close == std::string::npos) fail("bad #include in", abs.c_str());
            readSource(folder + l.substr(10, close - 10), src, section);
        } else {
            **section += l + "\n";
        }
        at = end + 1;
    }
}

static std::string stageText(const Source& src, const std::vector<std::string>& defines, const std::string& stage,
                             const char* stageDefine) {
    std::string out = "#version 330 core\n#define " + std::string(stageDefine) + "\n";
    for (const std::string& d : defines) {
        size_t eq = d.find('=');
        out += "#define " + (eq == std::string::npos ? d : d.substr(0, eq) + " " + d.substr(eq + 1)) + "\n";
    }
    return out + src.shared + stage;
}

static void writeFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0)
        fail("can't write", path.c_str());
}

static void putU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; i++) out += (char)((v >> (8 * i)) & 255);
}

static std::string cacheBytes(const std::string& deps, const std::string& vertex, const std::string& fragment) {
    std::string bytes;
    putU32(bytes, SHADER_CACHE_MAGIC);
    putU32(bytes, (uint32_t)deps.size());
    putU32(bytes, (uint32_t)vertex.size());
    putU32(bytes, (uint32_t)fragment.size());
    return bytes + deps + vertex + fragment;
}

static int strip(const std::string& in, const std::string& out) {
    std::string bytes = readFile(in);
    ShaderCacheView view;
    if (!parseShaderCache((const uint8_t*)bytes.data(), bytes.size(), &view)) fail("not a shader cache", in.c_str());
    writeFile(out, cacheBytes(std::string(1, '\0'), std::string(view.vertexSource, view.vertexSize),
                              std::string(view.pixelSource, view.pixelSize)));
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "strip") == 0) return strip(argv[2], argv[3]);
    if (argc < 4) fail("usage: make_shader_cache split|pack SOURCE OUT [-D DEFINE]... | strip IN OUT", nullptr);
    std::string mode = argv[1], sourcePath = argv[2], out = argv[3];
    std::vector<std::string> defines;
    for (int i = 4; i < argc; i++) {
        if (strcmp(argv[i], "-D") == 0 && i + 1 < argc) defines.push_back(argv[++i]);
        else fail("unknown argument", argv[i]);
    }

    Source src;
    std::string* section = &src.shared;
    readSource(sourcePath, src, &section);
    if (src.vertex.empty() || src.fragment.empty()) fail("needs //@vertex and //@fragment sections", sourcePath.c_str());
    std::string vertex = stageText(src, defines, src.vertex, "VERTEX_STAGE");
    std::string fragment = stageText(src, defines, src.fragment, "FRAGMENT_STAGE");

    if (mode == "split") {
        writeFile(out + ".vert", vertex);
        writeFile(out + ".frag", fragment);
        return 0;
    }
    if (mode != "pack") fail("unknown mode", mode.c_str());
    std::string deps;
    for (const std::string& d : src.dependencies) deps += d + '\0';
    deps += '\0';
    writeFile(out, cacheBytes(deps, vertex, fragment));
    return 0;
}
