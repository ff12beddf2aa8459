// The run-state list: each field is put back by what its lifetime says, and
// a change of a hashed field changes the checkpoint.
#include <cstring>
#include "framing_modes.h"
#include "game_fixture.h"

namespace {
// How the test changes a field; `enter` first brings the game into the mode
// in which the field means something.
struct FieldChange {
    const char* name;
    void (*enter)();
    void (*change)();
};
void none() {}
const FieldChange changes[] = {
    {"currentMode", none, [] { setGameMode(&gameOverMode); }},
    {"gameOverMode.delay", [] { setGameMode(&gameOverMode); },
     [] { static_cast<GameOverMode&>(gameOverMode).delay += 1; }},
    {"elevatorRide", [] { setGameMode(&elevatorMode); }, [] { elevatorRide().liftY += 3; }},
    {"upgradePicks", [] { upgradePoints = 10; setGameMode(upgradeMode); }, [] { pickUpgrade(0); }},
    {"levelNumber", none, [] { levelNumber = 2; }},
    {"upgradePoints", none, [] { upgradePoints = 7; }},
    {"fireRate", none, [] { fireRate += 1; }},
    {"wallDestruction", none, [] { wallDestruction = 4; }},
    {"levelExitReached", none, [] { levelExitReached = true; }},
    {"gameRandom", none, [] { gameRandom.nextU32(); }},
    {"hero", none, [] { hero.position.x += 5; }},
    {"cameraFollow", none, [] { cameraFollow[1].x += 5; }},
    {"robots", none, [] { robots[0].position.x += 1; }},
    {"shots", none, [] { shots.push(Shot()); }},
    {"particles", none, [] { particles.push(Particle()); }},
    {"levelGrid", none, [] { clearCells(0, 0, 0, 40, 40, 19, 0); }},
    {"showDebugBoxes", none, [] { showDebugBoxes = true; }},
    {"stepInput", none, [] { stepInput.held ^= ActionJump; }},
};

uint64_t fingerprintOf(const RunStateField& f) {
    StateHasher s;
    f.fingerprint(s);
    return s.h;
}
}  // namespace

TEST_F(GameTest, EveryRunStateFieldHasItsLifetimeAndItsHash) {
    ASSERT_EQ(runStateFieldCount, (int)(sizeof changes / sizeof changes[0])) << "a field without a change here";
    for (int i = 0; i < runStateFieldCount; i++) {
        const RunStateField& f = runStateFields[i];
        const FieldChange& c = changes[i];
        ASSERT_STREQ(f.name, c.name);
        EXPECT_EQ(f.why == nullptr, f.hash != RunStateNotHashed) << f.name << ": a field not hashed says why";
        resetRunState(12345);
        c.enter();
        uint64_t field = fingerprintOf(f), whole = hashWholeSimulation();
        c.change();
        EXPECT_NE(fingerprintOf(f), field) << f.name << ": the change must reach the field";
        if (f.hash != RunStateNotHashed) EXPECT_NE(hashWholeSimulation(), whole) << f.name;
        else EXPECT_EQ(hashWholeSimulation(), whole) << f.name;

        switch (f.lifetime) {
            case RunStateNewGame: newGame(); break;
            case RunStateLevel: restartLevel(); break;
            case RunStateStartUp: resetRunState(12345); break;
            case RunStateMode:
                setGameMode(&playMode);
                upgradeMode->update(0);  // a screen goes in the update after its mode was left
                c.enter();
                break;
            case RunStateStep: continue;  // the next step's input replaces it whole
        }
        EXPECT_EQ(fingerprintOf(f), field) << f.name << " is not reset by its lifetime";
    }
    setGameMode(nullptr);
}
