// Own program: it counts every operator new of the process besides the
// project's own allocator.
#include "counting_new.h"
#include "scene_fixture.h"
#include "game_step.h"
#include "input_sampling.h"
#include "hero_step.h"
#include "input.h"
#include "shots.h"

SDL_Window* SceneTest::window;
FakeInputPlatform SceneTest::input;
RenderServices SceneTest::services;


TEST_F(SceneTest, FramesDoNotAllocateAfterWarmUp) {
    setGameMode(&playMode);
    // Fire to the right into the wall: craters, debris and chunk rebuilds.
    input.held[VK_LBUTTON] = true;
    auto play = [](int n) {
        for (int i = 0; i < n; i++) {
            updateStepCamera();
            pushInput(InputMove, 0, 0, 0, 1100.0f, 420.0f);
            gameStep(0.05f);
            GuiInputRecord r;
            while (popInput(&r)) {
            }
            inputEndStep();
            frame();
        }
    };
    play(150);  // every list, cache slot and debris burst at its high-water mark
    uint64_t arrays = qzAllocCount, news = newCount;
    uint64_t built = levelVoxelCache->chunksBuilt;
    play(60);
    input.held[VK_LBUTTON] = false;
    // The project allocates through qzRealloc; operator new also counts the
    // software renderer's own shader compiler, so it is only reported.
    EXPECT_EQ(qzAllocCount - arrays, 0u);
    printf("operator new calls in 60 frames (driver included): %llu\n", (unsigned long long)(newCount - news));
    EXPECT_GT(levelVoxelCache->chunksBuilt, built) << "craters rebuilt chunks";
    EXPECT_GT(particles.num, 0);
}
