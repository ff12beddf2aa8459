// options: the game's display and quality options, from the settings value
// "flags" and then the command line.
#pragma once
#include <cstdint>
#include "display_options.h"
#include "qz_utils.h"

// Defaults, then "flags", then the arguments after the program name in
// order: "-720", "-360", "-aa", "-noaa", "-vs", "-novs", "-fullscr", "-win".
// Matching is exact and case-sensitive; later arguments win; others are ignored.
void readSettings(int argc, const char* const* argv);

// What the program does with a recording: "-record FILE" records the run
// played, "-replay FILE" shows a recorded run, "-verify FILE" checks one
// without a window. The last of them given counts.
enum RecordedRunMode { RunPlay, RunRecord, RunReplay, RunVerify };
struct RecordedRunOption {
    RecordedRunMode mode;
    const char* path;  // the argument after the option; null with RunPlay
};
// False, with the option named in error, when the file name is missing.
bool readRecordedRunOption(int argc, const char* const* argv, RecordedRunOption* out, FixedString<64>* error);
