#include "volume_display.h"
#include "sound.h"

bool volumeLine(FixedString<48>* text) {
    if (soundVolume.shownSteps <= 0) return false;
    if (soundVolume.muted) text->assign("Sound muted");
    else text->format("Volume %d   Music %d", soundVolume.effects, soundVolume.music);
    return true;
}
