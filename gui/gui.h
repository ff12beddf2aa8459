// gui: the retained-mode GUI toolkit shared by the game and the launcher.
//
// A GuiScreen owns a tree of GuiBoxes. Input records of the input layer are
// turned into events, routed along the tree and handled by GuiEventHandlers;
// behaviours (gui_behaviour.h) attach ready-made handlers by name. Drawing
// and text measuring go through IGuiRenderer, so the toolkit itself needs no
// window: every rule here is plain logic on floats.
//
// Coordinates are client-area pixels as floats, origin top-left, y downward.
// Colours are ARGB words (alpha in the top byte). Single-threaded.
#pragma once
#include <cstdint>
#include "input.h"
#include "qz_dynArray.h"
#include "qz_utils.h"

struct GuiBox;
struct GuiScreen;

// Index of each side in the groups of four (borderPx, padding, border, margin).
enum GuiSide { GuiTop = 0, GuiLeft = 1, GuiRight = 2, GuiBottom = 3 };

struct GuiRect {
    float top, left, right, bottom;
    float width() const { return right - left; }
    float height() const { return bottom - top; }
};

//---------------------------------------------------------------------------
// Lengths
//---------------------------------------------------------------------------

enum GuiLenMode {
    GuiLenAuto = 0,     // the caller's auto value; layout gives it meaning
    GuiLenPixels = 1,   // value pixels
    GuiLenUnits = 2,    // value x unit (font line height x screen scale)
    GuiLenPercent = 3,  // value % of the parent's content width, on both axes
};

struct GuiLen {
    float value;
    int32_t mode;
};

inline GuiLen guiLen(float value, int32_t mode) {
    GuiLen l;
    l.value = value;
    l.mode = mode;
    return l;
}
inline GuiLen guiAuto() { return guiLen(0, GuiLenAuto); }
inline GuiLen guiPixels(float v) { return guiLen(v, GuiLenPixels); }
inline GuiLen guiUnits(float v) { return guiLen(v, GuiLenUnits); }
inline GuiLen guiPercent(float v) { return guiLen(v, GuiLenPercent); }

// Length in pixels; an unknown mode is a failed ASSERT.
float resolveLen(const GuiLen& len, float unit, float base, float autoValue);
// The same for a group of four, in the group's order.
void resolveLens4(const GuiLen lens[4], float unit, float base, float autoValue, float out[4]);

//---------------------------------------------------------------------------
// Events
//---------------------------------------------------------------------------

// One bit per event kind; handler and box masks are sets of them.
enum GuiEventMask : uint32_t {
    GuiEvCommand = 0x001,     // GuiCommandEvent
    GuiEvHittest = 0x002,     // GuiHittestEvent
    GuiEvKey = 0x004,         // key down or up input
    GuiEvEnter = 0x010,       // the pointer entered the box
    GuiEvLeave = 0x020,       // the pointer left the box
    GuiEvButtonUp = 0x040,
    GuiEvButtonDown = 0x080,  // double clicks too
    GuiEvMove = 0x100,
    GuiEvWheel = 0x200,
    GuiEvNotify = 0x400,      // the hidden flag of the box or an ancestor changed
};

enum GuiPropagateMode {
    PropagateDown = 0,     // from the topmost ancestor (or stop) down to the box
    PropagateUp = 1,       // from the box up to stop or the root
    PropagateDirect = 2,   // the box only
    PropagateSubtree = 3,  // the box, then its subtree in pre-order
};

// Handler result in PropagateSubtree routing: skip this box's children but
// go on with the rest of the tree.
enum { SkipSubtree = 2 };

// Events live on the sender's stack for the duration of one routing.
struct GuiEvent {
    uint32_t mask;
    explicit GuiEvent(uint32_t m) : mask(m) {}
    virtual ~GuiEvent() {}
};

