// step_input: everything a fixed step takes from the player, in one record.
// Game logic reads `stepInput` and never polls keys or the pointer, so a
// step runs the same whether its input came from the keyboard and mouse, a
// gamepad or a recording.
#pragma once
#include <cstdint>
#include "qz_math.h"

// Actions, one bit each. The first group changes the simulation and is what
// a recording keeps; the second only touches the view.
enum StepAction : uint32_t {
    ActionRunLeft = 1u << 0,
    ActionRunRight = 1u << 1,
    ActionJump = 1u << 2,
    ActionFire = 1u << 3,
    ActionRestartLevel = 1u << 4,  // builds the current level afresh
    ActionEndLevel = 1u << 5,      // leaves the level as if the exit was reached
    ActionConfirm = 1u << 6,       // its release starts a new game after game over
    ActionDebugBoxes = 1u << 7,    // draws the figures' boxes

    ActionScreenshot = 1u << 16,
    ActionOverlay = 1u << 17,
    ActionVolumeDown = 1u << 18,  // effects volume down by 10
    ActionVolumeUp = 1u << 19,
    ActionMute = 1u << 20,
    ActionPause = 1u << 21,       // stops the world and shows the pause screen
    // Screen navigation with the pad: the focus moves between the buttons
    // of a screen; press sends the focused button's command.
    ActionFocusPrevious = 1u << 22,
    ActionFocusNext = 1u << 23,
    ActionFocusPress = 1u << 24,
};
const uint32_t SimulationActions = 0xFFFFu;

enum { MaxStepGuiCommands = 8 };

struct StepInput {
    uint32_t held;      // actions held at the step
    uint32_t pressed;   // actions that went down since the last step
    uint32_t released;  // actions that came up since the last step
    // World point under the pointer on the hero's depth plane, where the
    // hero aims; w = 1.
    Vec4 aimPoint;
    // The window has focus and is not minimised; the level keys act only then.
    bool windowActive;
    // Command ids of the screen buttons used in this step, in order. In live
    // play the upgrade and end screens append what their buttons gave; in a
    // replay they come from the recording and the screens take them instead
    // of the pointer (guiFromRecord).
    int32_t numGuiCommands;
    int32_t guiCommands[MaxStepGuiCommands];
    bool guiFromRecord;
};

// The input of the step being run; filled before every step, cleared of
// GUI commands by the fill.
extern StepInput stepInput;

// A screen button gave command n in this step (live play): kept for the
// recording. False when the step already holds the most a record can take;
// the command is then not carried out. In a replay it only answers true.
bool noteGuiCommand(int32_t n);
