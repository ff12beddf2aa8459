#include <gtest/gtest.h>
#include <cstring>
#include <filesystem>
#include <vector>
#include "hostile_files.h"
#include "tga.h"
#include "windows_compat.h"

namespace fs = std::filesystem;

// An in-memory input stream, so malformed files are built byte by byte.
class MemoryInputStream : public InputStream {
public:
    std::vector<uint8_t> bytes;
    int pos = 0;
    int readSome(void* b, int n) override {
        int k = std::min(n, (int)bytes.size() - pos);
        if (k <= 0) return 0;
        memcpy(b, bytes.data() + pos, (size_t)k);
        pos += k;
        return k;
    }
    void readExact(void* b, int n) override {
        if (n < 0) throw Exception("negative size in read()", -1);
        if (readSome(b, n) != n) throw Exception("error reading file", pos);
    }
    int tell() override { return pos; }
    void seekSet(int p) override { pos = p; }
    void seekCur(int o) override { pos += o; }
    void seekEnd(int o) override { pos = (int)bytes.size() + o; }
};

static std::vector<uint8_t> header(int type, int w, int h, int depth) {
    std::vector<uint8_t> b(18, 0);
    b[2] = (uint8_t)type;
    b[12] = (uint8_t)w;
    b[13] = (uint8_t)(w >> 8);
    b[14] = (uint8_t)h;
    b[15] = (uint8_t)(h >> 8);
    b[16] = (uint8_t)depth;
    return b;
}

static void expectRefusal(std::vector<uint8_t> bytes, const char* message) {
    MemoryInputStream in;
    in.bytes = bytes;
    int w = -1, h = -1;
    DynArray<uint32_t> px;
    uint64_t allocs = qzAllocCount;
    try {
        readTga(in, w, h, px);
        ADD_FAILURE() << "accepted, expected " << message;
    } catch (const InputStream::Exception& e) {
        EXPECT_STREQ(e.message, message);
    }
    EXPECT_EQ(qzAllocCount, allocs) << "allocated before refusing";
}

TEST(Tga, WriteThenReadComesBackBottomUp) {
    // Top-down 2 x 2 source with 16 padding bytes per row.
    uint32_t src[2][6] = {{0xFF000001, 0xFF000002, 0xDEAD, 0xDEAD, 0xDEAD, 0xDEAD},
                          {0xFF000003, 0xFF000004, 0xDEAD, 0xDEAD, 0xDEAD, 0xDEAD}};
    char name[] = "/tmp/zentrel-tga-XXXXXX";
    close(mkstemp(name));
    ASSERT_TRUE(writeTgaFile(name, src, 2, 2, 24));

    FILE* f = fopen(name, "rb");
    uint8_t file[64];
    size_t n = fread(file, 1, sizeof file, f);
    fclose(f);
    ASSERT_EQ(n, 18u + 16u);
    std::vector<uint8_t> expect = header(2, 2, 2, 32);
    expect[17] = 0x08;
    EXPECT_EQ(0, memcmp(file, expect.data(), 18));
    EXPECT_EQ(file[18], 3);  // first stored pixel: the source's bottom-left, blue first

    int w, h;
    DynArray<uint32_t> px;
    ASSERT_TRUE(readTgaFile(name, w, h, px));
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(px[0], 0xFF000003u);
    EXPECT_EQ(px[1], 0xFF000004u);
    EXPECT_EQ(px[2], 0xFF000001u);
    EXPECT_EQ(px[3], 0xFF000002u);
    remove(name);
}

TEST(Tga, RefusesOtherFormatsAndBadSizes) {
    expectRefusal(header(2, 4, 4, 24), "unsupported TGA format");
    expectRefusal(header(10, 4, 4, 32), "unsupported TGA format");
    expectRefusal(header(2, 0, 4, 32), "zero-sized TGA image");
    expectRefusal(header(2, 4, 0, 32), "zero-sized TGA image");
    // Truncated pixel data, and a header claiming 65535 x 65535 pixels.
    std::vector<uint8_t> shortFile = header(2, 4, 4, 32);
    shortFile.resize(18 + 60);
    expectRefusal(shortFile, "error reading file");
    expectRefusal(header(2, 65535, 65535, 32), "error reading file");
}

