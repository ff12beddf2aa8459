// volume_display: the line that shows the volumes for a moment after a
// volume key or mute (soundVolume.shownSteps, counted down per step).
#pragma once
#include "qz_utils.h"

// The line to show while shownSteps > 0 ("Volume 70   Music 60", "Sound muted").
bool volumeLine(FixedString<48>* text);
