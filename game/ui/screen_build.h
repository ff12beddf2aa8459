// screen_build: what the game's screens share on top of the GUI builder
// (gui_builder.h): the renderer they are laid out with, the width of a
// screen pixel, the 40 x 30-unit root and its centred lines of text.
#pragma once
#include <cstdint>
#include "gui.h"

// The renderer the game's screens are laid out and drawn with; set once at
// start-up (tests set their own).
extern IGuiRenderer* gameGuiRenderer;
// One screen pixel in units of that renderer (1/8 without one): the width of
// the game's button edges.
float screenPixel();

// The root every game screen hangs from: 40 x 30 units, centred, "root".
GuiBox* buildScreenRoot();
// A line of text centred across the parent, its top at top units.
GuiBox* buildLine(GuiBox* parent, const char* text, uint32_t colour, int scale, float top);
