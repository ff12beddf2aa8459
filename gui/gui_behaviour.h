// gui_behaviour: named behaviours that give plain boxes their conduct.
//
// "solidBox" makes a box findable by hitTest; "button" turns a box whose
// subtree holds up to three looks (".normal", ".over", ".pressed") into a
// push button that sends a GuiCommandEvent up the tree when clicked.
// Behaviours and the shared hit-test handler are static and live for the run.
#pragma once
#include "gui.h"

struct GuiBehaviour {
    virtual ~GuiBehaviour() {}
    virtual const char* name() = 0;
    // Adds this behaviour's handlers to the box.
    virtual void attach(GuiBox* box) = 0;
};

struct SolidBoxBehaviour : GuiBehaviour {
    const char* name() override { return "solidBox"; }
    void attach(GuiBox* box) override;
};

struct ButtonBehaviour : GuiBehaviour {
    const char* name() override { return "button"; }
    void attach(GuiBox* box) override;
};

// The handler behind "button"; one per button box, deleted when removed.
struct ButtonEventHandler : GuiEventHandler {
    GuiBox* box;
    GuiBox* normal;
    GuiBox* over;
    GuiBox* pressed;

    ButtonEventHandler();
    int32_t handle(GuiEvent& event, GuiBox* box, int mode) override;
    // Finds the looks in the box's subtree and shows ".normal".
    void attached(GuiBox* box) override;
    void detached(GuiBox* box) override;
    // Shows one look and hides the others; null hides all three.
    void show(GuiBox* state);
};

// The one hit-test handler every solid box shares.
extern GuiHittestHandler guiHittestHandler;

// Null or already registered: nothing.
void registerBehaviour(GuiBehaviour* behaviour);
// Does not keep the order of the others.
void unregisterBehaviour(GuiBehaviour* behaviour);
// Case-insensitive; null if none.
GuiBehaviour* findBehaviour(const char* name);
// An unknown name is ignored.
void applyBehaviour(GuiBox* box, const char* name);
// "solidBox", then "button". Called once at start, before building screens.
void registerStandardBehaviours();
