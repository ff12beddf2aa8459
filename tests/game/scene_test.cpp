#include "scene_fixture.h"
#include "hero_step.h"
#include "input.h"

SDL_Window* SceneTest::window;
FakeInputPlatform SceneTest::input;
RenderServices SceneTest::services;

TEST_F(SceneTest, Explore) {
    frame();
    saveFrame("scene_start.tga");
    lookAt(1240, 60);
    frame();
    saveFrame("scene_exit.tga");
}
