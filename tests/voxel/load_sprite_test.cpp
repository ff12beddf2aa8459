#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <fstream>
#include <iterator>
#include "hostile_files.h"
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>
#include "qz_utils.h"
#include "voxel_sprite.h"

//---------------------------------------------------------------------------
// Test images, written with the decoder's own writer
//---------------------------------------------------------------------------

typedef std::vector<std::pair<std::string, std::string>> Texts;

struct Image {
    int width = 0, height = 0;
    int colorType = PNG_COLOR_TYPE_RGBA, bitDepth = 8;
    std::vector<uint8_t> bytes;  // rows top to bottom, packed
    std::vector<png_color> palette;
    std::vector<uint8_t> alpha;  // tRNS for palette images
};

// An 8-bit RGBA image with pixels given as 0xAARRGGBB, top row first.
static Image rgba(int w, int h, const std::vector<uint32_t>& px) {
    Image im;
    im.width = w;
    im.height = h;
    for (uint32_t c : px) {
        im.bytes.push_back((uint8_t)(c >> 16));
        im.bytes.push_back((uint8_t)(c >> 8));
        im.bytes.push_back((uint8_t)c);
        im.bytes.push_back((uint8_t)(c >> 24));
    }
    return im;
}

static Texts dims(const char* x, const char* y, const char* z) {
    return {{"VoxelGridDimX", x}, {"VoxelGridDimY", y}, {"VoxelGridDimZ", z}};
}

// Test files go to a folder of this process, so parallel runs never meet;
// the process that made it removes it at exit (death-test children do not).
static std::string tempDir;
static std::vector<std::string> tempFiles;
static pid_t tempOwner;

static void removeTempFiles() {
    if (getpid() != tempOwner) return;
    for (const std::string& f : tempFiles) unlink(f.c_str());
    rmdir(tempDir.c_str());
}

static std::string tempPath(const char* name) {
    if (tempDir.empty()) {
        tempOwner = getpid();
        tempDir = ::testing::TempDir() + "zentrel_sprite_test_" + std::to_string(tempOwner) + "/";
        mkdir(tempDir.c_str(), 0700);
        atexit(removeTempFiles);
    }
    tempFiles.push_back(tempDir + name);
    return tempFiles.back();
}

static std::string writeImage(const char* name, const Image& im, const Texts& texts) {
    std::string path = tempPath(name);
    FILE* f = fopen(path.c_str(), "wb");
    EXPECT_TRUE(f);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        ADD_FAILURE() << "writing " << path;
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return path;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, im.width, im.height, im.bitDepth, im.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!im.palette.empty()) png_set_PLTE(png, info, im.palette.data(), (int)im.palette.size());
    if (!im.alpha.empty()) png_set_tRNS(png, info, im.alpha.data(), (int)im.alpha.size(), nullptr);
    std::vector<png_text> t(texts.size());
    for (size_t i = 0; i < texts.size(); i++) {
        t[i] = png_text{};
        t[i].compression = PNG_TEXT_COMPRESSION_NONE;
        t[i].key = (png_charp)texts[i].first.c_str();
        t[i].text = (png_charp)texts[i].second.c_str();
    }
    if (!t.empty()) png_set_text(png, info, t.data(), (int)t.size());
    png_write_info(png, info);
    size_t rowBytes = im.bytes.size() / (size_t)im.height;
    for (int r = 0; r < im.height; r++) png_write_row(png, (png_bytep)im.bytes.data() + r * rowBytes);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    fclose(f);
    return path;
}

static uint8_t voxel(const VoxelSprite* s, int x, int y, int z) { return s->voxels[(z * s->sizeY + y) * s->sizeX + x]; }

// Loads expecting a refusal; returns what the decoder said on standard error.
static std::string refusal(const std::string& path) {
    ::testing::internal::CaptureStderr();
    VoxelSprite* s = loadVoxelSprite(path.c_str());
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(s, nullptr);
    destroyVoxelSprite(s);
    return err;
}

//---------------------------------------------------------------------------
// Mapping
//---------------------------------------------------------------------------

