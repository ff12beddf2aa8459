#include <fcntl.h>
#include <sys/stat.h>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>
#include "gl_test_support.h"
#include "shader_cache.h"
#include "streams.h"
#include "windows_compat.h"

static void putU32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; i++) s += (char)((v >> (8 * i)) & 255);
}

static std::string cacheBytes(uint32_t magic, const std::string& deps, const std::string& v, const std::string& p,
                              uint32_t dSize, uint32_t vSize, uint32_t pSize) {
    std::string s;
    putU32(s, magic);
    putU32(s, dSize);
    putU32(s, vSize);
    putU32(s, pSize);
    return s + deps + v + p;
}

static std::string cacheBytes(const std::string& deps, const std::string& v, const std::string& p) {
    return cacheBytes(SHADER_CACHE_MAGIC, deps, v, p, (uint32_t)deps.size(), (uint32_t)v.size(), (uint32_t)p.size());
}

static bool parse(const std::string& bytes, ShaderCacheView* view) {
    return parseShaderCache((const uint8_t*)bytes.data(), bytes.size(), view);
}

TEST(ShaderCacheFormat, ParsesDependenciesAndBothStages) {
    ShaderCacheView view;
    std::string deps("/a/x.sh\0/a/common.glsl\0\0", 24);
    const std::string bytes = cacheBytes(deps, "VERT", "FRAG!");  // the view points into it
    ASSERT_TRUE(parse(bytes, &view));
    EXPECT_EQ(view.dependencyCount, 2);
    EXPECT_STREQ(view.dependencies, "/a/x.sh");
    EXPECT_EQ(std::string(view.vertexSource, view.vertexSize), "VERT");
    EXPECT_EQ(std::string(view.pixelSource, view.pixelSize), "FRAG!");

    // The list may also end exactly at D bytes, without the empty name.
    const std::string endsAtD = cacheBytes(std::string("/b\0", 3), "V", "P");
    ASSERT_TRUE(parse(endsAtD, &view));
    EXPECT_EQ(view.dependencyCount, 1);
}

TEST(ShaderCacheFormat, RefusesSizesAndNamesItCannotTrust) {
    ShaderCacheView view;
    std::string deps("/a\0\0", 4);
    std::string good = cacheBytes(deps, "VERT", "FRAG");
    EXPECT_FALSE(parse(good.substr(0, 10), &view)) << "truncated header";
    EXPECT_FALSE(parse(good.substr(0, good.size() - 1), &view)) << "truncated pixel stage";
    EXPECT_FALSE(parse(cacheBytes(0x20100716, deps, "V", "P", 4, 1, 1), &view)) << "magic";
    EXPECT_FALSE(parse(cacheBytes(SHADER_CACHE_MAGIC, deps, "V", "P", 400, 1, 1), &view)) << "D past the end";
    EXPECT_FALSE(parse(cacheBytes(SHADER_CACHE_MAGIC, deps, "V", "P", 4, 0x7FFFFFFF, 1), &view)) << "V past the end";
    EXPECT_FALSE(parse(cacheBytes(SHADER_CACHE_MAGIC, deps, "V", "P", 4, 1, 0xFFFFFFFF), &view)) << "P past the end";
    // Sizes whose 32-bit sum wraps to the true file size.
    EXPECT_FALSE(parse(cacheBytes(SHADER_CACHE_MAGIC, deps, "V", "P", 4, 0xFFFFFFFF, 2), &view)) << "wrapping sum";
    EXPECT_FALSE(parse(cacheBytes(std::string("/abc"), "V", "P"), &view)) << "name without terminator";
    EXPECT_FALSE(parse(cacheBytes(std::string(300, 'n') + '\0', "V", "P"), &view)) << "name too long";
    EXPECT_FALSE(parseShaderCache(nullptr, 0, &view));
}

TEST(ShaderCacheFormat, NameSuffixFromDefines) {
    char name[1024];
    ASSERT_TRUE(shaderCacheName(name, sizeof name, "cube.sh", nullptr));
    EXPECT_STREQ(name, "cache/cube.sh.cache");
    ASSERT_TRUE(shaderCacheName(name, sizeof name, "x.sh", "A=1\0B\0"));
    EXPECT_STREQ(name, "cache/x.sh@A_1@B.cache");
    ASSERT_TRUE(shaderCacheName(name, sizeof name, "x.sh", "FOG(x)\xE9\0\0"));
    EXPECT_STREQ(name, "cache/x.sh@FOG_x__.cache");
    EXPECT_FALSE(shaderCacheName(name, 12, "x.sh", "LONGDEFINE\0"));
}

