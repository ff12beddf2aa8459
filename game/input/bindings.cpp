#include "bindings.h"
#include <cstring>
#include "input.h"
#include "qz_utils.h"
#include "settings.h"
#include "step_input.h"

const BoundActionInfo boundActions[BoundActionCount] = {
    {ActionRunLeft, "run_left", "Run left", {'A', VK_LEFT}},
    {ActionRunRight, "run_right", "Run right", {'D', VK_RIGHT}},
    {ActionJump, "jump", "Jump", {'W', VK_UP, VK_SPACE}},
    {ActionFire, "fire", "Fire", {VK_LBUTTON, VK_RBUTTON}},
    {ActionRestartLevel, "restart", "Restart level", {VK_ESCAPE}},
    {ActionPause, "pause", "Pause", {'P', VK_PAUSE}},
    {ActionScreenshot, "screenshot", "Screenshot", {VK_SNAPSHOT}},
    {ActionOverlay, "overlay", "Overlay", {VK_F1}},
    {ActionVolumeDown, "volume_down", "Effects volume -", {VK_OEM_MINUS, VK_SUBTRACT}},
    {ActionVolumeUp, "volume_up", "Effects volume +", {VK_OEM_PLUS, VK_ADD}},
    {ActionMute, "mute", "Mute", {'M'}},
};

int bindings[BoundActionCount][BindingSlots];
// Tests and tools that never read the settings play with the defaults.
static const bool bindingsStartAtDefaults = (resetBindingsToDefaults(), true);

bool bindableKey(int vk) {
    if (vk == VK_SNAPSHOT || vk == VK_MBUTTON) return true;
    return vk > 0 && vk < 256 && strcmp(keyName((uint32_t)vk), "?") != 0;
}

const char* bindingKeyName(int vk) {
    switch (vk) {  // short enough for three in a row
        case VK_SNAPSHOT: return "Print Screen";
        case VK_LBUTTON: return "Left Mouse";
        case VK_RBUTTON: return "Right Mouse";
        case VK_MBUTTON: return "Middle Mouse";
    }
    return keyName((uint32_t)vk);
}

void resetBindingsToDefaults() {
    for (int a = 0; a < BoundActionCount; a++)
        for (int s = 0; s < BindingSlots; s++) bindings[a][s] = boundActions[a].defaults[s];
}

static void settingName(int action, int slot, FixedString<48>* out) {
    out->format("bind_%s_%d", boundActions[action].settingName, slot + 1);
}

// The action and slot holding vk, before (action, slot) in table order.
static bool boundBefore(int vk, int action, int slot) {
    for (int a = 0; a <= action; a++)
        for (int s = 0; s < BindingSlots && (a < action || s < slot); s++)
            if (bindings[a][s] == vk) return true;
    return false;
}

void readBindings() {
    resetBindingsToDefaults();
    int stored[BoundActionCount][BindingSlots];
    bool present[BoundActionCount][BindingSlots];
    for (int a = 0; a < BoundActionCount; a++)
        for (int s = 0; s < BindingSlots; s++) {
            FixedString<48> name;
            settingName(a, s, &name);
            uint32_t v = 0;
            present[a][s] = readSettingDword(name, &v);
            SettingType type;
            char text[64];
            int size = sizeof text;
            if (!present[a][s] && readSetting(name, &type, text, &size))
                logMessage("binding %s: not a key code, using the default", name.c_str());
            stored[a][s] = v > 0xFFFF ? -1 : (int)v;
        }
    // Taken in table order, so the first claim to a key keeps it.
    for (int a = 0; a < BoundActionCount; a++)
        for (int s = 0; s < BindingSlots; s++) {
            int def = boundActions[a].defaults[s];
            int v = present[a][s] ? stored[a][s] : def;
            bool bad = v != 0 && (!bindableKey(v) || boundBefore(v, a, s));
            if (bad) {
                FixedString<48> name;
                settingName(a, s, &name);
                const char* why = bindableKey(v) ? "key bound twice" : "no such key";
                v = def != 0 && !boundBefore(def, a, s) ? def : 0;
                logMessage("binding %s: %s, %s", name.c_str(), why, v ? "using the default" : "left empty");
            }
            bindings[a][s] = v;
        }
    // A later default that an earlier stored value took is dropped.
    for (int a = 0; a < BoundActionCount; a++)
        for (int s = 0; s < BindingSlots; s++)
            if (bindings[a][s] && boundBefore(bindings[a][s], a, s)) bindings[a][s] = 0;
}

void storeBindings(int action) {
    for (int s = 0; s < BindingSlots; s++) {
        FixedString<48> name;
        settingName(action, s, &name);
        if (!writeSettingDword(name, (uint32_t)bindings[action][s])) logMessage("can't store %s", name.c_str());
    }
}

void storeAllBindings() {
    for (int a = 0; a < BoundActionCount; a++) storeBindings(a);
}

// Empties one slot and closes the gap, so the free slots are the last ones.
static void removeSlot(int action, int slot) {
    for (int s = slot; s + 1 < BindingSlots; s++) bindings[action][s] = bindings[action][s + 1];
    bindings[action][BindingSlots - 1] = 0;
}

bool bindKey(int action, int vk) {
    if (action < 0 || action >= BoundActionCount || !bindableKey(vk)) return false;
    for (int s = 0; s < BindingSlots; s++)
        if (bindings[action][s] == vk) return true;
    for (int a = 0; a < BoundActionCount; a++)
        for (int s = 0; s < BindingSlots; s++)
            if (bindings[a][s] == vk) {
                removeSlot(a, s);
                storeBindings(a);
            }
    int slot = BindingSlots - 1;
    for (int s = 0; s < BindingSlots; s++)
        if (!bindings[action][s]) {
            slot = s;
            break;
        }
    bindings[action][slot] = vk;
    storeBindings(action);
    return true;
}

void restoreDefaultBindings() {
    resetBindingsToDefaults();
    storeAllBindings();
}

void boundActionsFromKeys(uint32_t* held, uint32_t* pressed, uint32_t* released) {
    uint32_t h = 0, p = 0, r = 0;
    for (int a = 0; a < BoundActionCount; a++)
        for (int vk : bindings[a]) {
            if (!vk) continue;
            uint32_t bit = boundActions[a].action;
            if (bit & (ActionJump | ActionFire)) bit |= ActionConfirm;
            if (keyHeld(vk)) h |= bit;
            if (keyPressed(vk)) p |= bit;
            if (keyReleased(vk)) r |= bit;
        }
    if (keyHeld(VK_RETURN)) h |= ActionConfirm;
    if (keyPressed(VK_RETURN)) p |= ActionConfirm;
    if (keyReleased(VK_RETURN)) r |= ActionConfirm;
    *held = h, *pressed = p, *released = r;
}
