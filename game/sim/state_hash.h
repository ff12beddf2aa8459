// state_hash: a 64-bit fingerprint of the whole simulation, for checking a
// replayed run against its recording. Fields are hashed one by one (floats
// by their bits), never whole records, so padding and addresses play no part.
#pragma once
#include <cstddef>
#include <cstdint>
#include "qz_math.h"

struct StateHasher {
    uint64_t h = 0x6A09E667F3BCC908ull;

    void u64(uint64_t v);
    void u32(uint32_t v) { u64(v); }
    void i32(int32_t v) { u64((uint32_t)v); }
    void f32(float v);
    void vec(Vec4 v);
};

// The level grid and its palette. The grid is hashed in pieces of 256 x 16
// cells, a piece only again after its cells were marked changed
// (markLevelCellsChanged): after a level build this takes milliseconds,
// after some craters a small fraction of one.
uint64_t hashLevelGrid();
// The hashed fields of the run-state list (run_state.h), in its order:
// everything but the grid.
uint64_t hashSimulationState();
// Both together; what a checkpoint holds.
uint64_t hashWholeSimulation();

// The current mode as a number: 0 none, 1 play, 2 game over, 3 elevator,
// 4 upgrade screen, 5 end screen.
int32_t currentModeNumber();
const char* modeNumberName(int32_t mode);
