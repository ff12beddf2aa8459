#include "services.h"

static GameServices noServices;
GameServices* gameServices = &noServices;

void setGameServices(GameServices* services) { gameServices = services ? services : &noServices; }
