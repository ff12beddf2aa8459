#include "services.h"
#include <cstdlib>
#include "qz_utils.h"

static ViewServices noView;
static HostServices noHost;
static SoundServices noSound;
static RumbleServices noRumble;
ViewServices* viewServices = &noView;
HostServices* hostServices = &noHost;
SoundServices* soundServices = &noSound;
RumbleServices* rumbleServices = &noRumble;

void setViewServices(ViewServices* services) { viewServices = services ? services : &noView; }
void setHostServices(HostServices* services) { hostServices = services ? services : &noHost; }
void setSoundServices(SoundServices* services) { soundServices = services ? services : &noSound; }
void setRumbleServices(RumbleServices* services) { rumbleServices = services ? services : &noRumble; }

void HostServices::quitGame() {
    runShutdownSequence();
    exit(0);
}