TEST(LoadSpriteTest, SlicesRowsAndPaletteOrder) {
    // X = 4, Z = 3: a 12 x 5 image; column 5 of the top row is voxel (1, 4, 1).
    std::vector<uint32_t> px(12 * 5, 0);
    px[5] = 0xFF112233;
    px[0] = 0x00FFFFFF;               // transparent white: a colour like any other
    px[12 * 4 + 11] = 0xFF112233;     // bottom row, last column: voxel (3, 0, 2)
    px[12 * 2 + 3] = 0x80FF0000;      // row 2: voxel (3, 2, 0)
    std::string path = writeImage("map.png", rgba(12, 5, px), dims("4", "5", "3"));

    ::testing::internal::CaptureStdout();
    VoxelSprite* s = loadVoxelSprite(path.c_str());
    std::string out = ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(s);
    EXPECT_EQ(out, "voxel PNG from '" + path + "' ok\n");
    EXPECT_EQ(s->sizeX, 4);
    EXPECT_EQ(s->sizeY, 5);
    EXPECT_EQ(s->sizeZ, 3);
    // First appearance, rows top to bottom: white-transparent, then the blue-grey, then red.
    ASSERT_EQ(s->numColors, 4);
    EXPECT_EQ(s->palette[0], 0u);
    EXPECT_EQ(s->palette[1], 0x00FFFFFFu);
    EXPECT_EQ(s->palette[2], 0xFF112233u);
    EXPECT_EQ(s->palette[3], 0x80FF0000u);
    EXPECT_EQ(voxel(s, 0, 4, 0), 1);
    EXPECT_EQ(voxel(s, 1, 4, 1), 2);
    EXPECT_EQ(voxel(s, 3, 0, 2), 2);
    EXPECT_EQ(voxel(s, 3, 2, 0), 3);
    EXPECT_EQ(voxel(s, 2, 2, 2), 0);
    destroyVoxelSprite(s);
}

TEST(LoadSpriteTest, EmptyImageAndTextValueRules) {
    // Leading digits count; a repeated key takes its last value.
    Texts t = {{"VoxelGridDimX", "9"}, {"VoxelGridDimX", "2abc"}, {"VoxelGridDimY", "3"}, {"VoxelGridDimZ", "2 "}};
    VoxelSprite* s = loadVoxelSprite(writeImage("empty.png", rgba(4, 3, std::vector<uint32_t>(12, 0)), t).c_str());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->numColors, 1);
    for (int i = 0; i < 12; i++) EXPECT_EQ(s->voxels[i], 0);
    destroyVoxelSprite(s);

    std::vector<uint32_t> px(12, 0xFF000001);
    EXPECT_NE(refusal(writeImage("nodim.png", rgba(4, 3, px), dims("x2", "3", "2"))).find("no voxel grid dimensions in PNG"),
              std::string::npos);
    EXPECT_NE(refusal(writeImage("nokey.png", rgba(4, 3, px), {{"VoxelGridDimX", "2"}, {"VoxelGridDimY", "3"}}))
                  .find("no voxel grid dimensions in PNG"),
              std::string::npos);
    EXPECT_NE(refusal(writeImage("signed.png", rgba(4, 3, px), dims("-2", "3", "2"))).find("no voxel grid dimensions"),
              std::string::npos);
}

TEST(LoadSpriteTest, ColourLimit) {
    std::vector<uint32_t> px(256, 0);
    for (int i = 0; i < 255; i++) px[i] = 0xFF000000u | (uint32_t)(i + 1);
    VoxelSprite* s = loadVoxelSprite(writeImage("c255.png", rgba(256, 1, px), dims("256", "1", "1")).c_str());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->numColors, 256);
    destroyVoxelSprite(s);
    px[255] = 0xFF00FF00u;  // a 256th colour
    EXPECT_NE(refusal(writeImage("c256.png", rgba(256, 1, px), dims("256", "1", "1"))).find("too many colors in PNG voxel image"),
              std::string::npos);
}

//---------------------------------------------------------------------------
// Refusals and bad input
//---------------------------------------------------------------------------

TEST(LoadSpriteTest, SizeMismatchesIncludingOverflowingKeys) {
    std::vector<uint32_t> px(12, 0xFF000001);
    const char* mismatch = "voxel and PNG image size mismatch";
    EXPECT_NE(refusal(writeImage("h.png", rgba(4, 3, px), dims("2", "4", "2"))).find(mismatch), std::string::npos);
    EXPECT_NE(refusal(writeImage("w.png", rgba(4, 3, px), dims("3", "3", "2"))).find(mismatch), std::string::npos);
}

