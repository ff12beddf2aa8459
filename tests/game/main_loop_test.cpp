#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "fake_input_platform.h"
#include "game_mode.h"
#include "main_loop.h"
#include "qz_utils.h"

// A scripted clock that moves only when the fake host spends time.
static int64_t fakeNow = 0;
static int64_t fakeClock() { return fakeNow; }
// Ticks per millisecond of the platform's counter (1 GHz here, 10 MHz on Windows).
#define MS (timerFrequency() / 1000)

struct FakeHost : MainLoopHost {
    std::string events;        // S step, R frame drawn, P present
    std::vector<float> lags;   // t of every drawn frame
    std::vector<float> dts;
    int64_t renderCost = 10 * MS;
    int64_t stepCost = MS / 10;
    int64_t pumpCost = MS / 100;
    int64_t quitAt = INT64_MAX;      // quit once the clock passes this
    int quitAtPump = -1;             // or at this pump call
    int pumps = 0;
    int64_t stallOnPresent = -1;     // index of the present that stalls
    int64_t stallTicks = 0;
    int presents = 0;
    bool gpuAnswers = false;
    int64_t pauseFrom = INT64_MAX, pauseUntil = INT64_MAX;  // clock span of a pause

    bool paused() override { return fakeNow >= pauseFrom && fakeNow < pauseUntil; }
    void pausedTick() override {
        events += 'T';
        fakeNow += stepCost;
    }

    void pumpWindowMessages() override {
        fakeNow += pumpCost;
        if (pumps++ == quitAtPump || fakeNow >= quitAt) quitRequested = true;
    }
    void step(float dt) override {
        events += 'S';
        dts.push_back(dt);
        fakeNow += stepCost;
    }
    bool renderFrame(float t) override {
        events += 'R';
        lags.push_back(t);
        fakeNow += renderCost;
        return true;
    }
    void presentFrame() override {
        events += 'P';
        if (presents++ == stallOnPresent) fakeNow += stallTicks;
    }
    bool readGpuLoad(int* percent) override {
        *percent = 42;
        return gpuAnswers;
    }
};

class MainLoopTest : public ::testing::Test {
protected:
    FakeHost host;
    FakeInputPlatform input;
    void SetUp() override {
        fakeNow = 1000 * MS;
        setTimerSource(fakeClock);
        timerInit();
        setStepRate(20, 5);
        setMainLoopHost(&host);
        inputInit(&input);
        quitRequested = false;
    }
    void TearDown() override {
        setTimerSource(nullptr);
        setMainLoopHost(nullptr);
        quitRequested = false;
    }
    int count(char c) const { return (int)std::count(host.events.begin(), host.events.end(), c); }
};

TEST_F(MainLoopTest, TwentyStepsAndAboutHundredFramesPerSecond) {
    host.quitAt = fakeNow + 1000 * MS;
    MainLoop();
    EXPECT_EQ(host.events[0], 'S');  // the first step runs before the first frame
    EXPECT_NEAR(count('S'), 20, 1);
    EXPECT_NEAR(count('R'), 95, 6);
    EXPECT_EQ(count('R'), count('P'));  // the last drawn frame is presented before returning
    for (float t : host.lags) {
        EXPECT_GE(t, 0.0f);
        EXPECT_LT(t, 0.05f);
    }
    for (float dt : host.dts) EXPECT_FLOAT_EQ(dt, 0.05f);
    EXPECT_EQ(stepLengthUs(), 50000);
    // Every presented frame took the renderer's 10 ms plus any steps in between.
    EXPECT_GE(frameStats.frameTimeRing[1], 10000);
    EXPECT_EQ(frameStats.updateTimeRing[1], 100);
}

TEST_F(MainLoopTest, StallRunsSixStepsThenDropsTheBacklog) {
    host.stallOnPresent = 3;
    host.stallTicks = 2000 * MS;
    host.quitAt = fakeNow + 2500 * MS;
    MainLoop();
    // After the stalled present: six steps back to back, one forced frame,
    // then one step at once.
    size_t stall = 0;
    for (int seen = 0; stall < host.events.size(); stall++)
        if (host.events[stall] == 'P' && seen++ == 3) break;
    ASSERT_LT(stall + 9, host.events.size());
    EXPECT_EQ(host.events.substr(stall + 1, 8), "SSSSSSRS");
    // The forced frame got the full remaining lag, over 1.6 s.
    int forced = (int)std::count(host.events.begin(), host.events.begin() + (long)stall + 7, 'R') ;
    EXPECT_GT(host.lags[forced], 1.6f);
    // Simulated time fell behind: about 2.5 s of wall time, far fewer steps.
    EXPECT_LT(count('S'), 2500 / 50 - 30);
}

