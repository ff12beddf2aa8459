// state_hash: fingerprints of the simulation state.
#include "state_hash.h"
#include <cstring>
#include <initializer_list>
#include "level.h"
#include "run_state.h"
#include "world.h"

static inline uint64_t rotl(uint64_t v, int r) { return (v << r) | (v >> (64 - r)); }

static uint64_t finalMix(uint64_t v) {
    v ^= v >> 33;
    v *= 0xFF51AFD7ED558CCDull;
    v ^= v >> 33;
    v *= 0xC4CEB9FE1A85EC53ull;
    v ^= v >> 33;
    return v;
}

const uint64_t HashMultiplier = 0x9E3779B97F4A7C15ull;

void StateHasher::u64(uint64_t v) { h = rotl((h ^ v) * HashMultiplier, 29); }

void StateHasher::f32(float v) {
    uint32_t bits;
    memcpy(&bits, &v, 4);
    u32(bits);
}

void StateHasher::vec(Vec4 v) {
    f32(v.x);
    f32(v.y);
    f32(v.z);
    f32(v.w);
}

// Each piece's fingerprint, kept until its cells change.
static uint64_t pieceHashes[LEVEL_PIECES];

// One piece: 16 runs of 256 bytes, eight bytes at a time in four lanes.
static uint64_t hashPiece(int i) {
    const int across = LEVEL_SIZE_X / LEVEL_PIECE_X, down = LEVEL_SIZE_Y / LEVEL_PIECE_Y;
    int x = (i % across) * LEVEL_PIECE_X, y = (i / across % down) * LEVEL_PIECE_Y, z = i / (across * down);
    uint64_t lane[4] = {(uint64_t)i, 1, 2, 3};
    for (int row = 0; row < LEVEL_PIECE_Y; row++) {
        const uint8_t* p = levelGrid + levelIndex(x, y + row, z);
        for (int k = 0; k < LEVEL_PIECE_X; k += 32)
            for (int l = 0; l < 4; l++) {
                uint64_t w;
                memcpy(&w, p + k + 8 * l, 8);
                lane[l] = rotl((lane[l] ^ w) * HashMultiplier, 29);
            }
    }
    StateHasher s;
    for (uint64_t l : lane) s.u64(l);
    return finalMix(s.h);
}

uint64_t hashLevelGrid() {
    static_assert(LEVEL_PIECES % 64 == 0, "pieces are marked in 64-bit words");
    for (int w = 0; w < LEVEL_PIECES / 64; w++) {
        while (levelPiecesChanged[w]) {
            int bit = __builtin_ctzll(levelPiecesChanged[w]);
            pieceHashes[w * 64 + bit] = hashPiece(w * 64 + bit);
            levelPiecesChanged[w] &= levelPiecesChanged[w] - 1;
        }
    }
    StateHasher s;
    for (uint64_t h : pieceHashes) s.u64(h);
    for (uint32_t c : levelPalette) s.u32(c);
    return finalMix(s.h);
}

int32_t currentModeNumber() {
    GameMode* modes[] = {nullptr, &playMode, &gameOverMode, &elevatorMode, upgradeMode, endDemoMode};
    for (int32_t i = 0; i < 6; i++)
        if (currentMode == modes[i]) return i;
    return -1;
}

const char* modeNumberName(int32_t mode) {
    static const char* const names[] = {"none", "play", "game over", "elevator", "upgrade screen", "end screen"};
    return mode >= 0 && mode < 6 ? names[mode] : "?";
}

uint64_t hashSimulationState() {
    StateHasher s;
    for (int i = 0; i < runStateFieldCount; i++)
        if (runStateFields[i].hash == RunStateHashed) runStateFields[i].fingerprint(s);
    return finalMix(s.h);
}

uint64_t hashWholeSimulation() {
    StateHasher s;
    s.u64(hashLevelGrid());
    s.u64(hashSimulationState());
    return finalMix(s.h);
}
