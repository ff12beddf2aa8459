#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include "run_program.h"
#include "test_files.h"

// A private folder holding definitions and what make_sounds makes of them.
class SoundGenerator : public ::testing::Test {
protected:
    TempFolder temp;
    const std::string dir = temp.path;
    std::string write(const std::string& name, const std::string& text) {
        std::string path = dir + "/" + name;
        std::ofstream(path) << text;
        return path;
    }
    // Exit code of make_sounds on the file; its errors in *errors.
    int run(const std::string& definition, const std::string& out, std::string* errors = nullptr) {
        std::string err = dir + "/err.txt";
        int code = runProgram({MAKE_SOUNDS, out, definition}, "", err);
        if (errors) *errors = readWholeFile(err);
        return code;
    }
    static uint32_t u32(const std::string& s, size_t at) {
        return (uint8_t)s[at] | (uint8_t)s[at + 1] << 8 | (uint8_t)s[at + 2] << 16 | (uint32_t)(uint8_t)s[at + 3] << 24;
    }
};

static const char* const effect =
    "effect   # a zap\n"
    "layer\n  wave noise\n  length 0.1\n  pitch 3000 300\n  envelope 0.01 0.02 0.5 0.05\n"
    "layer\n  wave square\n  duty 0.3\n  delay 0.05\n  length 0.1\n  pitch 440 880\n  slide lin\n  vibrato 6 0.5\n";
static const char* const tune =
    "tune\ntempo 120\n"
    "track lead\n  wave triangle\n  notes C4/4 E4/8 G4/8 | Bb4/4. -/8\n"
    "track drum\n  wave noise\n  envelope 0.001 0.03 0 0.02\n  notes C2/4 C8/4\n";

TEST_F(SoundGenerator, SameDefinitionSameBytesAndPlainWav) {
    mkdir((dir + "/a").c_str(), 0755);
    mkdir((dir + "/b").c_str(), 0755);
    std::string e = write("zap.txt", effect), t = write("loop.txt", tune);
    for (const char* out : {"/a", "/b"}) {
        ASSERT_EQ(run(e, dir + out), 0);
        ASSERT_EQ(run(t, dir + out), 0);
    }
    std::string zap = readWholeFile(dir + "/a/zap.wav"), loop = readWholeFile(dir + "/a/loop.wav");
    EXPECT_EQ(zap, readWholeFile(dir + "/b/zap.wav"));
    EXPECT_EQ(loop, readWholeFile(dir + "/b/loop.wav"));

    ASSERT_GT(zap.size(), 44u);
    EXPECT_EQ(zap.substr(0, 4), "RIFF");
    EXPECT_EQ(zap.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(zap, 24), 44100u);
    // The effect lasts its last layer: 0.05 + 0.1 + 0.05 release seconds.
    EXPECT_EQ(u32(zap, 40), 2u * 8820);
    // The tune: two beats (C4/4 E4/8 G4/8) + two (Bb4/4. -/8) at 120 a minute = 2 s.
    EXPECT_EQ(u32(loop, 24), 22050u);
    EXPECT_EQ(u32(loop, 40), 2u * 44100);
}

TEST_F(SoundGenerator, DamagedDefinitionIsRefusedWithItsLine) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "bad.txt:1: empty definition"},
        {"layer\n", "bad.txt:1: a definition starts with 'effect' or 'tune', not 'layer'"},
        {"effect\n", "bad.txt:1: an effect needs a layer"},
        {"effect\n  wave sine\n", "bad.txt:2: expected 'layer' before 'wave'"},
        {"effect\nlayer\n  wave hum\n", "bad.txt:3: unknown wave 'hum'"},
        {"effect\nlayer\n\n  pitch 440 x\n", "bad.txt:4: expected a number from 1 to 20000, not 'x'"},
        {"effect\nlayer\n  envelope 0.1 0.1 2 0.1\n", "bad.txt:3: expected a number from 0 to 1, not '2'"},
        {"effect\nlayer\n  envelope 0.1\n", "bad.txt:3: wrong number of values for 'envelope'"},
        {"effect\nlayer\n  notes C4/4\n", "bad.txt:3: unknown or malformed setting 'notes'"},
        {"tune\ntrack a\n  notes C4/4 H4/4\n", "bad.txt:3: bad note 'H4/4'"},
        {"tune\ntrack a\n  notes C4/3\n", "bad.txt:3: bad note length 'C4/3'"},
        {"tune\ntrack a\n  notes C4/1\ntrack b\n  notes C4/4.\n", "bad.txt:4: track length does not divide the tune's"},
        {"tune\ntrack a\n  wave sine\n", "bad.txt:2: track without notes"},
    };
    for (const Case& c : cases) {
        std::string errors;
        EXPECT_EQ(run(write("bad.txt", c.text), dir, &errors), 1) << c.text;
        EXPECT_NE(errors.find(c.error), std::string::npos) << c.text << "\ngave: " << errors;
        EXPECT_FALSE(std::ifstream(dir + "/bad.wav").good()) << c.text;
    }
}
