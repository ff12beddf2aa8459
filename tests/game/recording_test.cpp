// Recorded runs: a whole committed run still plays the same, a fresh
// recording verifies, a changed step is found, damaged files are refused.
//
// To record the committed run again after a deliberate change of a game rule:
//   ZENTREL_RECORD_WHOLE_RUN=1 build/bin/game_recording_tests --gtest_filter='*CommittedWholeRun*'
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "game_fixture.h"
#include "hostile_files.h"
#include "main_loop.h"
#include "run_program.h"
#include "test_files.h"
#include "windows_compat.h"

static const char* const wholeRunFile = ZENTREL_TEST_DATA_DIR "/whole_run.zrec";

class RecordingTest : public GameTest {
protected:
    RunRecorder rec;

    void TearDown() override {
        recorder = nullptr;
        GameTest::TearDown();
    }

    // The scripted player on layout B: a course of waypoints (feet x, feet
    // y); it shoots robots at its height and whatever destructible cells
    // block its way, and jumps when stuck or when the next point is above.
    std::vector<Vec4> course;
    size_t wp = 0;
    int stuckSteps = 0;

    void planLayoutB() {
        course.clear();
        auto at = [&](float x, float y) { course.push_back({x, y, 0, 0}); };
        at(185, 32);  // through the wall under the hard column
        at(312, 128);  // up the slants
        at(336, 32);
        for (int cx = 22; cx <= 34; cx += 6) {  // three shafts of alternating ledges
            float a = 16.0f * (cx + 1) + 8, b = a + 16, c = b + 16;
            at(b, 32);
            at(a, 64);
            at(b, 96);
            at(a, 128);
            at(b, 160);
            at(a, 192);
            at(c, 208);
            at(c + 24, 32);
        }
        // The porous shaft is dug into the same ledges; from the top one a
        // jump reaches the slant beyond.
        at(680, 32);
        at(664, 64);
        at(680, 96);
        at(664, 128);
        at(680, 160);
        at(664, 192);
        at(712, 224);
        // Down the zig-zag of platforms, shooting the robots and digging the
        // walls at the platforms' ends, then up to the exit pocket.
        at(872, 176);
        at(712, 128);
        at(872, 80);
        at(712, 32);
        at(872, 32);
        at(888, 48);  // the porous block over this one is dug away
        at(904, 48);
        at(920, 64);
        at(936, 64);  // the exit pad
    }
    // A shot from p at (u, v) digs there: its line passes more than three
    // cells from every kept ledge (so neither the shot's band nor its crater
    // touches one), and no hard cell stops it more than three cells short.
    static bool clearShot(Vec4 p, float u, float v) {
        float dx = u - p.x, dy = v - p.y;
        int n = (int)(sqrtf(dx * dx + dy * dy)) + 1;
        for (int i = 0; i <= n; i++) {
            int cx = (int)floorf(p.x + dx * i / n), cy = (int)floorf(p.y + dy * i / n);
            bool short3 = n - i > 2;
            for (int oy = -3; oy <= 3; oy++)
                for (int ox = -3; ox <= 3; ox++) {
                    if (keptLedge(cx + ox, cy + oy) && solidAt(cx + ox, cy + oy)) return false;
                    if (short3 && abs(ox) <= 2 && abs(oy) <= 2 && cx + ox >= 0 && cy + oy >= 0 &&
                        levelCell(cx + ox, cy + oy, 8) == Hard)
                        return false;
                }
        }
        return true;
    }
    // Porous blocks of the fourth shaft that the player keeps as ledges.
    static bool keptLedge(int x, int y) {
        static const int blocks[][2] = {{41, 3}, {42, 5}, {41, 7}, {42, 9}, {41, 11}};
        for (const auto& b : blocks)
            if (x >> 4 == b[0] && y >> 4 == b[1]) return true;
        return false;
    }