// One queued input record; its mask is set from the record's kind by
// dispatchInput, and to GuiEvEnter / GuiEvLeave for hover changes.
struct GuiInputEvent : GuiEvent {
    GuiInputRecord input;
    GuiInputEvent() : GuiEvent(GuiEvKey), input() {}
};

struct GuiNotifyEvent : GuiEvent {
    GuiBox* box;  // whose hidden flag changed
    explicit GuiNotifyEvent(GuiBox* b) : GuiEvent(GuiEvNotify), box(b) {}
};

struct GuiCommandEvent : GuiEvent {
    int32_t command;  // the source box's commandId
    GuiBox* source;
    GuiCommandEvent(int32_t c, GuiBox* s) : GuiEvent(GuiEvCommand), command(c), source(s) {}
};

struct GuiHittestEvent : GuiEvent {
    float x, y;
    GuiBox* result;  // set by the handler that accepts the point
    GuiHittestEvent(float px, float py) : GuiEvent(GuiEvHittest), x(px), y(py), result(nullptr) {}
};

//---------------------------------------------------------------------------
// Handlers
//---------------------------------------------------------------------------

// Boxes do not own their handlers: a handler that must die with its box
// deletes itself in detached(); shared handlers ignore it.
struct GuiEventHandler {
    uint32_t eventMask;

    explicit GuiEventHandler(uint32_t mask) : eventMask(mask) {}
    virtual ~GuiEventHandler() {}
    // 0 = not handled (routing goes on); anything else stops routing and is
    // returned to the sender (SkipSubtree has its own meaning, see above).
    virtual int32_t handle(GuiEvent& event, GuiBox* box, int mode) = 0;
    // After insertion into box's list.
    virtual void attached(GuiBox* box) { (void)box; }
    // After removal from box's list.
    virtual void detached(GuiBox* box) { (void)box; }
};

// Makes boxes findable by hitTest: accepts a point inside the border box of
// a box that is not itself hidden. One shared instance serves every box.
struct GuiHittestHandler : GuiEventHandler {
    GuiHittestHandler() : GuiEventHandler(GuiEvHittest) {}
    int32_t handle(GuiEvent& event, GuiBox* box, int mode) override;
    virtual bool contains(GuiBox* box, float x, float y);
};

//---------------------------------------------------------------------------
// Boxes
//---------------------------------------------------------------------------

enum { GuiBoxHidden = 0x01 };

// Created with new; owned by its parent, the root by its screen. Deleting a
// box detaches it and deletes its subtree, and removes its handlers.
struct GuiBox {
    // Written by layout only.
    GuiRect contentRect;  // inside the padding: text and children
    GuiRect paddingRect;  // inside the borders: background
    GuiRect outerRect;    // including the margins
    float borderPx[4];

    FixedString<64> name;  // for findBox; button looks start with "."
    GuiBox* parent;        // not owning
    DynArray<GuiBox*> children;  // owning; drawing and hit-testing order
    uint32_t bgColour;           // 0 = no background
    uint32_t borderColour[4];
    FixedString<256> text;  // may hold "\n"
    uint32_t textColour;    // 0 = text not drawn
    int8_t textScale;
    int8_t hAlign;  // -1 left, 1 right, else centred
    int8_t vAlign;  // -1 top, 1 bottom, else centred
    uint8_t flags;  // GuiBoxHidden
    GuiLen width, height;
    GuiLen offsetX, offsetY;  // shift after layout
    GuiLen padding[4];
    GuiLen border[4];
    GuiLen margin[4];
    DynArray<GuiEventHandler*> handlers;  // not owning
    uint32_t eventMask;  // OR of the handlers' masks
    int32_t commandId;   // sent by a button

    GuiBox();
    ~GuiBox();
    GuiBox(const GuiBox&) = delete;
    GuiBox& operator=(const GuiBox&) = delete;

