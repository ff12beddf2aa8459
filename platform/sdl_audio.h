// sdl_audio: the game's sound through the mixer. Effects play on a few
// voices each (a burst of one effect stops its oldest voice); one tune loops
// at a time. Without an audio device everything here is a silent no-op.
#pragma once

// Opens the device (44.1 kHz stereo) and loads "<folder><name>.wav" for each
// effect and tune. No device: one log line, false, and the game plays on
// silent. A file that cannot be loaded: a log line naming it, and only that
// sound is silent. Only regular files are read, whole, and at most 8 MiB
// for an effect and 64 MiB for a tune: anything else counts as unloadable.
bool openAudio(const char* folder, const char* const* effectNames, int effectCount, const char* const* tuneNames,
               int tuneCount);
// Stops everything, frees the sounds and closes the device; safe when not open.
void closeAudio();
bool audioOpen();

// pan -1 (left) .. 1 (right); gain 0 .. 1 on top of the effects volume.
void playEffect(int effect, float pan, float gain);
// Loops tune (from its start, unless it is the one playing); -1 fades out.
void playTune(int tune);
// 0-100 each; 0 keeps the device open and mixes silence.
void setAudioVolume(int effects, int music);
// Holds or resumes every effect voice (the tune plays on).
void pauseEffects(bool paused);

// Voices each effect may sound at once: effect e plays on mixer channels
// e * voicesPerEffect to e * voicesPerEffect + voicesPerEffect - 1.
const int voicesPerEffect = 4;