    static bool destructibleAt(int x, int y) {
        if (x < 0 || x >= LEVEL_SIZE_X || y < 0 || y >= LEVEL_SIZE_Y) return false;
        for (int z = 2; z <= 13; z++) {
            uint8_t c = levelCell(x, y, z);
            if (c != Empty && c < Exit) return true;
        }
        return false;
    }
    static bool solidAt(int x, int y) {
        if (x < 0 || x >= LEVEL_SIZE_X || y < 0 || y >= LEVEL_SIZE_Y) return true;
        for (int z = 2; z <= 13; z++)
            if (levelCell(x, y, z) != Empty) return true;
        return false;
    }
    // The first destructible cell in the way, sideways or above; false when
    // nothing or only hard cells are in the way.
    bool findBlocker(int dir, bool up, Vec4* target) {
        int fx = (int)floorf(hero.position.x), fy = (int)floorf(hero.position.y);
        if (up) {
            for (int y = fy + 15; y < fy + 40; y++)
                for (int x = fx - 5; x <= fx + 5; x++)
                    if (destructibleAt(x, y)) {
                        *target = {x + 0.5f, y + 0.5f, 8, 1};
                        return true;
                    }
            return false;
        }
        for (int k = 4; k <= 20; k++) {
            int x = fx + dir * k;
            for (int y = fy; y < fy + 16; y++) {
                if (destructibleAt(x, y)) {
                    *target = {x + 0.5f, y + 0.5f, 8, 1};
                    return true;
                }
                if (solidAt(x, y) && y >= fy + 4) return false;  // hard: jumping or another way
            }
        }
        return false;
    }
    bool robotInReach(Vec4* target) {
        for (const Robot& r : robots) {
            float dx = r.position.x - hero.position.x, dy = r.position.y - hero.position.y;
            if (r.health > 0 && fabsf(dy) < 14 && fabsf(dx) < 150) {
                *target = {r.position.x, r.position.y + 7, 8, 1};
                return true;
            }
        }
        return false;
    }

    void layoutBStep(int s) {
        float x = hero.position.x, y = hero.position.y;
        // The porous ledges lose a few cells to the craters around them, and
        // the player may end up standing higher than planned.
        auto reached = [&](Vec4 p) {
            if (!hero.onGround) return false;
            if (p.x > 650 && p.x < 700) return fabsf(p.x - x) <= 3 && y >= p.y - 10;
            return fabsf(p.x - x) <= 3 && fabsf(p.y - y) <= 3;
        };
        while (wp < course.size() && reached(course[wp])) wp++;
        Vec4 goal = wp < course.size() ? course[wp] : Vec4{x, y, 0, 0};
        float dx = goal.x - x;
        int dir = dx > 2 ? 1 : (dx < -2 ? -1 : 0);
        bool above = goal.y > y + 3;
        // Below a ledge: wait under it until high enough to step across.
        int move = dir;
        if (above && fabsf(dx) < 40 && y < goal.y - 6) move = 0;
        Vec4 target;
        bool fire = robotInReach(&target);
        // On the platforms a robot close by on the same level: stand, or
        // back off, and shoot.
        if (fire && x > 700 && fabsf(target.x - x) < 70) move = fabsf(target.x - x) < 30 ? (target.x > x ? -1 : 1) : 0;
        // In the porous shaft the player clears everything within reach but
        // the ledges it keeps, lowest first, shooting only along lines that
        // pass clear of those ledges - from the top of a jump where needed -
        // and climbs them like the other shafts.
        bool jump = above;
        bool porous = above && x > 640 && x < 700;
        if (!fire && porous) {
            int fy = (int)floorf(y);
            // The shot leaves from wherever the shoulder is when it fires
            // during the step: both ends of the step's motion must be clear.
            Vec4 from = heroWorldShoulder();
            Vec4 later = {from.x + hero.vx * 0.05f, from.y + hero.vy * 0.05f, from.z, 1};
            for (int v = fy - 8; v <= fy + 56 && !fire; v++)
                for (int u = 656; u <= 687 && !fire; u++)
                    if (!keptLedge(u, v) && destructibleAt(u, v) && clearShot(from, u + 0.5f, v + 0.5f) &&
                        clearShot(later, u + 0.5f, v + 0.5f)) {
                        target = {u + 0.5f, v + 0.5f, 8, 1};
                        fire = true;
                    }
            if (fire && hero.onGround) move = 0, jump = false;
        }
        // Elsewhere whatever destructible is in the way is shot away.
        if (!fire && !porous && move != 0) fire = findBlocker(move, false, &target);
        if (!fire && !porous && dir != 0 && move == 0) fire = findBlocker(dir, false, &target);
        if (!fire && !porous && above) fire = findBlocker(dir, true, &target);
        // Whatever fills the place to stand at next is dug away (in the
        // porous shaft the rule above does that).
        bool inShaft = goal.x > 640 && goal.x < 700;
        for (int v = (int)goal.y; v < (int)goal.y + 16 && !fire && !inShaft && wp < course.size(); v++)
            for (int u = (int)goal.x - 5; u <= (int)goal.x + 5 && !fire; u++)
                if (destructibleAt(u, v) && !keptLedge(u, v)) {
                    target = {u + 0.5f, v + 0.5f, 8, 1};
                    fire = true;
                }
        if (!fire) target = {x + 30.0f * (dir ? dir : 1), y + 8, 8, 1};
        pointAt(target);
        hold('D', move > 0);
        hold('A', move < 0);
        hold(VK_LBUTTON, fire);
        stuckSteps = (move != 0 && fabsf(x - botLastX) < 0.3f) ? stuckSteps + 1 : 0;
        hold('W', jump || (stuckSteps > 4 && (s / 6) % 2 == 0));
        botLastX = x;
        step();
    }
    void releaseAll() {
        for (int k : {(int)'A', (int)'D', (int)'W', (int)VK_LBUTTON}) hold(k, false);
    }

