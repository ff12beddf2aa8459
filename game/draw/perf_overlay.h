// perf_overlay: the F1 performance overlay: frame and update time graphs
// and a panel of figures, drawn inside the frame's text batch.
#pragma once
#include <cstdint>

// Whether the overlay is shown: false at start-up, F1 toggles it; lives
// for the program.
extern bool perfOverlayOn;

void drawPerfOverlay();
// One 200-bar graph of a statistics ring. Full bar height stands for twice
// the reference; bars at or above the threshold are red.
void drawStatGraph(const int32_t* ring, int position, int32_t reference, int32_t threshold, bool rightSide);
