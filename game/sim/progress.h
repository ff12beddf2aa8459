// progress: the run's level counter and upgrade points, and the three
// upgrades sold between levels. levelNumber lives with the level (it picks
// the layout); newGame resets it here together with everything else.
#pragma once
#include <cstdint>
#include "qz_utils.h"

// Run state: reset by newGame, +5 by nextLevel, spent on the upgrade screen.
extern int32_t upgradePoints;  // points to spend; 0 in a new game, +5 per finished level

class Upgrade {
public:
    virtual void resetUpgrade() = 0;             // the governed value back to its new-game level
    virtual FixedString<32> getName() = 0;       // display name
    virtual int32_t cost() = 0;                  // price in upgrade points
    virtual bool canUpgrade() { return true; }   // may still be offered
    virtual void apply() = 0;                    // raises the value one step
};

struct HealthUp : Upgrade {  // the hero's hearts: 4, +1 each
    void resetUpgrade() override;
    FixedString<32> getName() override { return "Health"; }
    int32_t cost() override { return 5; }
    void apply() override;
};

struct FireRateUp : Upgrade {  // shots per second: 10, +1 each
    void resetUpgrade() override;
    FixedString<32> getName() override { return "Fire rate"; }
    int32_t cost() override { return 3; }
    void apply() override;
};

struct WallDestrUp : Upgrade {  // crater half-size: 2, +1 each, at most 4
    void resetUpgrade() override;
    FixedString<32> getName() override { return "Wall destruction"; }
    int32_t cost() override { return 5; }
    bool canUpgrade() override;
    void apply() override;
};

// Display order, ended by null.
extern Upgrade* const upgradeTable[4];

// Level 1, no points, every upgrade reset.
void newGame();
// One level further and five points more; after each elevator ride.
void nextLevel();