    // Layout A, the upgrade screen with two picks (one taken back), layout B
    // to its exit, the end screen's Restart, a game over on layout A and the
    // new game after it.
    void playWholeRun() {
        // The scripted player does not get through every layout B the seed
        // can give; the first seed with which it does makes the run.
        for (uint64_t seed = 1; seed <= 20; seed++) {
            playWholeRunWith(seed);
            if (HasFatalFailure() || levelExitReached) break;
            printf("seed %llu: layout B not finished at waypoint %zu, (%.1f, %.1f)\n", (unsigned long long)seed, wp,
                   hero.position.x, hero.position.y);
        }
        if (HasFatalFailure()) return;
        ASSERT_TRUE(levelExitReached) << "no seed lets the scripted player finish layout B";
        finishWholeRun();
    }
    void playWholeRunWith(uint64_t seed) {
        releaseAll();
        botStuck = 0;
        botLastX = 0;
        rec.begin(seed);
        recorder = &rec;
        int s;
        for (s = 0; s < 2400 && !levelExitReached; s++) botStep(s);
        ASSERT_TRUE(levelExitReached) << "layout A not finished";
        releaseAll();
        while (currentMode == &elevatorMode) step();
        ASSERT_EQ(currentMode, upgradeMode);

        clickBox(upgradeScreen.plusButtons[1]);  // fire rate, then taken back
        step();
        clickBox(upgradeScreen.minusButtons[1]);
        step();
        clickBox(upgradeScreen.plusButtons[2]);  // wall destruction
        step();
        GuiBox* root = upgradeModeObject().scr->root;
        clickBox(root->children[root->children.num - 1]);  // GO!
        step();
        ASSERT_EQ(currentMode, &playMode);
        ASSERT_EQ(wallDestruction, 3);

        planLayoutB();
        wp = 0;
        stuckSteps = 0;
        for (s = 0; s < 6000 && hero.health > 0 && !levelExitReached; s++) layoutBStep(s);
        if (levelExitReached) printf("layout B: exit reached after %d steps with %d hearts\n", s, hero.health);
    }
    void finishWholeRun() {
        int s;
        releaseAll();
        while (currentMode == &elevatorMode) step();
        ASSERT_EQ(currentMode, endDemoMode);
        for (int i = 0; i < 10; i++) step();
        GuiScreen* end = endDemoModeObject().scr;
        clickBox(end->root->children[end->root->children.num - 1]);  // Restart
        step();
        ASSERT_EQ(currentMode, &playMode);

        // Through the pillars again, then without shooting, hopping into the
        // robots until the hearts are gone; after the game over's delay a released
        // Space starts a new game.
        botStuck = 0;
        for (s = 0; s < 2400 && hero.position.x < 600; s++) botStep(s);
        releaseAll();
        hold('D', true);
        hold('W', true);  // through the gap of the next wall, a block up
        for (s = 0; s < 2000 && currentMode == &playMode; s++) step();
        ASSERT_EQ(currentMode, &gameOverMode);
        releaseAll();
        hold(VK_SPACE, true);
        for (int i = 0; i < 12; i++) step();
        release(VK_SPACE);
        step();
        ASSERT_EQ(currentMode, &playMode);
        for (s = 0; s < 60; s++) botStep(s);
        rec.finish(false);
        recorder = nullptr;
    }
};

