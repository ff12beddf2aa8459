#include "progress.h"
#include "hero.h"
#include "level.h"
#include "shots.h"

int32_t upgradePoints;

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
