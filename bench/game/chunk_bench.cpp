// Building the chunks of layout A's view at 1280 x 720 (pixel scale 6):
// the chunk builder (hidden-voxel removal and 2 x 2 x 2 merging), the faces
// of its cubes that can be seen, and a naive build that emits every
// non-empty voxel. Counters give instances or faces.
#include <benchmark/benchmark.h>
#include "camera.h"
#include "level.h"
#include "qz_utils.h"
#include "voxel_build.h"
#include "world.h"

namespace {

struct View {
    int cx0, cy0, cx1, cy1;
    VoxelGridView grid;
};

View layoutAView() {
    static bool built = false;
    if (!built) {
        levelNumber = 1;
        buildLevel();
        built = true;
    }
    VisibleRegion r = visibleRegion(88, 41, 1280, 720, 6);
    return {r.x0 / 16, r.y0 / 16, (r.x1 - 1) / 16, (r.y1 - 1) / 16,
            {levelGrid, 1, LEVEL_STRIDE_Y, LEVEL_STRIDE_Z, LEVEL_SIZE_X, LEVEL_SIZE_Y, LEVEL_SIZE_Z, levelPalette}};
}

CubeInstance sink[16 * 16 * 20];

void BM_ChunkBuild(benchmark::State& state) {
    View v = layoutAView();
    int64_t instances = 0;
    for (auto _ : state) {
        instances = 0;
        for (int cy = v.cy0; cy <= v.cy1; cy++)
            for (int cx = v.cx0; cx <= v.cx1; cx++) {
                int n = 0;
                buildVoxelChunk(v.grid, cx, cy, [&](const CubeInstance& c) { sink[n++] = c; });
                instances += n;
            }
        benchmark::DoNotOptimize(sink);
    }
    state.counters["instances"] = (double)instances;
}

// The faces that can be seen of the same cubes, as the chunk cache builds
// them; a crater rebuilds up to four chunks.
void BM_ChunkFaceBuild(benchmark::State& state) {
    View v = layoutAView();
    int64_t faces = 0, chunks = 0;
    for (auto _ : state) {
        faces = chunks = 0;
        for (int cy = v.cy0; cy <= v.cy1; cy++)
            for (int cx = v.cx0; cx <= v.cx1; cx++) {
                int n = 0;
                buildChunkFaces(v.grid, cx, cy, [&](int, const CubeInstance& c) { sink[n++ % (16 * 16 * 20)] = c; });
                faces += n;
                chunks++;
            }
        benchmark::DoNotOptimize(sink);
    }
    state.counters["faces"] = (double)faces;
    state.counters["chunks"] = (double)chunks;
}

void BM_NaiveBuild(benchmark::State& state) {
    View v = layoutAView();
    int64_t instances = 0;
    for (auto _ : state) {
        instances = 0;
        for (int cy = v.cy0; cy <= v.cy1; cy++)
            for (int cx = v.cx0; cx <= v.cx1; cx++) {
                int n = 0;
                for (int z = 0; z < LEVEL_SIZE_Z; z++)
                    for (int y = 16 * cy; y < 16 * cy + 16; y++)
                        for (int x = 16 * cx; x < 16 * cx + 16; x++) {
                            uint8_t c = levelCell(x, y, z);
                            if (c) sink[n++] = chunkInstance(x, y, z, levelPalette[c], false);
                        }
                instances += n;
            }
        benchmark::DoNotOptimize(sink);
    }
    state.counters["instances"] = (double)instances;
}

}  // namespace

BENCHMARK(BM_ChunkBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChunkFaceBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NaiveBuild)->Unit(benchmark::kMillisecond);