// Parses what the writer made.
static bool parseWritten(const RecordingWriter& w, Recording* out, FixedString<256>* error) {
    DynArray<uint8_t> bytes = {};
    w.serialise(&bytes);
    bool ok = parseRecording(bytes.data, (size_t)bytes.num, out, error);
    bytes.release();
    return ok;
}

// Writes r's items again, each step (numbered from 1) through edit first.
template <class Edit>
static void reencode(const Recording& r, RecordingWriter* w, Edit edit) {
    w->begin(r.header.seed);
    RecordingCursor cursor(r.data.data, (size_t)r.data.num);
    FixedString<256> error;
    uint32_t n = 0;
    for (;;) {
        StepInput in;
        Checkpoint c;
        RecordingCursor::Item item = cursor.next(&in, &c, &error);
        ASSERT_NE(item, RecordingCursor::ItemDamaged) << error.c_str();
        if (item == RecordingCursor::ItemEnd) break;
        if (item == RecordingCursor::ItemCheckpoint) w->addCheckpoint(c);
        if (item == RecordingCursor::ItemStep) {
            edit(++n, &in);
            w->addStep(in);
        }
    }
    w->finish();
}

static void loadCommitted(Recording* r) {
    FixedString<256> error;
    ASSERT_TRUE(loadRecording(wholeRunFile, r, &error)) << error.c_str();
}

static RunReplayer::Result replayAll(const Recording& r, RunReplayer* replay) {
    RunReplayer::Result res = replay->begin();
    while (res == RunReplayer::Stepped) res = replay->step();
    (void)r;
    return res;
}

TEST_F(RecordingTest, CommittedWholeRunStillPlaysTheSame) {
    if (getenv("ZENTREL_RECORD_WHOLE_RUN")) {
        playWholeRun();
        FixedString<256> error;
        ASSERT_TRUE(rec.writer.save(wholeRunFile, &error)) << error.c_str();
        printf("recorded %u steps, %u checkpoints into %s\n", rec.writer.header.stepCount,
               rec.writer.header.checkpointCount, wholeRunFile);
    }
    testing::internal::CaptureStdout();
    int code = verifyRecordingFile(wholeRunFile);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(code, 0) << out;
    EXPECT_NE(out.find("checkpoints, all match"), std::string::npos) << out;
    // The run went through every mode: the checkpoints name them.
    for (const char* mode : {"play", "elevator", "upgrade screen", "end screen", "game over"})
        EXPECT_NE(out.find(mode), std::string::npos) << mode;
}

TEST_F(RecordingTest, FreshRunVerifiesAndAChangedStepIsFoundAtItsCheckpoint) {
    playWholeRun();
    // The grid's fingerprint kept piece by piece is the one from scratch.
    uint64_t kept = hashLevelGrid();
    markLevelCellsChanged(0, 0, 0, LEVEL_SIZE_X - 1, LEVEL_SIZE_Y - 1, LEVEL_SIZE_Z - 1);
    EXPECT_EQ(hashLevelGrid(), kept);
    Recording r;
    FixedString<256> error;
    ASSERT_TRUE(parseWritten(rec.writer, &r, &error)) << error.c_str();
    // A 10-minute run stays far under a megabyte at this rate.
    double bytesPerStep = (double)r.data.num / r.header.stepCount;
    EXPECT_LT(bytesPerStep * 20 * 600, 1 << 20) << bytesPerStep;
    {
        RunReplayer replay(r);
        EXPECT_EQ(replayAll(r, &replay), RunReplayer::Finished);
        EXPECT_EQ(replay.checkpointsMatched, r.header.checkpointCount);
        EXPECT_EQ(replay.stepsRun, r.header.stepCount);
    }

    // The same steps with Esc in step 250, which rebuilds the level: the
    // checkpoint of step 300 is the first to differ.
    RecordingWriter changed;
    reencode(r, &changed, [](uint32_t n, StepInput* in) {
        if (n == 250) in->pressed |= ActionRestartLevel;
    });
    Recording r2;
    ASSERT_TRUE(parseWritten(changed, &r2, &error)) << error.c_str();
    RunReplayer replay(r2);
    EXPECT_EQ(replayAll(r2, &replay), RunReplayer::Mismatch);
    EXPECT_EQ(replay.found.step, 300u);
    EXPECT_EQ(replay.lastMatchedStep, 200u);
    describeMismatch(replay, &error);
    EXPECT_NE(std::string(error.c_str()).find("step 300 (somewhere in steps 201 to 300)"), std::string::npos)
        << error.c_str();
}

