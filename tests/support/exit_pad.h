// Puts the hero on the first exit pad of layout A (the elevator's start).
#pragma once
#include "hero.h"
#include "level.h"

// On the top of the leftmost pad column between x 1100 and 1400; false when
// there is none.
inline bool placeHeroOnExitPad() {
    for (int x = 1100; x < 1400; x++) {
        int top = -1;
        for (int y = 0; y < 64; y++)
            if (levelCell(x, y, 10) == Exit) top = y;
        if (top >= 0) {
            placeHero((float)x + 8, (float)top + 1);
            return true;
        }
    }
    return false;
}
