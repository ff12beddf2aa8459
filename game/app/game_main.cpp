// game_main: the game program's entry.
#include "game_app.h"
#include "game_recording.h"
#include "options.h"
#include "qz_utils.h"
#include "recorded_run.h"
#include "sdl_platform.h"

int main(int argc, char** argv) {
    setProgramTitle(gameTitle);
    RecordedRunOption run;
    FixedString<64> error;
    if (!readRecordedRunOption(argc, argv, &run, &error)) fatalError("%s", error.c_str());
    if (run.mode == RunVerify) {
        // No window, no device: the logic alone, with its do-nothing services.
        timerInit();
        return verifyRecordingFile(run.path);
    }
    // A file that cannot be written or read is reported before the window opens.
    setErrorBoxHandler(sdlShowErrorBox);
    if (run.mode == RunRecord) prepareRecording(run.path);
    if (run.mode == RunReplay) prepareReplay(run.path);
    startGame(argc, argv);
    if (run.mode == RunRecord) startRecording();
    if (run.mode == RunReplay) startReplay();
    runGame();
    endGame();
    return 0;
}