// Larger than 256 voxels on an axis or 1,048,576 in all: refused from the
// header and the size keys with a log line, whatever the keys' overflow.
TEST(LoadSpriteTest, OversizedSpritesAreRefusedBeforeTheirRows) {
    struct Case {
        const char* file;
        std::string bytes;
    };
    std::vector<uint32_t> one(4, 0xFF000001);
    auto image = [&](const char* name, const Texts& t) {
        std::string path = writeImage(name, rgba(4, 1, one), t);
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const Case cases[] = {
        {"negative.png", image("k1.png", dims("4294967300", "1", "1"))},
        {"signed.png", image("k2.png", dims("2147483648", "1", "1"))},
        {"wrapping.png", image("k3.png", dims("1073741825", "1", "4"))},  // (2^30 + 1) * 4 wraps to 4 in 32 bits
        {"digits.png", image("k4.png", dims("99999999999999999999999", "1", "1"))},
        {"wide.png", hostile::spriteHeaderPng(257, 1, 1)},
        {"tall.png", hostile::spriteHeaderPng(1, 257, 1)},
        {"deep.png", hostile::spriteHeaderPng(1, 1, 257)},
        {"many.png", hostile::spriteHeaderPng(256, 256, 17)},
        {"limit.png", hostile::spriteHeaderPng(8192 / 4, 2048, 4)},  // what the old caps let through
    };
    for (const Case& c : cases) {
        std::string path = tempPath(c.file);
        ASSERT_TRUE(hostile::writeBytes(path, c.bytes));
        ::testing::internal::CaptureStdout();
        std::string err = refusal(path);
        std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("voxel sprite too large: '" + path + "'"), std::string::npos) << c.file << ": " << out << err;
    }
    // At the limit: 256 x 256 x 16 voxels load.
    std::vector<uint32_t> px((size_t)4096 * 256, 0);
    px[5] = 0xFF102030;
    VoxelSprite* s = loadVoxelSprite(writeImage("full.png", rgba(4096, 256, px), dims("256", "256", "16")).c_str());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->numColors, 2);
    destroyVoxelSprite(s);
}

// A few bytes claiming a 2 GiB chunk cost no more than the file.
TEST(LoadSpriteTest, ChunkLongerThanTheFileIsRefusedWithoutAllocatingIt) {
    std::string path = tempPath("huge_chunk.png");
    std::string bytes = hostile::hugeChunkPng();
    ASSERT_EQ(bytes.size(), 56u);
    ASSERT_TRUE(hostile::writeBytes(path, bytes));
    EXPECT_NE(refusal(path).find("libpng error"), std::string::npos);
    struct rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    EXPECT_LT(ru.ru_maxrss, 300 * 1024) << "kB resident at most";
}

TEST(LoadSpriteTest, PixelFormats) {
    const char* channels = "expected four 8-bit channels in PNG";
    Image rgb16;
    rgb16.width = 2;
    rgb16.height = 1;
    rgb16.bitDepth = 16;
    rgb16.bytes.assign(16, 0x7F);
    EXPECT_NE(refusal(writeImage("rgba16.png", rgb16, dims("1", "1", "2"))).find(channels), std::string::npos);

    Image rgb;
    rgb.width = 2;
    rgb.height = 1;
    rgb.colorType = PNG_COLOR_TYPE_RGB;
    rgb.bytes.assign(6, 0x40);
    EXPECT_NE(refusal(writeImage("rgb.png", rgb, dims("1", "1", "2"))).find(channels), std::string::npos);

    // A palette image with transparency expands to RGBA and loads.
    Image pal;
    pal.width = 2;
    pal.height = 1;
    pal.colorType = PNG_COLOR_TYPE_PALETTE;
    pal.palette = {{0, 0, 0}, {0xAA, 0xBB, 0xCC}};
    pal.alpha = {0, 0xFF};
    pal.bytes = {1, 0};
    VoxelSprite* s = loadVoxelSprite(writeImage("pal.png", pal, dims("1", "1", "2")).c_str());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->numColors, 2);
    EXPECT_EQ(s->palette[1], 0xFFAABBCCu);
    EXPECT_EQ(voxel(s, 0, 0, 0), 1);
    EXPECT_EQ(voxel(s, 0, 0, 1), 0);
    destroyVoxelSprite(s);
}

