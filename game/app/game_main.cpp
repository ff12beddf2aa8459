// game_main: the game program's entry.
#include "game_app.h"

int main(int argc, char** argv) {
    startGame(argc, argv);
    runGame();
    endGame();
    return 0;
}