// Files the program is run on: private, since other test runs may run at once.
static TempFolder scratch;

// The game program on a file: exit code and what it printed.
static int runVerify(const std::string& file, std::string* err) {
    std::string errFile = scratch.path + "/verify_err.txt", outFile = scratch.path + "/verify_out.txt";
    int code = runProgram({onWindows ? "game.exe" : "./game", "-verify", file}, outFile, errFile);
    *err = readWholeFile(outFile) + readWholeFile(errFile);
    return code;
}

// The header's stream size and fingerprint made to fit the bytes again, so
// that a change reaches the checks behind them.
static void restamp(std::vector<uint8_t>& b) {
    uint32_t size = (uint32_t)(b.size() - RecordingHeaderSize);
    for (int i = 0; i < 4; i++) b[36 + i] = (uint8_t)(size >> (8 * i));
    uint64_t h = recordingStreamHash(b.data() + RecordingHeaderSize, size);
    for (int i = 0; i < 8; i++) b[40 + i] = (uint8_t)(h >> (8 * i));
}

// Removes the checkpoints whose steps keep(step, last) refuses, with the
// header's count; last is the recording's last step.
static void dropCheckpoints(std::vector<uint8_t>& b, bool (*keep)(uint32_t step, uint32_t last)) {
    const uint8_t* data = b.data() + RecordingHeaderSize;
    uint32_t last = (uint32_t)b[28] | (uint32_t)b[29] << 8 | (uint32_t)b[30] << 16 | (uint32_t)b[31] << 24;
    RecordingCursor cursor(data, b.size() - RecordingHeaderSize);
    std::vector<uint8_t> kept(b.begin(), b.begin() + RecordingHeaderSize);
    uint32_t count = 0;
    FixedString<256> error;
    for (;;) {
        size_t at = cursor.offset();
        StepInput in;
        Checkpoint c;
        RecordingCursor::Item item = cursor.next(&in, &c, &error);
        if (item == RecordingCursor::ItemDamaged) return;
        bool dropped = item == RecordingCursor::ItemCheckpoint && !keep(c.step, last);
        count += item == RecordingCursor::ItemCheckpoint && !dropped;
        if (!dropped) kept.insert(kept.end(), data + at, data + cursor.offset());
        if (item == RecordingCursor::ItemEnd) break;
    }
    for (int i = 0; i < 4; i++) kept[32 + i] = (uint8_t)(count >> (8 * i));
    restamp(kept);
    b = kept;
}

