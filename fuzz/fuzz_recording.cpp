// Recordings on arbitrary bytes: the reader either refuses, or accepts only
// what the format allows (every item readable, the header's counts, a
// checkpoint at the start, the end and at least every 100 steps). What it
// accepts, written again by the writer, is accepted again with the same
// steps and checkpoints.
#include <cmath>
#include <vector>
#include "fuzz_support.h"
#include "recording.h"

// The fuzzer cannot learn the stream's fingerprint: the header's stream
// size and fingerprint are made to fit, so mutations reach the items.
static void fixHeader(std::vector<uint8_t>& b) {
    if (b.size() < RecordingHeaderSize) return;
    uint32_t size = (uint32_t)(b.size() - RecordingHeaderSize);
    uint64_t h = recordingStreamHash(b.data() + RecordingHeaderSize, size);
    for (int i = 0; i < 4; i++) b[36 + i] = (uint8_t)(size >> (8 * i));
    for (int i = 0; i < 8; i++) b[40 + i] = (uint8_t)(h >> (8 * i));
}

static bool sameStep(const StepInput& a, const StepInput& b) {
    if (a.held != b.held || a.pressed != b.pressed || a.released != b.released || a.windowActive != b.windowActive ||
        memcmp(&a.aimPoint, &b.aimPoint, sizeof a.aimPoint) != 0 || a.numGuiCommands != b.numGuiCommands)
        return false;
    for (int i = 0; i < a.numGuiCommands; i++)
        if (a.guiCommands[i] != b.guiCommands[i]) return false;
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
    std::vector<uint8_t> bytes(input, input + size);
    fixHeader(bytes);
    Recording r;
    FixedString<256> error;
    if (!parseRecording(bytes.data(), bytes.size(), &r, &error)) return 0;

    // Walk it, checking the rules, and write every item again.
    RecordingWriter w;
    w.begin(r.header.seed);
    RecordingCursor cursor(r.data.data, (size_t)r.data.num);
    uint32_t steps = 0, checkpoints = 0, lastCheckpoint = 0;
    for (;;) {
        StepInput in;
        Checkpoint c;
        RecordingCursor::Item item = cursor.next(&in, &c, &error);
        FUZZ_CHECK(item != RecordingCursor::ItemDamaged);
        if (item == RecordingCursor::ItemEnd) break;
        if (item == RecordingCursor::ItemStep) {
            FUZZ_CHECK(checkpoints > 0 && steps - lastCheckpoint < MaxCheckpointGap);
            FUZZ_CHECK(((in.held | in.pressed | in.released) & ~SimulationActions) == 0);
            FUZZ_CHECK(in.numGuiCommands >= 0 && in.numGuiCommands <= MaxStepGuiCommands);
            for (float v : {in.aimPoint.x, in.aimPoint.y, in.aimPoint.z}) FUZZ_CHECK(std::isfinite(v) && fabsf(v) <= 1e6f);
            steps++;
            w.addStep(in);
        } else {
            FUZZ_CHECK(c.step == steps && (checkpoints == 0 ? c.step == 0 : c.step > lastCheckpoint));
            checkpoints++;
            lastCheckpoint = c.step;
            w.addCheckpoint(c);
        }
    }
    FUZZ_CHECK(steps == r.header.stepCount && checkpoints == r.header.checkpointCount && lastCheckpoint == steps);
    w.finish();

    DynArray<uint8_t> again = {};
    w.serialise(&again);
    Recording r2;
    bool ok = parseRecording(again.data, (size_t)again.num, &r2, &error);
    if (!ok) fprintf(stderr, "the writer's recording is refused: %s\n", error.c_str());
    FUZZ_CHECK(ok);
    FUZZ_CHECK(r2.header.seed == r.header.seed && r2.header.stepCount == steps && r2.header.checkpointCount == checkpoints);
    RecordingCursor a(r.data.data, (size_t)r.data.num), b(r2.data.data, (size_t)r2.data.num);
    for (;;) {
        StepInput ia, ib;
        Checkpoint ca, cb;
        RecordingCursor::Item x = a.next(&ia, &ca, &error), y = b.next(&ib, &cb, &error);
        FUZZ_CHECK(x == y);
        if (x == RecordingCursor::ItemEnd) break;
        if (x == RecordingCursor::ItemStep) FUZZ_CHECK(sameStep(ia, ib));
        else FUZZ_CHECK(ca.step == cb.step && ca.mode == cb.mode && ca.hash == cb.hash);
    }
    again.release();
    return 0;
}
