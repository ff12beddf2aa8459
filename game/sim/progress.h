// progress: the run's level counter and upgrade points, and the three
// upgrades sold between levels. levelNumber lives with the level (it picks
// the layout); newGame resets it here together with everything else.
#pragma once
#include <cstdint>
#include "qz_dynArray.h"
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

// The picks of one visit to the upgrade screen: made afresh by offerUpgrades
// on every entry, applied by applyUpgradePicks ("GO!"). The screen shows them;
// a picked row hides its "+", an unpicked one its "-".
struct UpgradePicks {
    DynArray<Upgrade*> offered;  // in table order: affordable and still upgradable at entry
    DynArray<int32_t> chosen;    // 1 when picked on this visit
    int32_t pendingPoints;       // upgradePoints minus the picked costs
};
extern UpgradePicks upgradePicks;

// Offers what upgradePoints can buy and can still be raised; nothing picked.
void offerUpgrades();
// Picks row (its "+") when the row exists, is not picked and the pending
// points pay for it; takes a pick back (its "-") when it was picked. False,
// with nothing changed, otherwise: a replayed command obeys the same rules
// as the buttons a player can see.
bool pickUpgrade(int row);
bool unpickUpgrade(int row);
// Applies every pick and keeps the pending points.
void applyUpgradePicks();

// Level 1, no points, every upgrade reset.
void newGame();
// One level further and five points more; after each elevator ride.
void nextLevel();
