// Frame costs of the device layer at 1280 x 720, the baseline the cube
// renderer is measured against. Run under Xvfb with the software renderer:
//   xvfb-run -a -s '-screen 0 1920x1080x24' env LIBGL_ALWAYS_SOFTWARE=1 ./gfx_bench
#include <benchmark/benchmark.h>
#include "cube_scene.h"
#include "device.h"
#include "gl_window.h"
#include "qz_utils.h"

namespace {

SDL_Window* window;

void openDevice() {
    initAppPath();
    optVSync = false;
    optAntiAlias = false;
    window = createDeviceWindow("gfx bench", 0, 0, 1280, 720, 0);
    initDevice(window, 1280, 720);
}

void closeAll() {
    closeDevice();
    destroyDeviceWindow(window);
}

// One frame through the fences; a skipped frame is retried, as the main loop would.
void frame() {
    while (!renderFrame(0)) {
    }
    presentFrame();
}

void BM_ClearAndPresent(benchmark::State& state) {
    openDevice();
    setFrameDrawer([](float) {
        setBackBufferTarget();
        clearAll(0xFF102030);
    });
    for (auto _ : state) frame();
    closeAll();
}
BENCHMARK(BM_ClearAndPresent)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

void BM_InstancedCubes100k(benchmark::State& state) {
    openDevice();
    initCubeScene(100000);
    setFrameDrawer([](float) {
        setSceneTarget();
        clearAll(0);
        drawCubeScene();
        setBackBufferTarget();
        clearAll(0xFF102030);
    });
    for (auto _ : state) frame();
    shutdownCubeScene();
    closeAll();
}
BENCHMARK(BM_InstancedCubes100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
