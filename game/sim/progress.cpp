#include "progress.h"
#include "hero.h"
#include "level.h"
#include "shots.h"

int32_t upgradePoints;
UpgradePicks upgradePicks;

void HealthUp::resetUpgrade() { setHeroHealth(4); }
void HealthUp::apply() { setHeroHealth(heroHealth() + 1); }

void FireRateUp::resetUpgrade() { fireRate = 10.0f; }
void FireRateUp::apply() { fireRate += 1.0f; }

void WallDestrUp::resetUpgrade() { wallDestruction = 2; }
bool WallDestrUp::canUpgrade() { return wallDestruction < 4; }
void WallDestrUp::apply() { wallDestruction += 1; }

static HealthUp healthUp;
static FireRateUp fireRateUp;
static WallDestrUp wallDestrUp;
Upgrade* const upgradeTable[4] = {&healthUp, &fireRateUp, &wallDestrUp, nullptr};

void newGame() {
    levelNumber = 1;
    upgradePoints = 0;
    for (int i = 0; upgradeTable[i]; i++) upgradeTable[i]->resetUpgrade();
}

void nextLevel() {
    levelNumber += 1;
    upgradePoints += 5;
}

void offerUpgrades() {
    UpgradePicks& u = upgradePicks;
    u.pendingPoints = upgradePoints;
    u.offered.clear();
    for (int i = 0; upgradeTable[i]; i++)
        if (upgradeTable[i]->canUpgrade() && upgradePoints >= upgradeTable[i]->cost()) u.offered.push(upgradeTable[i]);
    u.chosen.resize(u.offered.num);
    for (int32_t& c : u.chosen) c = 0;
}

bool pickUpgrade(int row) {
    UpgradePicks& u = upgradePicks;
    if (row < 0 || row >= u.offered.num || u.chosen[row] != 0) return false;
    int32_t price = u.offered[row]->cost();
    if (u.pendingPoints < price) return false;
    u.chosen[row] = 1;
    u.pendingPoints -= price;
    return true;
}

bool unpickUpgrade(int row) {
    UpgradePicks& u = upgradePicks;
    if (row < 0 || row >= u.offered.num || u.chosen[row] != 1) return false;
    u.chosen[row] = 0;
    u.pendingPoints += u.offered[row]->cost();
    return true;
}

void applyUpgradePicks() {
    UpgradePicks& u = upgradePicks;
    for (int i = 0; i < u.offered.num; i++)
        if (u.chosen[i]) u.offered[i]->apply();
    upgradePoints = u.pendingPoints;
}
