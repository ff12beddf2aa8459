// The voxel sprite loader on arbitrary bytes: it either refuses, or returns
// a sprite the format allows (sizes within the sprite limits, a palette
// starting with the empty entry and without repeats, every voxel a palette index).
#include "fuzz_support.h"
#include "voxel_sprite.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VoxelSprite* s = readVoxelSprite(data, size, "fuzz.png");
    if (!s) return 0;
    FUZZ_CHECK(s->sizeX >= 1 && s->sizeX <= 256 && s->sizeY >= 1 && s->sizeY <= 256 && s->sizeZ >= 1 &&
               s->sizeZ <= 256);
    size_t n = (size_t)s->sizeX * s->sizeY * s->sizeZ;
    FUZZ_CHECK(n <= (1u << 20));
    FUZZ_CHECK(s->numColors >= 1 && s->numColors <= 256 && s->palette[0] == 0);
    for (int i = 1; i < s->numColors; i++)
        for (int j = 0; j < i; j++) FUZZ_CHECK(s->palette[i] != s->palette[j]);
    bool used[256] = {};
    for (size_t i = 0; i < n; i++) {
        FUZZ_CHECK(s->voxels[i] < s->numColors);
        used[s->voxels[i]] = true;
    }
    // Entries are made only for colours found in the image.
    for (int i = 1; i < s->numColors; i++) FUZZ_CHECK(used[i]);
    destroyVoxelSprite(s);
    return 0;
}