TEST(Tga, FileReaderReturnsFalseOnEveryFailure) {
    int w, h;
    DynArray<uint32_t> px;
    EXPECT_FALSE(readTgaFile("/nonexistent/font.tga", w, h, px));
    char name[] = "/tmp/zentrel-tga-XXXXXX";
    int fd = mkstemp(name);
    std::vector<uint8_t> huge = header(2, 65535, 65535, 32);
    EXPECT_EQ(write(fd, huge.data(), huge.size()), 18);
    close(fd);
    EXPECT_FALSE(readTgaFile(name, w, h, px));
    remove(name);
    uint32_t pixel = 0;
    EXPECT_FALSE(writeTgaFile("/nonexistent/dir/shot.tga", &pixel, 1, 1, 4));
}

// A new file never replaces anything: a taken name, whatever holds it, is
// left as it is and the first free numbered name is used instead.
TEST(Tga, NewFilesTakeTheFirstFreeNumberedName) {
    char tmpl[] = "/tmp/zentrel-tga-XXXXXX";
    std::string dir = std::string(mkdtemp(tmpl)) + "/";
    struct Case {
        const char* name;
        int (*occupy)(const char* path);  // puts something at name first
        const char* used;
    } cases[] = {
        {"shot_05.tga", nullptr, "shot_05.tga"},
        {"shot_05.tga", nullptr, "shot_05_2.tga"},  // two shots in one second
        // A folder where there are no FIFOs; no links on Windows either.
        {"shot.tga", [](const char* p) { return mkfifo(p, 0600) == 0 ? 0 : mkdir(p, 0700); }, "shot_2.tga"},
        {"link", [](const char* p) { return symlink("shot.tga", p); }, "link_2"},
    };
    uint32_t px[4] = {1, 2, 3, 4};
    int written = 0, occupied = 0;
    for (const Case& c : cases) {
        std::string path = dir + c.name;
        if (onWindows && !strcmp(c.name, "link")) continue;
        written++;
        occupied += c.occupy != nullptr;
        ASSERT_EQ(c.occupy ? c.occupy(path.c_str()) : 0, 0);
        char used[4096];
        ASSERT_TRUE(writeNewTgaFile(path.c_str(), px, 2, 2, 8, used, sizeof used)) << c.name;
        EXPECT_EQ(std::string(used), dir + c.used);
    }
    EXPECT_TRUE(fs::exists(dir + "shot.tga") && !fs::is_regular_file(dir + "shot.tga"));
    EXPECT_TRUE(onWindows || fs::is_symlink(dir + "link"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), written + occupied) << "a temporary was left";
    fs::remove_all(dir);
}

// A disk that fills up while writing leaves no partial file, and an
// earlier file of the name as it was.
TEST(Tga, FailedWriteLeavesNothingBehind) {
    SKIP_ON_WINDOWS("the full disk is a file size limit (RLIMIT_FSIZE), which Windows does not have");
    char tmpl[] = "/tmp/zentrel-tga-XXXXXX";
    std::string dir = std::string(mkdtemp(tmpl)) + "/";
    hostile::writeBytes(dir + "old.tga", "old");
    std::vector<uint32_t> px(64 * 64);
    char used[4096];
    {
        hostile::FullDisk full(4096);
        EXPECT_FALSE(writeTgaFile((dir + "old.tga").c_str(), px.data(), 64, 64, 256));
        EXPECT_FALSE(writeNewTgaFile((dir + "new.tga").c_str(), px.data(), 64, 64, 256, used, sizeof used));
    }
    EXPECT_EQ(fs::file_size(dir + "old.tga"), 3u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
    fs::remove_all(dir);
}

// Paths are UTF-8 inside the programs on every system: a player's folder
// may be called "Zoë" or "日本".
TEST(Tga, Utf8FolderNamesWriteAndRead) {
    char tmpl[] = "/tmp/zentrel-tga-XXXXXX";
    std::string root = mkdtemp(tmpl), dir = root + "/Zo\xC3\xAB/\xE6\x97\xA5\xE6\x9C\xAC/";
    fs::create_directories(fs::u8path(dir));
    uint32_t px[4] = {1, 2, 3, 4};
    char used[4096];
    ASSERT_TRUE(writeTgaFile((dir + "a.tga").c_str(), px, 2, 2, 8));
    ASSERT_TRUE(writeNewTgaFile((dir + "a.tga").c_str(), px, 2, 2, 8, used, sizeof used));
    EXPECT_EQ(std::string(used), dir + "a_2.tga");
    int w = 0, h = 0;
    DynArray<uint32_t> read;
    ASSERT_TRUE(readTgaFile(used, w, h, read));
    EXPECT_EQ(w * h, 4);
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::u8path(dir)), {}), 2);
    fs::remove_all(root);
}