TEST_F(RecordingTest, DamagedFilesAreRefusedWithTheirFileAndReason) {
    std::vector<uint8_t> good;
    {
        FILE* f = fopen(wholeRunFile, "rb");
        ASSERT_TRUE(f);
        int c;
        while ((c = fgetc(f)) != EOF) good.push_back((uint8_t)c);
        fclose(f);
    }
    auto put32 = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++) b[at + i] = (uint8_t)(v >> (8 * i));
    };
    enum Kind { File, Fifo, Folder, OverCap };
    struct Case {
        const char* name;
        void (*damage)(std::vector<uint8_t>&, decltype(put32)&);
        const char* reason;
        Kind kind = File;
    };
    using Bytes = std::vector<uint8_t>;
    const Case cases[] = {
        {"empty", [](std::vector<uint8_t>& b, decltype(put32)&) { b.clear(); }, "not a recording"},
        {"garbage", [](std::vector<uint8_t>& b, decltype(put32)&) { b.assign(5000, 0x5A); }, "not a recording"},
        {"half a header", [](std::vector<uint8_t>& b, decltype(put32)&) { b.resize(30); }, "truncated"},
        {"cut in the steps", [](std::vector<uint8_t>& b, decltype(put32)&) { b.resize(b.size() / 2); }, "truncated"},
        {"wrong version", [](std::vector<uint8_t>& b, decltype(put32)& p) { p(b, 8, 2); }, "format version 2"},
        {"2^32 steps", [](std::vector<uint8_t>& b, decltype(put32)& p) { p(b, 28, 0xFFFFFFFFu); }, "larger than"},
        {"4 GB of steps", [](std::vector<uint8_t>& b, decltype(put32)& p) { p(b, 36, 0xFFFFFFF0u); }, "larger than"},
        {"a flipped bit", [](std::vector<uint8_t>& b, decltype(put32)&) { b[b.size() / 2] ^= 0x10; }, "fingerprint"},
        {"bytes appended", [](std::vector<uint8_t>& b, decltype(put32)&) { b.push_back(0); }, "more bytes than"},
        {"wrong step count", [](std::vector<uint8_t>& b, decltype(put32)& p) { p(b, 28, 17); }, "damaged"},
        // The first step's item (after the start checkpoint's 14 bytes) is unknown.
        {"an unknown item", [](Bytes& b, decltype(put32)&) { b[RecordingHeaderSize + 14] = 0x7F, restamp(b); },
         "damaged at byte 14 of the steps: an unknown item"},
        // Not files a recording is read from: refused unread, never waited on.
        {"a FIFO", [](Bytes&, decltype(put32)&) {}, "not a regular file", Fifo},
        {"a folder", [](Bytes&, decltype(put32)&) {}, "not a regular file", Folder},
        {"over the size cap", [](Bytes&, decltype(put32)&) {}, "larger than any recording can be", OverCap},
        // Steps -verify could not check.
        {"0 steps, no checkpoints",
         [](Bytes& b, decltype(put32)& p) {
             b.resize(RecordingHeaderSize + 1);
             b.back() = 0x41;  // the end mark
             p(b, 28, 0), p(b, 32, 0), restamp(b);
         },
         "no checkpoints"},
        {"no checkpoints", [](Bytes& b, decltype(put32)&) { dropCheckpoints(b, [](uint32_t, uint32_t) { return false; }); },
         "no checkpoints"},
        {"no start checkpoint",
         [](Bytes& b, decltype(put32)&) { dropCheckpoints(b, [](uint32_t s, uint32_t) { return s != 0; }); },
         "no checkpoints at its start"},
        {"no end checkpoint",
         [](Bytes& b, decltype(put32)&) { dropCheckpoints(b, [](uint32_t s, uint32_t last) { return s != last; }); },
         "no checkpoints at its end"},
        {"199 steps between two checkpoints",
         [](Bytes& b, decltype(put32)&) { dropCheckpoints(b, [](uint32_t s, uint32_t) { return s != 200; }); },
         "no checkpoints in steps 101 to 299"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        c.damage(bytes, put32);
        std::string path = scratch.path + "/damaged.zrec";
        unlink(path.c_str()), rmdir(path.c_str());
        ASSERT_TRUE(hostile::writeBytes(path, std::string(bytes.begin(), bytes.end())));
        // Windows has no FIFOs; a folder stands for what is not a file there.
        if (c.kind == Fifo) { ASSERT_TRUE(onWindows ? hostile::replaceByFolder(path) : hostile::replaceByFifo(path)); }
        if (c.kind == Folder) { ASSERT_TRUE(hostile::replaceByFolder(path)); }
        if (c.kind == OverCap) { ASSERT_EQ(truncate(path.c_str(), MaxRecordingFileBytes + 1), 0); }
        Recording r;
        FixedString<256> error;
        EXPECT_FALSE(loadRecording(path.c_str(), &r, &error)) << c.name;
        EXPECT_NE(std::string(error.c_str()).find(c.reason), std::string::npos) << c.name << ": " << error.c_str();
        // The program says which file and what is wrong, and ends with 100.
        std::string err;
        EXPECT_EQ(runVerify(path, &err), 100) << c.name;
        EXPECT_NE(err.find("can't replay '" + path + "': "), std::string::npos) << c.name << ": " << err;
    }
    std::string err;
    EXPECT_EQ(runVerify("/nonexistent/run.zrec", &err), 100);
    EXPECT_NE(err.find("can't open it"), std::string::npos) << err;
}

