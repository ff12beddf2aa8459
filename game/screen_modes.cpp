#include "screen_modes.h"
#include "world.h"

static UpgradeGameMode upgradeModeInstance;
static EndDemoGameMode endDemoModeInstance;
GameMode& upgradeMode = upgradeModeInstance;
GameMode& endDemoMode = endDemoModeInstance;
