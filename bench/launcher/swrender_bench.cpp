// Repaint cost of the launcher's screen with the software renderer: clear
// and draw the whole 640 x 480 buffer, as the launcher does on every paint.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <unistd.h>
#include "gui_behaviour.h"
#include "launcher_screen.h"
#include "swrender.h"
#include "test_font.h"

static void BM_LauncherRepaint(benchmark::State& state) {
    // An 8 x 8 font with every printable character drawn: the real font's shape.
    TestFont f(8, 8);
    f.fillPrintable();
    std::string path = "/tmp/zentrel_bench_font_" + std::to_string(getpid()) + ".tga";
    if (!f.write(path)) {
        state.SkipWithError("can't write the font image");
        return;
    }
    SoftwareGuiRenderer ren;
    DynArray<uint32_t> pixels;
    pixels.resize(640 * 480);
    ren.setTarget(pixels.data, 640 * 4, 640, 480);
    ren.setFont(ren.loadFont(path.c_str()));
    remove(path.c_str());
    fontUnit = ren.unit();
    registerStandardBehaviours();
    GuiScreen screen(&ren, buildLauncherScreen(), 40, 30);
    // One button in its pressed look, as while the player clicks it.
    GuiBox* play = nullptr;
    for (int i = 0; i < screen.root->children.num; i++)
        if (screen.root->children[i]->commandId == CmdPlay) play = screen.root->children[i];
    play->findBox(".normal")->setHidden(true);
    play->findBox(".pressed")->setHidden(false);
    for (auto _ : state) {
        ren.clear(0);
        screen.draw();
        benchmark::DoNotOptimize(pixels.data[640 * 240 + 320]);
    }
}
BENCHMARK(BM_LauncherRepaint)->Unit(benchmark::kMicrosecond);
