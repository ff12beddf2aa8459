#include "services.h"
#include <cstdlib>
#include "qz_utils.h"

static GameServices noServices;
GameServices* gameServices = &noServices;

void setGameServices(GameServices* services) { gameServices = services ? services : &noServices; }

void GameServices::quitGame() {
    runShutdownSequence();
    exit(0);
}
