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

const char* bindingRefusal(int action, int vk) {
    if (!bindableKey(vk)) return "That key can't be bound";
    if (vk == VK_F3) return "F3 can't be bound";
    if (vk == VK_F4) return "F4 can't be bound";
    if (vk == VK_SNAPSHOT && action != BindScreenshot) return "Print Screen: Screenshot only";
    if (vk == VK_F1 && action != BindOverlay) return "F1: Overlay only";
    return nullptr;
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

const char* bindingKeyShortName(int vk) {
    static const char* const numPad[] = {"Num0", "Num1", "Num2", "Num3", "Num4",
                                         "Num5", "Num6", "Num7", "Num8", "Num9"};
    if (vk >= 96 && vk <= 105) return numPad[vk - 96];
    static const struct {
        int vk;
        const char* name;
    } shortNames[] = {
        {VK_LBUTTON, "LMB"}, {VK_RBUTTON, "RMB"},   {VK_MBUTTON, "MMB"}, {VK_BACK, "Bksp"},   {VK_CAPITAL, "Caps"},
        {VK_ESCAPE, "Esc"},  {33, "PgUp"},          {34, "PgDn"},        {VK_LEFT, "Left"},   {VK_UP, "Up"},
        {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},     {VK_SNAPSHOT, "PrtSc"}, {45, "Ins"},      {VK_DELETE, "Del"},
        {91, "LWin"},        {92, "RWin"},          {93, "Menu"},        {106, "Num*"},       {VK_SUBTRACT, "Num-"},
        {110, "Num."},       {111, "Num/"},         {VK_NUMLOCK, "NumLk"}, {VK_SCROLL, "ScrLk"}, {186, ";"},
        {VK_OEM_PLUS, "="},  {VK_OEM_MINUS, "-"},   {190, "."},          {191, "/"},          {192, "`"},
        {219, "["},          {220, "\\"},          {221, "]"},          {222, "'"},
    };
    for (const auto& n : shortNames)
        if (n.vk == vk) return n.name;
    return bindingKeyName(vk);  // "A", "F12", "Space", "Comma" are short already
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

// The stored value of one slot: true with *vk when the settings name it;
// a line the reader refuses is logged and counts as absent.
static bool readStoredSlot(int action, int slot, int* vk) {
    FixedString<48> name;
    settingName(action, slot, &name);
    uint32_t v = 0;
    if (readSettingDword(name, &v)) {
        *vk = v > 0xFFFF ? -1 : (int)v;
        return true;
    }
    if (settingNamed(name)) logMessage("binding %s: not a key code, using the default", name.c_str());
    return false;
}

void readBindings() {
    resetBindingsToDefaults();
    int stored[BoundActionCount][BindingSlots];
    bool present[BoundActionCount][BindingSlots];
    for (int a = 0; a < BoundActionCount; a++)
        for (int s = 0; s < BindingSlots; s++) present[a][s] = readStoredSlot(a, s, &stored[a][s]);
    // Taken in table order, so the first claim to a key keeps it.
    for (int a = 0; a < BoundActionCount; a++)
        for (int s = 0; s < BindingSlots; s++) {
            int def = boundActions[a].defaults[s];
            int v = present[a][s] ? stored[a][s] : def;
            const char* refused = v != 0 ? bindingRefusal(a, v) : nullptr;
            if (refused || (v != 0 && boundBefore(v, a, s))) {
                FixedString<48> name;
                settingName(a, s, &name);
                const char* why = !bindableKey(v) ? "no such key" : refused ? refused : "key bound twice";
                v = def != 0 && !boundBefore(def, a, s) ? def : 0;
                logMessage("binding %s: %s, %s", name.c_str(), why, v ? "using the default" : "left empty");
            }
            bindings[a][s] = v;
        }
    // A later default that an earlier stored value took is dropped.
    for (int a = 0; a < BoundActionCount; a++)
        for (int s = 0; s < BindingSlots; s++)
            if (bindings[a][s] && boundBefore(bindings[a][s], a, s)) bindings[a][s] = 0;
    // An action with no key at all takes back those of its defaults that
    // no other action holds.
    for (int a = 0; a < BoundActionCount; a++) {
        int n = 0;
        for (int vk : bindings[a]) n += vk != 0;
        if (n) continue;
        for (int def : boundActions[a].defaults) {
            bool taken = false;
            for (auto& other : bindings)
                for (int vk : other) taken |= def != 0 && vk == def;
            if (def && !taken) bindings[a][n++] = def;
        }
        logMessage("binding %s: no keys, %s", boundActions[a].settingName, n ? "back to the defaults" : "left empty");
    }
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
    if (action < 0 || action >= BoundActionCount || bindingRefusal(action, vk)) return false;
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

// Keys that pressed a screen button, until they are up again.
static bool heldBack[256];

void holdKeyUntilReleased(int vk) {
    if (vk > 0 && vk < 256) heldBack[vk] = true;
}

void letGoReleasedKeys() {
    for (int vk = 1; vk < 256; vk++)
        if (heldBack[vk] && !keyHeld(vk)) heldBack[vk] = false;
}

void keyActions(int vk, uint32_t bit, uint32_t* held, uint32_t* pressed, uint32_t* released) {
    if (vk <= 0 || vk > 255 || heldBack[vk]) return;
    if (keyHeld(vk)) *held |= bit;
    if (keyPressed(vk)) *pressed |= bit;
    if (keyReleased(vk)) *released |= bit;
}

void boundActionsFromKeys(uint32_t* held, uint32_t* pressed, uint32_t* released) {
    uint32_t h = 0, p = 0, r = 0;
    for (int a = 0; a < BoundActionCount; a++)
        for (int vk : bindings[a]) {
            uint32_t bit = boundActions[a].action;
            if (bit & (ActionJump | ActionFire)) bit |= ActionConfirm;
            keyActions(vk, bit, &h, &p, &r);
        }
    keyActions(VK_RETURN, ActionConfirm, &h, &p, &r);
    *held = h, *pressed = p, *released = r;
}
