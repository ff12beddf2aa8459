// game_app: the game program as callable pieces, so that tools and
// benchmarks can run the real start-up, loop and shutdown.
#pragma once

extern const char* const gameTitle;  // "ZENTREL! DEMO"

// Everything from the program folder to the first mode, in the fixed order:
// settings and command line, window, input, device, GPU load, font,
// "Loading...", scene. A failure on the way is fatal (exit code 100).
void startGame(int argc, const char* const* argv);
// The main loop until the window is closed.
void runGame();
// The window, game and device as the main loop reaches them.
struct MainLoopHost* gameLoopHost();
// shutdownSystems, then the window and SDL.
void endGame();
// Releases what is up, in reverse order; safe at any point of start-up.
// Logs "closing..." and "closed all systems".
void shutdownSystems();
