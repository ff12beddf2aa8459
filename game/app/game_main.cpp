// game_main: the game program's entry.
#include "game_app.h"
#include "game_recording.h"
#include "options.h"
#include "qz_utils.h"
#include "recorded_run.h"

int main(int argc, char** argv) {
    RecordedRunOption run;
    FixedString<64> error;
    if (!readRecordedRunOption(argc, argv, &run, &error)) {
        setProgramTitle(gameTitle);
        fatalError("%s", error.c_str());
    }
    if (run.mode == RunVerify) {
        // No window, no device: the logic alone, with its do-nothing services.
        setProgramTitle(gameTitle);
        timerInit();
        return verifyRecordingFile(run.path);
    }
    startGame(argc, argv);
    if (run.mode == RunRecord) startRecording(run.path);
    if (run.mode == RunReplay) startReplay(run.path);
    runGame();
    endGame();
    return 0;
}
