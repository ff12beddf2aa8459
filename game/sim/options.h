// options: the game's display and quality options, from the settings value
// "flags" and then the command line.
#pragma once
#include <cstdint>
#include "display_options.h"

// Defaults, then "flags", then the arguments after the program name in
// order: "-720", "-360", "-aa", "-noaa", "-vs", "-novs", "-fullscr", "-win".
// Matching is exact and case-sensitive; later arguments win; others are ignored.
void readSettings(int argc, const char* const* argv);
