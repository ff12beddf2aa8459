// layout: turns the GuiLen fields of a box tree into rectangles.
//
// Boxes do not flow: each child starts at the top-left of its parent's
// contentRect and is placed by its margins and offsets. Auto sizes take the
// size of the content; auto margins and paddings share the parent's free
// space (both sides auto = centred). Layout writes only outerRect,
// paddingRect, contentRect and borderPx; the GuiLen fields are never changed.
#pragma once
#include "gui.h"

// Lays out box and its subtree. Without a parent the box fills the screen's
// rootRect, or 640 x 480 when screen is null (unit 8 then).
void layoutBox(GuiBox* box, GuiScreen* screen);
// Content size of a box: its own content (explicit size or text), grown to
// its largest child (children overlap, they do not stack).
void measureBox(GuiBox* box, GuiScreen* screen, float* w, float* h);
// Outer size the box needs from its parent. Percentages are solved for the
// parent width; 100 % or more in total gives the fixed part alone.
void childExtent(GuiBox* box, GuiScreen* screen, float* w, float* h);
// Solves one axis between start and end and returns the extent used. Auto
// margins and paddings get equal shares of the free space, rewritten into
// the passed lengths as pixels; without free space they stay 0.
float solveAxis(GuiLen& beforeMargin, float beforeBorder, GuiLen& beforePadding, const GuiLen& size,
                GuiLen& afterPadding, float afterBorder, GuiLen& afterMargin, float start, float end,
                float unit, float base);