//---------------------------------------------------------------------------
// Loading: the real cache of debug_vis.sh, rewritten with other dependencies
//---------------------------------------------------------------------------

struct ShaderLoadTest : DeviceTest {
    ShaderCacheView view;
    std::vector<uint8_t> original;

    void SetUp() override {
        DeviceTest::SetUp();
        char path[QZ_MAX_PATH];
        resolveAppFile(path, "cache/debug_vis.sh.cache");
        FILE* f = fopen(path, "rb");
        ASSERT_TRUE(f);
        uint8_t buf[65536];
        size_t n = fread(buf, 1, sizeof buf, f);
        fclose(f);
        original.assign(buf, buf + n);
        ASSERT_TRUE(parseShaderCache(original.data(), original.size(), &view));
    }
    void TearDown() override {
        for (const char* name : {"t_missing_dep.sh.cache", "t_magic.sh.cache", "t_newer.sh.cache",
                                 "t_newer_source.glsl", "t_truncated.sh.cache", "t_folder.sh.cache"}) {
            char path[QZ_MAX_PATH];
            resolveAppFile(path, (std::string("cache/") + name).c_str());
            remove(path);
        }
        DeviceTest::TearDown();
    }
    // Writes cache/NAME.cache with the given dependency list and magic.
    void writeCache(const char* name, const std::string& deps, uint32_t magic = SHADER_CACHE_MAGIC) {
        std::string v(view.vertexSource, view.vertexSize), p(view.pixelSource, view.pixelSize);
        std::string bytes = cacheBytes(magic, deps, v, p, (uint32_t)deps.size(), view.vertexSize, view.pixelSize);
        char path[QZ_MAX_PATH];
        resolveAppFile(path, (std::string("cache/") + name + ".cache").c_str());
        FILE* f = fopen(path, "wb");
        ASSERT_TRUE(f);
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
};

TEST_F(ShaderLoadTest, MissingDependencyLoadsAndTheBuiltCacheNamesItsSource) {
    std::string dep = view.dependencies;
    EXPECT_TRUE(dep.front() == '/' || (onWindows && dep[1] == ':')) << dep;
    EXPECT_NE(dep.find("data/shaders/debug_vis.sh"), std::string::npos);
    writeCache("t_missing_dep.sh", std::string("/nonexistent/debug_vis.sh\0\0", 27));
    EXPECT_TRUE(loadShader("t_missing_dep.sh", nullptr));
}

TEST_F(ShaderLoadTest, WrongMagicIsFatal) {
    writeCache("t_magic.sh", std::string("\0", 1), 0x15071020);
    EXPECT_EXIT(loadShader("t_magic.sh", nullptr), ::testing::ExitedWithCode(100),
                "can't create shader from cache for 't_magic.sh'");
}

TEST_F(ShaderLoadTest, DependencyNewerThanCacheIsFatal) {
    char dep[QZ_MAX_PATH];
    resolveAppFile(dep, "cache/t_newer_source.glsl");
    FILE* f = fopen(dep, "wb");
    ASSERT_TRUE(f);
    fclose(f);
    writeCache("t_newer.sh", std::string(dep) + '\0' + '\0');
    // The source changes after the cache was made.
    std::filesystem::last_write_time(dep, std::filesystem::file_time_type::clock::now() + std::chrono::seconds(60));
    EXPECT_EXIT(loadShader("t_newer.sh", nullptr), ::testing::ExitedWithCode(100),
                "can't create shader from cache for 't_newer.sh'");
}

TEST_F(ShaderLoadTest, TruncatedMissingOrFolderCacheIsFatal) {
    char path[QZ_MAX_PATH];
    resolveAppFile(path, "cache/t_truncated.sh.cache");
    FILE* f = fopen(path, "wb");
    ASSERT_TRUE(f);
    fwrite(original.data(), 1, original.size() / 2, f);
    fclose(f);
    EXPECT_EXIT(loadShader("t_truncated.sh", nullptr), ::testing::ExitedWithCode(100),
                "can't create shader from cache for 't_truncated.sh'");
    EXPECT_EXIT(loadShader("no_such.sh", nullptr), ::testing::ExitedWithCode(100),
                "can't create shader from cache for 'no_such.sh'");
    // A folder in the file's place is named like any other unusable cache.
    resolveAppFile(path, "cache/t_folder.sh.cache");
    ASSERT_TRUE(mkdir(path, 0755) == 0 || errno == EEXIST);  // the death test's child runs this again
    EXPECT_EXIT(loadShader("t_folder.sh", nullptr), ::testing::ExitedWithCode(100),
                "can't create shader from cache for 't_folder.sh'");
}