    // Detaches child from its old parent and inserts it at position; a
    // negative position counts from the end (-1 = before the last child),
    // then clamps to 0..count. Null does nothing.
    void addChild(GuiBox* child, int position);
    void detachFromParent();
    // Same position rule; calls attached() and adds the handler's mask.
    void addHandler(GuiEventHandler* handler, int position);
    // Removes the last match, calls detached() even if none was found, and
    // recomputes eventMask.
    void removeHandler(GuiEventHandler* handler);
    // Pre-order search, this box first; exact, case-sensitive. Null or
    // empty name gives null.
    GuiBox* findBox(const char* name);
    // A change sends GuiNotifyEvent down this subtree.
    void setHidden(bool hidden);
    bool hidden() const { return (flags & GuiBoxHidden) != 0; }
};

// Neither the box nor any ancestor is hidden.
bool isShown(const GuiBox* box);

//---------------------------------------------------------------------------
// Routing
//---------------------------------------------------------------------------

// Offers the event to the box's handlers whose masks match, in list order.
int32_t deliverEvent(GuiBox* box, GuiEvent& event, int mode);
// Routes by mode (GuiPropagateMode); a null box or unknown mode gives 0.
int32_t propagateEvent(GuiEvent& event, GuiBox* box, int mode, GuiBox* stop);
// The first box in pre-order of box's subtree whose hit-test handler
// accepts the point, or null.
GuiBox* hitTest(GuiBox* box, float x, float y);

//---------------------------------------------------------------------------
// Renderer interface
//---------------------------------------------------------------------------

// What the toolkit draws and measures with. Coordinates are GUI pixels;
// implementations round them to the nearest integer, ties to even.
struct IGuiRenderer {
    virtual ~IGuiRenderer() {}
    virtual int32_t width() = 0;
    virtual int32_t height() = 0;
    // Font line height at scale 1; the base of GuiLenUnits.
    virtual int32_t unit() = 0;
    // Blends [x0, x1) x [y0, y1).
    virtual void fillRect(float x0, float y0, float x1, float y1, uint32_t colour) = 0;
    // One-pixel outline with inclusive corner pixels (x0, y0) and (x1, y1).
    virtual void frameRect(float x0, float y0, float x1, float y1, uint32_t colour) = 0;
    // Anchored at (x, y): hAlign -1/0/1 puts the left edge, centre or right
    // edge there, vAlign the top, centre or bottom. len -1 = to the terminator.
    virtual void drawText(const char* text, int len, float x, float y, int hAlign, int vAlign,
                          uint32_t colour, int scale) = 0;
    virtual void measureText(const char* text, int len, float* w, float* h, int scale) = 0;
};

//---------------------------------------------------------------------------
// Screens
//---------------------------------------------------------------------------

struct GuiScreen {
    GuiBox* root;       // owning
    GuiBox* capture;    // got the last button press while a button is held
    GuiBox* hover;      // got the last GuiEvEnter
    int32_t scale;      // integer magnification, at least 1
    int32_t columns, rows;  // design size in units
    IGuiRenderer* renderer;  // not owning

    // Stores the values and lays the tree out at once.
    GuiScreen(IGuiRenderer* renderer, GuiBox* root, int32_t columns, int32_t rows);
    // Deletes the whole tree. Boxes must not be deleted on their own while
    // capture or hover may point at them.
    virtual ~GuiScreen();
    GuiScreen(const GuiScreen&) = delete;
    GuiScreen& operator=(const GuiScreen&) = delete;

    // renderer unit x scale.
    virtual float unit();
    // The whole renderer surface.
    virtual GuiRect rootRect();
    // Size of a box's own content: explicit size, else its text.
    virtual void measureContent(GuiBox* box, float* w, float* h);
    virtual void drawBox(GuiBox* box);
    virtual void draw();
    // Consumes every queued input record: hover, capture and routing.
    virtual void processInput();
    // Routes one input event to target only (never bubbled).
    virtual void dispatchInput(GuiInputEvent& event, GuiBox* target);
    // Recomputes scale from the renderer size and lays the tree out.
    virtual void relayout();
};
