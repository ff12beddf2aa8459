// launcher_screen: the launcher's one screen, its four options and the
// "flags" value they are stored as.
//
// Built from plain boxes of the GUI toolkit; no window system here, so the
// screen can be built and laid out by tests and benchmarks as the program
// builds it. The options are the globals of display_options.h.
#pragma once
#include <cstdint>
#include "gui.h"
#include "gui_builder.h"  // setButtonLabel

// commandId of the button boxes.
enum LauncherCommand {
    CmdPlay = 1,
    CmdQuit = 2,
    CmdVisitSite = 3,
    CmdToggleFullscreen = 4,
    CmdToggleAntiAlias = 5,
    CmdToggleVSync = 6,
    CmdToggleFastVoxels = 7,
};

// The renderer's unit, read once after the font is set; one font pixel is
// 1/fontUnit units. Set before buildLauncherScreen.
extern int32_t fontUnit;
// Containers of the four toggles (commands 4 to 7, in that order), set by
// buildLauncherScreen; they belong to the screen's tree.
extern GuiBox* optionButtons[4];

// Label of one toggle command for the current option value.
const char* optionLabel(int32_t command);
void updateOptionLabels();

// The whole screen: a 40 x 30-unit root centred in the window, title,
// version, four toggles, the maker's notice, Play, Quit and Visit site.
// Behaviours must be registered before.
GuiBox* buildLauncherScreen();

// The four options from "flags", or their defaults when it cannot be read.
void loadFlags();
// Writes "flags" from the four options; false when the store cannot be written.
bool saveFlags();
// Inverts the option of a toggle command; false for any other command.
bool toggleOption(int32_t command);