TEST(LoadSpriteTest, MissingCorruptTruncatedAndOversizedFiles) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(loadVoxelSprite("/nonexistent/none.png"), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    std::vector<uint32_t> px(64 * 64);
    for (size_t i = 0; i < px.size(); i++) px[i] = 0xFF000000u | (uint32_t)(i * 2654435761u % 200);
    std::string good = writeImage("good.png", rgba(64 * 4, 64 / 4, px), dims("64", "16", "4"));
    FILE* f = fopen(good.c_str(), "rb");
    std::vector<char> bytes(100000);
    bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
    fclose(f);

    auto variant = [&](const char* name, std::vector<char> b) {
        std::string p = tempPath(name);
        FILE* o = fopen(p.c_str(), "wb");
        if (!b.empty()) fwrite(b.data(), 1, b.size(), o);
        fclose(o);
        return p;
    };
    std::vector<char> truncated(bytes.begin(), bytes.begin() + (long)bytes.size() / 2);
    EXPECT_NE(refusal(variant("trunc.png", truncated)).find("libpng error"), std::string::npos);
    std::vector<char> corrupt = bytes;
    for (size_t i = 60; i < corrupt.size(); i += 7) corrupt[i] ^= 0x5A;
    EXPECT_NE(refusal(variant("corrupt.png", corrupt)).find("libpng error"), std::string::npos);
    EXPECT_NE(refusal(variant("text.png", std::vector<char>(40, 'x'))).find("libpng error"), std::string::npos);
    EXPECT_NE(refusal(variant("empty.png", {})).find("libpng error"), std::string::npos);

    // A header claiming a vast image is refused before any rows are made.
    std::vector<char> vast = bytes;
    vast[16] = 0x00, vast[17] = 0x10, vast[18] = 0x00, vast[19] = 0x00;  // width 1048576
    EXPECT_NE(refusal(variant("vast.png", vast)).find("libpng error"), std::string::npos);
}

//---------------------------------------------------------------------------
// Shipped sprites and cutting
//---------------------------------------------------------------------------

TEST(LoadSpriteTest, ShippedSpritesLoad) {
    initAppPath();
    static const char* const names[] = {"hero_body.png", "hero_arm.png", "hero_legs0.png",
                                        "hero_legs2.png", "heart.png",    "robot1.png"};
    for (const char* n : names) {
        ::testing::internal::CaptureStdout();
        VoxelSprite* s = loadVoxelSprite(n);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), std::string("voxel PNG from '") + n + "' ok\n");
        ASSERT_TRUE(s) << n;
        EXPECT_GT(s->numColors, 2);
        destroyVoxelSprite(s);
    }
}

TEST(CutSpriteTest, WrapsXAndYButNotZ) {
    static uint8_t cells[4096 * 256 * 2];
    uint32_t palette[256];
    for (int i = 0; i < 256; i++) palette[i] = 0xFF000000u | (uint32_t)i;
    for (int x : {4094, 4095, 0, 1}) cells[x + 4096 * 255 + 4096 * 256 * 1] = (uint8_t)(x % 250 + 1);
    cells[4095 + 4096 * 0 + 4096 * 256] = 77;
    VoxelLevelView level = {cells, palette, 2};
    VoxelSprite* s = cutVoxelSprite(level, 4094, 255, 1, 4097, 256, 1);
    ASSERT_EQ(s->sizeX, 4);
    ASSERT_EQ(s->sizeY, 2);
    ASSERT_EQ(s->sizeZ, 1);
    EXPECT_EQ(s->numColors, 256);
    EXPECT_EQ(s->palette[200], 0xFF0000C8u);
    EXPECT_EQ(voxel(s, 0, 0, 0), 4094 % 250 + 1);
    EXPECT_EQ(voxel(s, 1, 0, 0), 4095 % 250 + 1);
    EXPECT_EQ(voxel(s, 2, 0, 0), 1);
    EXPECT_EQ(voxel(s, 3, 0, 0), 2);
    EXPECT_EQ(voxel(s, 1, 1, 0), 77);  // y 256 is row 0
    destroyVoxelSprite(s);
    destroyVoxelSprite(nullptr);

    EXPECT_DEATH(cutVoxelSprite(level, 5, 0, 0, 4, 0, 0), "failed ASSERT\\(nx>0 && ny>0 && nz>0\\)");
    EXPECT_DEATH(cutVoxelSprite(level, 0, 0, 1, 0, 0, 2), "failed ASSERT");
}
