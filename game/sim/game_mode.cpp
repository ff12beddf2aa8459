#include "game_mode.h"

GameMode* currentMode = nullptr;

void setGameMode(GameMode* next) {
    if (next == currentMode) return;
    GameMode* previous = currentMode;
    if (previous) previous->leave(next);
    currentMode = next;
    if (next) next->enter(previous);
}
