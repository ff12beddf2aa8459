// random: the one pseudo-random generator of game logic, a 64-bit linear
// congruential generator. Start-up seeds it from the clock, so runs differ;
// tests seed it to repeat a sequence.
#pragma once
#include <cstdint>

struct Random {
    uint64_t state;

    void seed(uint64_t s) { state = s; }

    // Advances the state and returns its high 32 bits.
    uint32_t nextU32() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (uint32_t)(state >> 32);
    }
    // u = nextU32() / 2^32, in [0, 1). The top draws would round up to 1.0f
    // in float, so they are held at the largest float below 1.
    float nextUnit() {
        float u = (float)((double)nextU32() * (1.0 / 4294967296.0));
        return u < 1.0f ? u : 0x1.fffffep-1f;
    }
    // 2u - 1, in [-1, 1).
    float nextSigned() { return 2.0f * nextUnit() - 1.0f; }
    // a + u (b - a).
    float nextRange(float a, float b) { return a + nextUnit() * (b - a); }
};

// Seeded once at start-up from the counter; drawn from during steps and level builds.
extern Random gameRandom;
