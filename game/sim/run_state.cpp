// run_state: the list of a run's state. The order of the hashed fields is the
// checkpoint's byte order: changing it changes every recording's checkpoints.
#include "run_state.h"
#include <initializer_list>
#include "framing_modes.h"
#include "hero.h"
#include "level.h"
#include "progress.h"
#include "random.h"
#include "robots.h"
#include "shots.h"
#include "state_hash.h"
#include "step_input.h"
#include "world.h"

static void modeState(StateHasher& s) { s.i32(currentModeNumber()); }

static void gameOverDelay(StateHasher& s) {
    if (currentMode == &gameOverMode) s.f32(static_cast<GameOverMode&>(gameOverMode).delay);
}

static void elevatorState(StateHasher& s) {
    if (currentMode != &elevatorMode) return;
    const ElevatorGameMode& e = elevatorRide();
    for (int32_t v : {e.minX, e.minY, e.maxX, e.liftY, e.speed}) s.i32(v);
}

static void picksState(StateHasher& s) {
    if (currentMode != upgradeMode || !upgradeMode) return;
    s.i32(upgradePicks.pendingPoints);
    s.i32(upgradePicks.chosen.num);
    for (int32_t c : upgradePicks.chosen) s.i32(c);
}

static void heroState(StateHasher& s) {
    const Hero& h = hero;
    s.vec(h.position);
    s.vec(h.previousPosition);
    s.vec(h.aimDirection);
    s.vec(h.aimPoint);
    s.vec(h.shoulder);
    for (auto& row : h.model.m)
        for (float f : row) s.f32(f);
    for (float f : {h.vx, h.vy, h.walkPhase, h.fireCooldown, h.hurtTimer, h.exitTimer}) s.f32(f);
    s.i32(h.health);
    s.u32(h.facingRight);
    s.u32(h.onGround);
    s.u32(h.touched);
}

static void robotsState(StateHasher& s) {
    s.i32(robots.num);
    for (const Robot& r : robots) {
        s.vec(r.position);
        s.vec(r.previousPosition);
        s.f32(r.vx);
        s.f32(r.vy);
        s.i32(r.health);
        s.u32((uint32_t)r.contacts);
        s.u32(r.facingRight);
        s.u32(r.onGround);
    }
}

static void shotsState(StateHasher& s) {
    s.i32(shots.num);
    for (const Shot& sh : shots) {
        s.vec(sh.position);
        s.vec(sh.velocity);
        s.u32(sh.colour);
        s.i32(sh.hitsRobots);
        s.u32(sh.owner == &hero);  // the owner's address differs between runs
    }
}

static void particlesState(StateHasher& s) {
    s.i32(particles.num);
    for (const Particle& p : particles) {
        s.vec(p.position);
        s.vec(p.velocity);
        s.u32(p.colour);
        s.f32(p.life);
    }
}

static void stepInputState(StateHasher& s) {
    const StepInput& in = stepInput;
    for (uint32_t v : {in.held, in.pressed, in.released}) s.u32(v);
    s.vec(in.aimPoint);
    s.u32(in.windowActive);
    s.i32(in.numGuiCommands);
}

const RunStateField runStateFields[] = {
    {"currentMode", RunStateStartUp, RunStateHashed, nullptr, modeState, [] { setGameMode(nullptr); }},
    {"gameOverMode.delay", RunStateMode, RunStateHashed, nullptr, gameOverDelay, nullptr},
    {"elevatorRide", RunStateMode, RunStateHashed, nullptr, elevatorState, nullptr},
    {"upgradePicks", RunStateMode, RunStateHashed, nullptr, picksState, nullptr},
    {"levelNumber", RunStateNewGame, RunStateHashed, nullptr, [](StateHasher& s) { s.i32(levelNumber); }, nullptr},
    {"upgradePoints", RunStateNewGame, RunStateHashed, nullptr, [](StateHasher& s) { s.i32(upgradePoints); },
     nullptr},
    {"fireRate", RunStateNewGame, RunStateHashed, nullptr, [](StateHasher& s) { s.f32(fireRate); }, nullptr},
    {"wallDestruction", RunStateNewGame, RunStateHashed, nullptr, [](StateHasher& s) { s.i32(wallDestruction); },
     nullptr},
    {"levelExitReached", RunStateLevel, RunStateHashed, nullptr, [](StateHasher& s) { s.u32(levelExitReached); },
     nullptr},
    // Seeded by resetRunState's caller (the recording's seed).
    {"gameRandom", RunStateStartUp, RunStateHashed, nullptr, [](StateHasher& s) { s.u64(gameRandom.state); },
     nullptr},
    // placeHero (each level build) resets motion, timers and flags; the aim
    // and the model's shoulder are kept, health is newGame's. So a recorded
    // run starts from the record as the program starts.
    {"hero", RunStateLevel, RunStateHashed, nullptr, heroState, [] { hero = heroAtProgramStart; }},
    {"cameraFollow", RunStateLevel, RunStateHashed, nullptr,
     [](StateHasher& s) {
         s.vec(cameraFollow[0]);
         s.vec(cameraFollow[1]);
     },
     nullptr},
    {"robots", RunStateLevel, RunStateHashed, nullptr, robotsState, nullptr},
    {"shots", RunStateLevel, RunStateHashed, nullptr, shotsState, nullptr},
    {"particles", RunStateLevel, RunStateHashed, nullptr, particlesState, nullptr},
    {"levelGrid", RunStateLevel, RunStateHashedApart, nullptr, [](StateHasher& s) { s.u64(hashLevelGrid()); },
     nullptr},
    {"showDebugBoxes", RunStateStartUp, RunStateNotHashed,
     "only draws the figures' boxes; the rules never read it, and F4 is not recorded",
     [](StateHasher& s) { s.u32(showDebugBoxes); }, [] { showDebugBoxes = false; }},
    {"stepInput", RunStateStep, RunStateNotHashed,
     "the recording holds each step's input itself; a checkpoint covers what it did", stepInputState, nullptr},
};
const int runStateFieldCount = (int)(sizeof runStateFields / sizeof runStateFields[0]);

void resetRunState(uint64_t seed) {
    for (const RunStateField& f : runStateFields)
        if (f.resetToStart) f.resetToStart();
    gameRandom.seed(seed);
    newGame();
    setGameMode(&playMode);
}
