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
// Its name for the Controls screen ("Print Screen" included).
const char* bindingKeyName(int vk);

void resetBindingsToDefaults();
// From the settings; a missing value keeps the slot's default, a value that
// is no bindable key or is already bound earlier falls back to the default
// (or empty when that is taken too) with a log line.
void readBindings();
// Stores every slot of one action.
void storeBindings(int action);
void storeAllBindings();
// Puts vk into the action's first free slot (or its last slot when all are
// full), taking it off any other action first; both actions are stored.
// False for a key that cannot be bound.
bool bindKey(int action, int vk);
// Defaults back, stored.
void restoreDefaultBindings();

// The action bits held, pressed and released this step by the bound keys.
// Confirm (game over) comes with Enter and with the jump and fire keys.
void boundActionsFromKeys(uint32_t* held, uint32_t* pressed, uint32_t* released);
