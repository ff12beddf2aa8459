// Key names and the characters keys type.
#include <cstring>
#include "input.h"

static const char* namedKey(uint32_t vk) {
    static const char* const digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    static const char* const letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                          "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
    static const char* const numPad[] = {"NumPad 0", "NumPad 1", "NumPad 2", "NumPad 3", "NumPad 4",
                                         "NumPad 5", "NumPad 6", "NumPad 7", "NumPad 8", "NumPad 9"};
    static const char* const functionKeys[] = {"F1", "F2", "F3", "F4", "F5", "F6",
                                               "F7", "F8", "F9", "F10", "F11", "F12"};
    static const char* const from16[] = {"Shift", "Ctrl", "Alt", "Pause", "Caps Lock"};
    static const char* const from32[] = {"Space",     "Page Up",    "Page Down",   "End",       "Home",
                                         "Left Arrow", "Up Arrow", "Right Arrow", "Down Arrow"};
    static const char* const from186[] = {"Semicolon", "Equals", "Comma", "Minus", "Period", "Slash", "Grave"};
    static const char* const from219[] = {"Left bracket", "Backslash", "Right bracket", "Apostrophe"};
    static_assert(sizeof letters / sizeof *letters == 26, "one name per letter");
    static_assert(sizeof functionKeys / sizeof *functionKeys == 12, "F1 to F12");

    switch (vk) {
        case 1: return "Left Mouse Button";
        case 2: return "Right Mouse Button";
        case 4: return "Middle Mouse Button";
        case 8: return "Backspace";
        case 9: return "Tab";
        case 13: return "Enter";
        case 27: return "Escape";
        case 45: return "Insert";
        case 46: return "Delete";
        case 91: return "Left Win";
        case 92: return "Right Win";
        case 93: return "Application";
        case 106: return "Multiply";
        case 107: return "Add";
        case 109: return "Subtract";
        case 110: return "Decimal";
        case 111: return "Divide";
        case 144: return "Num Lock";
        case 145: return "Scroll Lock";
    }
    if (vk >= 16 && vk <= 20) return from16[vk - 16];
    if (vk >= 32 && vk <= 40) return from32[vk - 32];
    if (vk >= 48 && vk <= 57) return digits[vk - 48];
    if (vk >= 65 && vk <= 90) return letters[vk - 65];
    if (vk >= 96 && vk <= 105) return numPad[vk - 96];
    if (vk >= 112 && vk <= 123) return functionKeys[vk - 112];
    if (vk >= 186 && vk <= 192) return from186[vk - 186];
    if (vk >= 219 && vk <= 222) return from219[vk - 219];
    return nullptr;
}

const char* keyName(uint32_t vk) {
    const char* name = vk <= 255 ? namedKey(vk) : nullptr;
    return name ? name : "?";
}

uint32_t keyCharacter(uint32_t vk, bool shift, bool capsLock) {
    if (vk >= 'A' && vk <= 'Z') return (shift != capsLock) ? vk : vk + 32;
    if (vk >= '0' && vk <= '9') return shift ? (uint32_t)")!@#$%^&*("[vk - '0'] : vk;
    if (vk >= 96 && vk <= 105) return '0' + (vk - 96);
    switch (vk) {
        case VK_BACK: return 8;
        case VK_TAB: return 9;
        case VK_RETURN: return 13;
        case VK_ESCAPE: return 27;
        case VK_SPACE: return ' ';
        case 106: return '*';
        case 107: return '+';
        case 109: return '-';
        case 110: return '.';
        case 111: return '/';
        case 186: return shift ? ':' : ';';
        case 187: return shift ? '+' : '=';
        case 188: return shift ? '<' : ',';
        case 189: return shift ? '_' : '-';
        case 190: return shift ? '>' : '.';
        case 191: return shift ? '?' : '/';
        case 192: return shift ? '~' : '`';
        case 219: return shift ? '{' : '[';
        case 220: return shift ? '|' : '\\';
        case 221: return shift ? '}' : ']';
        case 222: return shift ? '"' : '\'';
    }
    return 0;
}
