#include "input.h"
#include <cstring>
#include "qz_utils.h"

static InputPlatform* platform = nullptr;
// Records wait in a fixed ring, so input never allocates; when it is full
// the oldest record makes room.
enum { InputQueueCapacity = 256 };
static GuiInputRecord queue[InputQueueCapacity];
static int queueFirst, queueCount;
static bool droppedThisStep;  // one log line per step that overflowed
static uint8_t keyStepBits[256];
static float mouseX, mouseY;
static uint32_t lastKeyCode, lastCharCode;
static int wheelSum;
static bool captured;
static bool inside;

void inputInit(InputPlatform* p) {
    platform = p;
    mouseX = mouseY = 0;
    if (platform) platform->cursorPosition(&mouseX, &mouseY);
    memset(keyStepBits, 0, sizeof keyStepBits);
}

static float clampCoord(float v, int size) {
    float hi = (float)(size - 1);
    if (v > hi) v = hi;
    if (v < 0) v = 0;
    return v;
}

void pushInput(int kind, uint32_t code, uint32_t scanCode, uint32_t flags, float x, float y) {
    (void)scanCode;
    ASSERT(platform);
    if (queueCount == InputQueueCapacity) {
        if (!droppedThisStep) logMessage("input queue full: dropping the oldest records until the next step");
        droppedThisStep = true;
        queueFirst = (queueFirst + 1) % InputQueueCapacity;
        queueCount--;
    }
    GuiInputRecord* r = &queue[(queueFirst + queueCount) % InputQueueCapacity];
    *r = GuiInputRecord();
    r->kind = kind;

    bool shift = platform->keyDown(VK_SHIFT);
    bool caps = platform->keyToggled(VK_CAPITAL);
    switch (kind) {
        case InputKeyDown:
            if (!(flags & InputFlagRepeat) && code <= 255) keyStepBits[code] |= 1;
            r->character = keyCharacter(code, shift, caps);
            r->code = code;
            break;
        case InputKeyUp:
            if (code <= 255) keyStepBits[code] |= 2;
            r->character = keyCharacter(code, shift, caps);
            r->code = code;
            break;
        case InputButtonDown:
            if (code <= 255) keyStepBits[code] |= 1;
            platform->captureMouse(true);
            captured = true;
            r->code = code;
            break;
        case InputButtonUp:
            if (code <= 255) keyStepBits[code] |= 2;
            platform->captureMouse(false);
            // The release counts where the pointer was last seen moving, and
            // the system cursor is put back there.
            platform->warpMouse((int)mouseX, (int)mouseY);
            x = (float)(int)mouseX;
            y = (float)(int)mouseY;
            captured = false;
            r->code = code;
            break;
        case InputMove:
            r->code = 0;
            break;
        case InputWheel:
            r->code = 0;
            r->wheel = (int32_t)code;
            break;
    }

    uint32_t f = flags;
    if (shift) f |= InputFlagShift;
    if (platform->keyDown(VK_CONTROL)) f |= InputFlagCtrl;
    if (platform->keyDown(VK_MENU)) f |= InputFlagAlt;
    if (caps) f |= InputFlagCapsLock;
    if (platform->keyToggled(VK_SCROLL)) f |= InputFlagScrollLock;
    if (platform->keyToggled(VK_NUMLOCK)) f |= InputFlagNumLock;
    if (platform->keyDown(VK_LBUTTON)) f |= InputFlagLeftButton;
    if (platform->keyDown(VK_RBUTTON)) f |= InputFlagRightButton;
    if (platform->keyDown(VK_MBUTTON)) f |= InputFlagMiddleButton;
    r->flags = f;

    if (kind == InputKeyDown || kind == InputKeyUp) {
        r->x = mouseX;
        r->y = mouseY;
    } else {
        int w = 1, h = 1;
        platform->clampSize(&w, &h);
        r->x = clampCoord(x, w);
        r->y = clampCoord(y, h);
    }

    queueCount++;

    if (kind == InputKeyDown || kind == InputButtonDown) {
        lastKeyCode = r->code;
        lastCharCode = r->character;
    } else if (kind == InputMove) {
        mouseX = r->x;
        mouseY = r->y;
    } else if (kind == InputWheel) {
        wheelSum += r->wheel;
    }
}

bool popInput(GuiInputRecord* out) {
    if (queueCount == 0) return false;
    *out = queue[queueFirst];
    queueFirst = (queueFirst + 1) % InputQueueCapacity;
    queueCount--;
    return true;
}

bool peekInput(int index, GuiInputRecord* out) {
    if (index < 0 || index >= queueCount) return false;
    *out = queue[(queueFirst + index) % InputQueueCapacity];
    return true;
}

void inputEndStep() {
    memset(keyStepBits, 0, sizeof keyStepBits);
    queueFirst = queueCount = 0;
    droppedThisStep = false;
    lastKeyCode = lastCharCode = 0;
    wheelSum = 0;
}

void refreshCursorInside() {
    inside = captured || (platform && (platform->isFullscreen() || platform->cursorOverWindow()));
}

bool keyHeld(int vk) { return platform && platform->keyDown(vk); }
bool keyPressed(int vk) { return (keyStepBits[vk & 255] & 1) != 0; }
bool keyReleased(int vk) { return (keyStepBits[vk & 255] & 2) != 0; }
void mousePosition(float* x, float* y) {
    *x = mouseX;
    *y = mouseY;
}
int wheelTotal() { return wheelSum; }
uint32_t lastKey() { return lastKeyCode; }
uint32_t lastChar() { return lastCharCode; }
bool cursorInside() { return inside; }