// A forger's recording: the committed run with screen commands for the
// upgrade screen's hidden buttons added in the step before "GO!", and the
// fingerprints taken the way the recorder does from a game that carried
// them out without a check (the commands themselves are not run here, so
// a game that still obeyed them would verify the file). The game refuses
// them, so the run differs from the checkpoints.
TEST_F(RecordingTest, HiddenUpgradeButtonsPressedByAForgedRecordingDoNotVerify) {
    Recording committed;
    loadCommitted(&committed);
    uint32_t goStep = 0;
    RecordingWriter scan;
    reencode(committed, &scan, [&](uint32_t n, StepInput* in) {
        for (int i = 0; i < in->numGuiCommands; i++)
            if (in->guiCommands[i] == CmdGo && goStep == 0) goStep = n;  // the end screen reuses the number
    });
    ASSERT_GT(goStep, 1u);

    // By then "Wall destruction" is picked and no point is left: every "-"
    // but its own and every "+" is hidden.
    struct Case {
        const char* name;
        int32_t command;
        int32_t count;  // what the unchecked handler added to the row's pick
    };
    const Case cases[] = {
        {"\"-\" of a row not picked", CmdUpgradeRows + 1, -1},
        {"\"+\" of a row that cannot be paid for", CmdUpgradeRows + 0, 1},
    };
    for (const Case& c : cases) {
        RunRecorder forger;
        forger.begin(committed.header.seed);
        RecordingCursor cursor(committed.data.data, (size_t)committed.data.num);
        FixedString<256> error;
        for (uint32_t n = 0;;) {
            StepInput in;
            Checkpoint cp;
            RecordingCursor::Item item = cursor.next(&in, &cp, &error);
            if (item == RecordingCursor::ItemEnd) break;
            if (item != RecordingCursor::ItemStep) continue;
            int32_t mode = currentModeNumber();
            runGameStep(in, 1.0f / STEPS_PER_SECOND);
            if (++n == goStep - 1) {
                int row = (c.command - CmdUpgradeRows) / 2;
                for (int k = 0; k < 3; k++) {
                    upgradePicks.chosen[row] += c.count;
                    upgradePicks.pendingPoints -= c.count * upgradePicks.offered[row]->cost();
                    stepInput.guiCommands[stepInput.numGuiCommands++] = c.command;
                }
            }
            forger.afterStep(mode);
        }
        forger.finish(false);
        std::string path = testing::TempDir() + "forged.zrec";
        ASSERT_TRUE(forger.writer.save(path.c_str(), &error)) << error.c_str();
        std::string out;
        EXPECT_EQ(runVerify(path, &out), 1) << c.name << ": " << out;
        EXPECT_NE(out.find("verify: the run differs at the checkpoint of step"), std::string::npos) << c.name;
    }
}

// A save replaces only the recording: a link or a file at the name a
// careless writer would use for its temporary is left as it was.
TEST_F(RecordingTest, SavingTouchesNothingButTheRecording) {
    Recording committed;
    loadCommitted(&committed);
    RecordingWriter w;
    reencode(committed, &w, [](uint32_t, StepInput*) {});
    std::string dir = testing::TempDir() + "save";
    for (bool link : {true, false}) {
        if (link && onWindows) continue;  // no symbolic links for a program there
        std::filesystem::remove_all(dir);
        ASSERT_TRUE(std::filesystem::create_directory(dir));
        std::string target = dir + "/run.zrec", tmp = target + ".tmp", victim = dir + "/victim";
        ASSERT_TRUE(hostile::writeBytes(victim, "keep me"));
        ASSERT_TRUE(link ? symlink(victim.c_str(), tmp.c_str()) == 0 : hostile::writeBytes(tmp, "keep me"));
        FixedString<256> error;
        EXPECT_TRUE(w.save(target.c_str(), &error)) << error.c_str();
        Recording back;
        EXPECT_TRUE(loadRecording(target.c_str(), &back, &error)) << error.c_str();
        struct stat st;
        EXPECT_TRUE(lstat(tmp.c_str(), &st) == 0 && S_ISLNK(st.st_mode) == link) << link;
        EXPECT_EQ(st.st_size, link ? (off_t)victim.size() : 7);
        EXPECT_TRUE(stat(victim.c_str(), &st) == 0 && st.st_size == 7) << link;
    }
}
