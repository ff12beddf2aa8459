// sdl_keys: the one table from SDL scancodes and mouse buttons to the
// virtual-key codes the rest of the system uses.
#pragma once
#include <SDL.h>

// Virtual-key code of a scancode; 0 when the key has none.
int sdlScancodeToVk(SDL_Scancode sc);
// Virtual-key code of an SDL mouse button (left 1, right 2, middle 4); 0 for others.
int sdlButtonToVk(Uint8 button);
// True while any key mapped to vk (or the mouse button vk) is held.
bool sdlVkHeld(int vk);
