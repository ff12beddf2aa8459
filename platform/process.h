// process: starting another program without waiting for it.
#pragma once

// Starts the program at path with no arguments beyond its own path, in the
// current folder and environment, and returns without waiting. 0 when it
// was started, else the errno-style reason (the program is missing or not
// executable, or no process could be made).
int startProgram(const char* path);