TEST_F(MainLoopTest, CounterGoingBackwardsCountsAsNoLag) {
    struct BackwardsHost : FakeHost {
        int frames = 0;
        bool renderFrame(float t) override {
            if (frames++ == 2) fakeNow -= 500 * MS;
            return FakeHost::renderFrame(t);
        }
    } back;
    back.quitAt = fakeNow + 200 * MS;
    setMainLoopHost(&back);
    MainLoop();
    for (float t : back.lags) EXPECT_GE(t, 0.0f);
    EXPECT_GE(std::count(back.events.begin(), back.events.end(), 'S'), 2);
}

TEST_F(MainLoopTest, QuitInStepPhaseStillRunsThatStep) {
    host.quitAtPump = 0;  // the very first pump is the first step's
    MainLoop();
    EXPECT_EQ(host.events, "S");
}

TEST_F(MainLoopTest, QuitInFramePhaseEndsWithoutAnotherStep) {
    host.quitAtPump = 1;  // first frame phase
    MainLoop();
    // That pass may still draw; the frame is presented before returning.
    EXPECT_EQ(host.events, "SRP");
}

TEST_F(MainLoopTest, GpuLoadRingHoldsMinusOneWhenNotAvailable) {
    host.quitAt = fakeNow + 100 * MS;
    MainLoop();
    int written = frameStats.framePosition;
    EXPECT_GE(written, count('P') - 1);  // only a present at the very end goes unrecorded
    ASSERT_GT(written, 3);
    for (int i = 0; i < written; i++) EXPECT_EQ(frameStats.gpuLoadRing[i], -1);
    EXPECT_EQ(frameStats.gpuLoadRing[written], 0);
    host.gpuAnswers = true;
    host.events.clear();
    quitRequested = false;
    host.quitAt = fakeNow + 100 * MS;
    MainLoop();
    EXPECT_EQ(frameStats.gpuLoadRing[0], 42);
}

TEST_F(MainLoopTest, FramesPerSecondCountsAWholeSecond) {
    host.quitAt = fakeNow + 2100 * MS;
    MainLoop();
    EXPECT_NEAR(framesPerSecond, 95, 6);
}

TEST(StepRate, BadArgumentsAreRaisedToTheMinimum) {
    timerInit();
    setStepRate(0, -3);
    EXPECT_EQ(stepLengthTicks(), timerFrequency());
    EXPECT_EQ(stepLengthUs(), 1000000);
    setStepRate(2000000000, 5);
    EXPECT_EQ(stepLengthTicks(), 1);
    setStepRate(20, 5);
}

struct RecordingMode : GameMode {
    std::string* log;
    char name;
    RecordingMode(std::string* l, char n) : log(l), name(n) {}
    void enter(GameMode*) override { *log += std::string("e") + name; }
    void leave(GameMode*) override { *log += std::string("l") + name; }
    void update(float) override {}
    void renderScene(float) override {}
    void renderOverlay(float) override {}
    void onResize() override {}
};

TEST(GameModes, SwitchLeavesThenEntersAndIgnoresTheSameMode) {
    std::string log;
    RecordingMode a(&log, 'a'), b(&log, 'b');
    setGameMode(&a);
    setGameMode(&a);
    setGameMode(&b);
    setGameMode(nullptr);
    EXPECT_EQ(log, "eala" "ebl" "b");
    EXPECT_EQ(currentMode, nullptr);
}

TEST_F(MainLoopTest, PausedTicksAtTheStepRateWithoutStepsOrUpdateTimes) {
    host.pauseFrom = fakeNow + 300 * MS;
    host.pauseUntil = fakeNow + 800 * MS;
    host.quitAt = fakeNow + 1000 * MS;
    MainLoop();
    // Paused for half a second: its ticks take the steps' places.
    EXPECT_NEAR(count('S'), 10, 1);
    EXPECT_NEAR(count('T'), 10, 1);
    EXPECT_EQ(frameStats.updatePosition, count('S')) << "one update time per step, none per paused tick";
    EXPECT_NEAR(count('R'), 95, 6) << "the paused scene is still drawn";
}
