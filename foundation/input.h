// input: window input turned into queued records for the GUI and per-step
// key state for game code. Everything per-step is cleared by inputEndStep
// after every fixed step, so each message is seen by exactly one step.
//
// The layer asks the window system only through InputPlatform; the program
// installs the SDL implementation, tests install a fake.
#pragma once
#include <cstdint>

enum InputKind {
    InputKeyDown = 1,
    InputKeyUp = 2,
    InputButtonDown = 3,
    InputButtonUp = 4,
    InputMove = 5,
    InputWheel = 6,
};

// Record flags.
enum {
    InputFlagShift = 0x001,
    InputFlagCtrl = 0x002,
    InputFlagAlt = 0x004,
    InputFlagCapsLock = 0x008,
    InputFlagScrollLock = 0x010,
    InputFlagNumLock = 0x020,
    InputFlagRepeat = 0x040,  // key down: auto-repeat; button down: double click
    InputFlagLeftButton = 0x080,
    InputFlagRightButton = 0x100,
    InputFlagMiddleButton = 0x200,
};

// Virtual-key codes used by the layer itself.
enum {
    VK_LBUTTON = 1, VK_RBUTTON = 2, VK_MBUTTON = 4,
    VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13,
    VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18, VK_PAUSE = 19, VK_CAPITAL = 20,
    VK_ESCAPE = 27, VK_SPACE = 32,
    VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40,
    VK_SNAPSHOT = 44, VK_DELETE = 46,
    VK_ADD = 107, VK_SUBTRACT = 109,
    VK_F1 = 112, VK_F3 = 114, VK_F4 = 115,
    VK_NUMLOCK = 144, VK_SCROLL = 145,
    VK_OEM_PLUS = 187, VK_OEM_MINUS = 189,
};

struct GuiInputRecord {
    int32_t kind;        // InputKind
    uint32_t code;       // key or button virtual-key code; 0 for move and wheel
    uint32_t flags;
    uint32_t character;  // key records: the character the key types, else 0
    int32_t wheel;       // wheel records: notches, positive away from the user
    float x, y;          // pointer position in client pixels
    GuiInputRecord* next;  // always null: the queue is a fixed ring of 256 records
};

// What the input layer needs from the window system.
struct InputPlatform {
    virtual ~InputPlatform() {}
    // Held state of a virtual key or mouse button right now.
    virtual bool keyDown(int vk) = 0;
    // Toggle state of Caps Lock, Num Lock or Scroll Lock.
    virtual bool keyToggled(int vk) = 0;
    virtual void captureMouse(bool capture) = 0;
    // Moves the system cursor to a client point in whole pixels.
    virtual void warpMouse(int x, int y) = 0;
    // Current cursor position in client pixels; false if unknown.
    virtual bool cursorPosition(float* x, float* y) = 0;
    // The cursor lies over the client area of our window.
    virtual bool cursorOverWindow() = 0;
    // Size that pointer positions are clamped to: the back buffer of the game,
    // the client area of the launcher.
    virtual void clampSize(int* width, int* height) = 0;
    virtual bool isFullscreen() = 0;
};

void inputInit(InputPlatform* platform);

// Called for each input message. For wheel records `code` carries the notch
// count; every position is in client pixels. At most 256 records wait: a
// further one drops the oldest, with a log line.
void pushInput(int kind, uint32_t code, uint32_t scanCode, uint32_t flags, float x, float y);
// Oldest queued record, removed from the queue; false when empty.
bool popInput(GuiInputRecord* out);
// The record `index` places behind the oldest, left in the queue; false past
// the last. Lets the step look at this step's clicks before the GUI takes them.
bool peekInput(int index, GuiInputRecord* out);
void inputEndStep();
void refreshCursorInside();

bool keyHeld(int vk);
bool keyPressed(int vk);
bool keyReleased(int vk);
void mousePosition(float* x, float* y);
int wheelTotal();
uint32_t lastKey();
uint32_t lastChar();
bool cursorInside();

// The character a key types with the given Shift and Caps Lock state (US
// layout); 0 for keys that type nothing.
uint32_t keyCharacter(uint32_t vk, bool shift, bool capsLock);
// Name of a virtual key; "?" for codes above 255 and codes without a name.
const char* keyName(uint32_t vk);
