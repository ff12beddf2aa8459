// bindings: which keys and mouse buttons give which action. The player
// rebinds them on the Controls screen; each action holds up to three, and a
// key gives at most one action. Stored as one settings dword per action and
// slot ("bind_jump_1" ... "bind_jump_3"), 0 for an empty slot.
#pragma once
#include <cstdint>

enum { BindingSlots = 3 };

enum BoundAction {
    BindRunLeft,
    BindRunRight,
    BindJump,
    BindFire,
    BindRestartLevel,
    BindPause,
    BindScreenshot,
    BindOverlay,
    BindVolumeDown,
    BindVolumeUp,
    BindMute,
    BoundActionCount
};

struct BoundActionInfo {
    uint32_t action;          // StepAction bit
    const char* settingName;  // "jump" -> "bind_jump_1"
    const char* label;        // row of the Controls screen
    int defaults[BindingSlots];
};
extern const BoundActionInfo boundActions[BoundActionCount];

// Virtual-key codes per action and slot; 0 = empty. Program state: the
// defaults, then readBindings at start-up; changed by the Controls screen.
extern int bindings[BoundActionCount][BindingSlots];

// Keys and buttons that can be bound: mouse buttons, and every key with a name.
bool bindableKey(int vk);
// Why vk cannot give the action, as a short line for the Controls screen
// ("F3 can't be bound"), or null when it can. F3 and F4 stay the fixed debug
// keys; Print Screen and F1 give only Screenshot and Overlay, so a picture
// and the overlay can always be had.
const char* bindingRefusal(int action, int vk);
// Its name for the Controls screen ("Print Screen" included).
const char* bindingKeyName(int vk);
// A name of at most five characters ("[", "PgDn", "LMB") for rows the full
// names do not fit.
const char* bindingKeyShortName(int vk);

void resetBindingsToDefaults();
// From the settings; a missing value keeps the slot's default, a value that
// is malformed, no bindable key, refused for the action or already bound
// earlier falls back to the default (or empty when that is taken too) with a
// log line. An action left with no key at all gets its free defaults back,
// with a log line: a stored file cannot make Pause unreachable.
void readBindings();
// Stores every slot of one action.
void storeBindings(int action);
void storeAllBindings();
// Puts vk into the action's first free slot (or its last slot when all are
// full), taking it off any other action first; both actions are stored.
// False for a key that cannot be bound to it (bindingRefusal).
bool bindKey(int action, int vk);
// Defaults back, stored.
void restoreDefaultBindings();

// The action bits held, pressed and released this step by the bound keys.
// Confirm (game over) comes with Enter and with the jump and fire keys.
void boundActionsFromKeys(uint32_t* held, uint32_t* pressed, uint32_t* released);
// Adds bit to what one key holds, pressed and released this step, unless
// the key is held back.
void keyActions(int vk, uint32_t bit, uint32_t* held, uint32_t* pressed, uint32_t* released);

// A key or mouse button that just pressed a screen button (or Alt+Enter)
// gives nothing until it is up at the end of a step: Space that pressed
// "GO!" does not jump, a click on "Back" does not also pause (a click whose
// press and release came in one step included).
void holdKeyUntilReleased(int vk);
// Once per step, after the step's actions were read: held-back keys that
// are up again act from their next press on.
void letGoReleasedKeys();
