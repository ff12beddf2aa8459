// The voxel sprite loader on arbitrary bytes: it either refuses, or returns
// a sprite the format allows (sizes within the sprite limits, a palette
// starting with the empty entry and without repeats, every voxel a palette index).
#include <zlib.h>
#include <vector>
#include "fuzz_support.h"
#include "voxel_sprite.h"

// The decoder is not instrumented, so the fuzzer cannot learn checksums:
// every chunk that lies inside the input gets its true CRC, and mutations
// reach the chunks' contents instead of dying at the checksum.
static void fixChecksums(std::vector<uint8_t>& b) {
    for (size_t at = 8; at + 12 <= b.size();) {
        uint32_t len = (uint32_t)b[at] << 24 | (uint32_t)b[at + 1] << 16 | (uint32_t)b[at + 2] << 8 | b[at + 3];
        if (len > b.size() - at - 12) return;
        uint32_t crc = (uint32_t)crc32(0, b.data() + at + 4, len + 4);
        for (int i = 0; i < 4; i++) b[at + 8 + len + i] = (uint8_t)(crc >> (24 - 8 * i));
        at += 12 + len;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
    std::vector<uint8_t> bytes(input, input + size);
    fixChecksums(bytes);
    const uint8_t* data = bytes.data();
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
