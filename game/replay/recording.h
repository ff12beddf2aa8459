// recording: the file of a recorded run and its reader and writer.
//
// A recording is a fixed header followed by one stream of items: the step
// input of every step (only what changed since the step before, runs of
// unchanged steps as one byte) and, between them, checkpoints with the
// simulation's fingerprint. Everything is little-endian.
//
// Header (48 bytes):
//   0  8 bytes  magic "ZNTRREC\x1A"
//   8  u32      format version (RecordingVersion)
//  12  u32      header size in bytes (48)
//  16  u64      seed of gameRandom, the logic's only random generator
//  24  u32      steps per second (20)
//  28  u32      number of steps
//  32  u32      number of checkpoints
//  36  u32      size of the item stream in bytes (the rest of the file)
//  40  u64      fingerprint of the item stream, to tell damage from a
//               changed game
//
// Items, by their first byte t:
//   0x80..0xFF  (t & 0x7F) + 1 steps exactly like the step before
//   0x00..0x3F  one step; the set bits say what follows, in this order:
//               0x01 held, pressed and released actions (three varints),
//               0x02 / 0x04 / 0x08 aim point x / y / z (f32 each),
//               0x10 the window's activity flips (no data),
//               0x20 screen commands: a count 1..8, then each id (zigzag varint)
//   0x40        checkpoint: u32 step count so far, u8 mode, u64 fingerprint
//   0x41        end of the stream
// The step before the first is: no actions, aim (0, 0, 0, 1), window active.
#pragma once
#include <cstddef>
#include <cstdint>
#include "qz_dynArray.h"
#include "qz_utils.h"
#include "step_input.h"

const uint32_t RecordingVersion = 1;
enum {
    RecordingHeaderSize = 48,
    // A day at 20 steps a second; longer headers are refused unread.
    MaxRecordingSteps = 20 * 60 * 60 * 24,
    // At most one after each step, plus the start.
    MaxRecordingCheckpoints = MaxRecordingSteps + 1,
    MaxRecordingBytes = 64 << 20,
};

struct RecordingHeader {
    uint32_t version;
    uint64_t seed;
    uint32_t stepsPerSecond;
    uint32_t stepCount;
    uint32_t checkpointCount;
    uint32_t dataSize;
    uint64_t dataHash;
};

struct Checkpoint {
    uint32_t step;  // steps run before it was taken
    int32_t mode;   // currentModeNumber
    uint64_t hash;  // hashWholeSimulation
};

// Builds a recording in memory; the program writes it out at the end of the
// run. Storage is reserved up front for a long run, so adding a step does
// not allocate.
class RecordingWriter {
public:
    RecordingHeader header;
    DynArray<uint8_t> data;  // the item stream

    RecordingWriter() : header(), data(), previous(), pendingRepeats(0), finished(false) {}
    ~RecordingWriter() { data.release(); }
    void begin(uint64_t seed);
    // The step as it ran, with the screen commands it gave; view-only
    // actions are dropped.
    void addStep(const StepInput& in);
    void addCheckpoint(const Checkpoint& c);
    // Ends the stream and completes the header; nothing may be added after.
    void finish();
    bool isFinished() const { return finished; }
    // Header and stream as the file holds them.
    void serialise(DynArray<uint8_t>* out) const;
    // Writes the file through a temporary file and a rename, so a failed
    // write never leaves half a recording; false with the reason in error.
    bool save(const char* path, FixedString<256>* error) const;

private:
    StepInput previous;
    int32_t pendingRepeats;
    bool finished;
    void flushRepeats();
};

// A recording read from a file and checked through to its end.
struct Recording {
    RecordingHeader header;
    DynArray<uint8_t> data;
    ~Recording() { data.release(); }
};

// Checks the header and walks the whole stream: a file that is truncated,
// too large, of another version or damaged is refused with the reason in
// error (the caller adds the file name). Nothing is allocated before the
// sizes were checked against the bytes actually there.
bool parseRecording(const uint8_t* bytes, size_t size, Recording* out, FixedString<256>* error);
// Reads the file (at most the largest recording there can be) and parses it.
bool loadRecording(const char* path, Recording* out, FixedString<256>* error);

// Walks the items of a parsed recording in order.
class RecordingCursor {
public:
    enum Item { ItemStep, ItemCheckpoint, ItemEnd, ItemDamaged };

    RecordingCursor(const uint8_t* data, size_t size);
    // The next step (into in, guiFromRecord set) or checkpoint; ItemDamaged
    // with the reason when the bytes make no sense.
    Item next(StepInput* in, Checkpoint* checkpoint, FixedString<256>* error);
    size_t offset() const { return pos; }

private:
    const uint8_t* bytes;
    size_t size, pos;
    StepInput previous;
    int32_t repeats;  // steps still to give like `previous`
};
