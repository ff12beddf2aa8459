// run_state: every piece of a run's simulation state in one list, with what
// resets it and whether a checkpoint covers it. The checkpoint hash, the
// reset a recorded run (and a test) starts from, and the test that checks
// each field's lifetime all walk this list, so a field is added in one place.
// The state itself stays in the header that owns it (hero.h, level.h,
// robots.h, shots.h, progress.h, world.h, framing_modes.h, ...).
#pragma once
#include <cstdint>

struct StateHasher;

// What puts a field back to its starting value.
enum RunStateLifetime {
    RunStateStartUp,  // program start (and resetRunState); kept after that
    RunStateNewGame,  // newGame
    RunStateLevel,    // restartLevel (each level build)
    RunStateMode,     // its mode's enter; meaningful only while that mode is current
    RunStateStep,     // filled before every step
};

enum RunStateHash {
    RunStateHashed,       // in every checkpoint, in list order (hashSimulationState)
    RunStateHashedApart,  // the level grid: hashed on its own by hashLevelGrid
    RunStateNotHashed,    // see `why`
};

struct RunStateField {
    const char* name;  // the global (or the part of one) it stands for
    RunStateLifetime lifetime;
    RunStateHash hash;
    const char* why;  // the reason it is not hashed; null otherwise
    // Adds the field to a fingerprint: what the checkpoint hashes for a
    // hashed field; for the others, what the lifetime test compares.
    void (*fingerprint)(StateHasher& s);
    // Back to its start-up value, for the RunStateStartUp fields; null where
    // newGame, the level build or a mode's entry sets the field.
    void (*resetToStart)();
};

extern const RunStateField runStateFields[];
extern const int runStateFieldCount;

// The simulation as the program starts, then a new game in the play mode
// (level 1 built): the start-up fields reset, the generator seeded with seed,
// newGame, the play mode entered. A recorded run starts here.
void resetRunState(uint64_t seed);
