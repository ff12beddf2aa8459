// recording: encoding, checking and decoding of recorded runs.
#include "recording.h"
#include "main_loop.h"
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

static const uint8_t recordingMagic[8] = {'Z', 'N', 'T', 'R', 'R', 'E', 'C', 0x1A};

enum : uint8_t {
    TagActions = 0x01,
    TagAimX = 0x02,
    TagAimY = 0x04,
    TagAimZ = 0x08,
    TagActivity = 0x10,
    TagCommands = 0x20,
    TagCheckpoint = 0x40,
    TagEnd = 0x41,
    TagRepeat = 0x80,
};

// Aim points further out than this are damage, not play: the pointer's
// line of sight always meets the plane near the view.
const float MaxAimCoordinate = 1.0e6f;

static StepInput stepBeforeTheFirst() {
    StepInput in = {};
    in.aimPoint = {0, 0, 0, 1};
    in.windowActive = true;
    return in;
}

static uint64_t hashBytes(const uint8_t* p, size_t n) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (size_t i = 0; i < n; i++) h = (h ^ p[i]) * 0x100000001B3ull;
    return h;
}

//---------------------------------------------------------------------------
// Writing
//---------------------------------------------------------------------------

static void putByte(DynArray<uint8_t>& d, uint8_t b) { d.push(b); }

static void putU32(DynArray<uint8_t>& d, uint32_t v) {
    for (int i = 0; i < 4; i++) d.push((uint8_t)(v >> (8 * i)));
}

static void putU64(DynArray<uint8_t>& d, uint64_t v) {
    for (int i = 0; i < 8; i++) d.push((uint8_t)(v >> (8 * i)));
}

static void putF32(DynArray<uint8_t>& d, float f) {
    uint32_t v;
    memcpy(&v, &f, 4);
    putU32(d, v);
}

static void putVarint(DynArray<uint8_t>& d, uint32_t v) {
    while (v >= 0x80) {
        d.push((uint8_t)(v | 0x80));
        v >>= 7;
    }
    d.push((uint8_t)v);
}

static bool sameBits(float a, float b) { return memcmp(&a, &b, 4) == 0; }

void RecordingWriter::begin(uint64_t seed) {
    header = RecordingHeader();
    header.version = RecordingVersion;
    header.seed = seed;
    header.stepsPerSecond = STEPS_PER_SECOND;
    data.clear();
    data.reserve(1 << 20);  // over an hour of play at the usual rates
    previous = stepBeforeTheFirst();
    pendingRepeats = 0;
    finished = false;
}

void RecordingWriter::flushRepeats() {
    while (pendingRepeats > 0) {
        int n = pendingRepeats > 128 ? 128 : pendingRepeats;
        putByte(data, (uint8_t)(TagRepeat | (n - 1)));
        pendingRepeats -= n;
    }
}

void RecordingWriter::addStep(const StepInput& given) {
    ASSERT(!finished);
    StepInput in = given;
    in.held &= SimulationActions;
    in.pressed &= SimulationActions;
    in.released &= SimulationActions;
    uint8_t tag = 0;
    if (in.held != previous.held || in.pressed != previous.pressed || in.released != previous.released)
        tag |= TagActions;
    if (!sameBits(in.aimPoint.x, previous.aimPoint.x)) tag |= TagAimX;
    if (!sameBits(in.aimPoint.y, previous.aimPoint.y)) tag |= TagAimY;
    if (!sameBits(in.aimPoint.z, previous.aimPoint.z)) tag |= TagAimZ;
    if (in.windowActive != previous.windowActive) tag |= TagActivity;
    int commands = in.numGuiCommands < 0 ? 0 : in.numGuiCommands;
    if (commands > MaxStepGuiCommands) commands = MaxStepGuiCommands;
    if (commands > 0) tag |= TagCommands;
    header.stepCount++;
    if (tag == 0) {
        pendingRepeats++;
        return;
    }
    flushRepeats();
    putByte(data, tag);
    if (tag & TagActions) {
        putVarint(data, in.held);
        putVarint(data, in.pressed);
        putVarint(data, in.released);
    }
    if (tag & TagAimX) putF32(data, in.aimPoint.x);
    if (tag & TagAimY) putF32(data, in.aimPoint.y);
    if (tag & TagAimZ) putF32(data, in.aimPoint.z);
    if (tag & TagCommands) {
        putByte(data, (uint8_t)commands);
        for (int i = 0; i < commands; i++) {
            int32_t c = in.guiCommands[i];
            putVarint(data, ((uint32_t)c << 1) ^ (uint32_t)(c >> 31));
        }
    }
    previous = in;
}

void RecordingWriter::addCheckpoint(const Checkpoint& c) {
    ASSERT(!finished);
    flushRepeats();
    putByte(data, TagCheckpoint);
    putU32(data, c.step);
    putByte(data, (uint8_t)c.mode);
    putU64(data, c.hash);
    header.checkpointCount++;
}

void RecordingWriter::finish() {
    if (finished) return;
    flushRepeats();
    putByte(data, TagEnd);
    header.dataSize = (uint32_t)data.num;
    header.dataHash = hashBytes(data.data, (size_t)data.num);
    finished = true;
}

void RecordingWriter::serialise(DynArray<uint8_t>* out) const {
    ASSERT(finished);
    out->clear();
    out->append(8, recordingMagic);
    putU32(*out, header.version);
    putU32(*out, RecordingHeaderSize);
    putU64(*out, header.seed);
    putU32(*out, header.stepsPerSecond);
    putU32(*out, header.stepCount);
    putU32(*out, header.checkpointCount);
    putU32(*out, header.dataSize);
    putU64(*out, header.dataHash);
    ASSERT(out->num == RecordingHeaderSize);
    out->append(data.num, data.data);
}

bool RecordingWriter::save(const char* path, FixedString<256>* error) const {
    DynArray<uint8_t> bytes = {};
    serialise(&bytes);
    FixedString<QZ_MAX_PATH + 8> temp;
    temp.format("%s.tmp", path);
    FILE* f = fopen(temp, "wb");
    bool ok = f != nullptr;
    if (!f) error->format("can't create '%s': %s", temp.c_str(), strerror(errno));
    if (ok && fwrite(bytes.data, 1, (size_t)bytes.num, f) != (size_t)bytes.num) {
        error->format("can't write '%s': %s", temp.c_str(), strerror(errno));
        ok = false;
    }
    if (f && fclose(f) != 0 && ok) {
        error->format("can't write '%s': %s", temp.c_str(), strerror(errno));
        ok = false;
    }
    if (ok && rename(temp, path) != 0) {
        error->format("can't rename '%s' to '%s': %s", temp.c_str(), path, strerror(errno));
        ok = false;
    }
    if (!ok && f) unlink(temp);
    bytes.release();
    return ok;
}

//---------------------------------------------------------------------------
// Reading
//---------------------------------------------------------------------------

static uint32_t getU32(const uint8_t* p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static uint64_t getU64(const uint8_t* p) { return (uint64_t)getU32(p) | (uint64_t)getU32(p + 4) << 32; }

RecordingCursor::RecordingCursor(const uint8_t* data, size_t n)
    : bytes(data), size(n), pos(0), previous(stepBeforeTheFirst()), repeats(0) {}

RecordingCursor::Item RecordingCursor::next(StepInput* in, Checkpoint* checkpoint, FixedString<256>* error) {
    if (repeats > 0) {
        repeats--;
        *in = previous;
        return ItemStep;
    }
    auto damaged = [&](const char* what) {
        error->format("damaged at byte %zu of the steps: %s", pos, what);
        return ItemDamaged;
    };
    if (pos >= size) return damaged("the stream ends without its end mark");
    size_t at = pos;
    uint8_t tag = bytes[pos++];
    if (tag & TagRepeat) {
        if (at == 0) return damaged("a repeat before any step");
        repeats = tag & 0x7F;
        *in = previous;
        return ItemStep;
    }
    if (tag == TagEnd) return ItemEnd;
    if (tag == TagCheckpoint) {
        if (size - pos < 13) return damaged("a checkpoint cut short");
        checkpoint->step = getU32(bytes + pos);
        checkpoint->mode = bytes[pos + 4];
        checkpoint->hash = getU64(bytes + pos + 5);
        pos += 13;
        return ItemCheckpoint;
    }
    if (tag > 0x3F) return damaged("an unknown item");

    StepInput s = previous;
    s.numGuiCommands = 0;
    auto varint = [&](uint32_t* v) {
        *v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (pos >= size) return false;
            uint8_t b = bytes[pos++];
            *v |= (uint32_t)(b & 0x7F) << shift;
            if (!(b & 0x80)) return true;
        }
        return false;
    };
    auto f32 = [&](float* f) {
        if (size - pos < 4) return false;
        uint32_t v = getU32(bytes + pos);
        pos += 4;
        memcpy(f, &v, 4);
        return std::isfinite(*f) && fabsf(*f) <= MaxAimCoordinate;
    };
    if (tag & TagActions) {
        if (!varint(&s.held) || !varint(&s.pressed) || !varint(&s.released)) return damaged("bad actions");
        if ((s.held | s.pressed | s.released) & ~SimulationActions) return damaged("unknown actions");
    }
    if ((tag & TagAimX) && !f32(&s.aimPoint.x)) return damaged("bad aim point");
    if ((tag & TagAimY) && !f32(&s.aimPoint.y)) return damaged("bad aim point");
    if ((tag & TagAimZ) && !f32(&s.aimPoint.z)) return damaged("bad aim point");
    if (tag & TagActivity) s.windowActive = !s.windowActive;
    if (tag & TagCommands) {
        if (pos >= size) return damaged("screen commands cut short");
        int n = bytes[pos++];
        if (n < 1 || n > MaxStepGuiCommands) return damaged("bad number of screen commands");
        for (int i = 0; i < n; i++) {
            uint32_t z;
            if (!varint(&z)) return damaged("bad screen command");
            s.guiCommands[i] = (int32_t)((z >> 1) ^ (0u - (z & 1)));
        }
        s.numGuiCommands = n;
    }
    s.guiFromRecord = true;
    previous = s;
    previous.numGuiCommands = 0;  // a repeat never repeats commands
    *in = s;
    return ItemStep;
}

// The header alone: magic, version, sizes within what a recording can be.
static bool parseRecordingHeader(const uint8_t* bytes, size_t size, RecordingHeader* out, FixedString<256>* error) {
    if (size < 8 || memcmp(bytes, recordingMagic, 8) != 0) {
        error->assign("not a recording of this game");
        return false;
    }
    if (size < RecordingHeaderSize) {
        error->format("truncated: %zu bytes, the header alone takes %d", size, (int)RecordingHeaderSize);
        return false;
    }
    RecordingHeader h;
    h.version = getU32(bytes + 8);
    uint32_t headerSize = getU32(bytes + 12);
    h.seed = getU64(bytes + 16);
    h.stepsPerSecond = getU32(bytes + 24);
    h.stepCount = getU32(bytes + 28);
    h.checkpointCount = getU32(bytes + 32);
    h.dataSize = getU32(bytes + 36);
    h.dataHash = getU64(bytes + 40);
    if (h.version != RecordingVersion) {
        error->format("format version %u; this game reads version %u", h.version, RecordingVersion);
        return false;
    }
    if (headerSize != RecordingHeaderSize) {
        error->format("damaged header (header size %u)", headerSize);
        return false;
    }
    if (h.stepsPerSecond != STEPS_PER_SECOND) {
        error->format("recorded at %u steps per second; this game runs %d", h.stepsPerSecond, STEPS_PER_SECOND);
        return false;
    }
    if (h.stepCount > MaxRecordingSteps || h.checkpointCount > MaxRecordingCheckpoints ||
        h.dataSize > MaxRecordingBytes) {
        error->format("larger than any recording can be (%u steps, %u checkpoints, %u bytes)", h.stepCount,
                      h.checkpointCount, h.dataSize);
        return false;
    }
    *out = h;
    return true;
}

bool parseRecording(const uint8_t* bytes, size_t size, Recording* out, FixedString<256>* error) {
    RecordingHeader h;
    if (!parseRecordingHeader(bytes, size, &h, error)) return false;
    size_t have = size - RecordingHeaderSize;
    if (have < h.dataSize) {
        error->format("truncated: the header promises %u bytes of steps, the file holds %zu", h.dataSize, have);
        return false;
    }
    if (have > h.dataSize) {
        error->assign("damaged: more bytes than the header promises");
        return false;
    }
    const uint8_t* data = bytes + RecordingHeaderSize;
    if (hashBytes(data, h.dataSize) != h.dataHash) {
        error->assign("damaged: the steps do not match their fingerprint");
        return false;
    }

    // Walk everything once, so that a replay never meets a bad byte.
    RecordingCursor cursor(data, h.dataSize);
    uint32_t steps = 0, checkpoints = 0, lastCheckpointStep = 0;
    for (;;) {
        StepInput in;
        Checkpoint c;
        RecordingCursor::Item item = cursor.next(&in, &c, error);
        if (item == RecordingCursor::ItemDamaged) return false;
        if (item == RecordingCursor::ItemEnd) break;
        if (item == RecordingCursor::ItemStep && ++steps > h.stepCount) {
            error->format("damaged: more steps than the %u the header gives", h.stepCount);
            return false;
        }
        if (item == RecordingCursor::ItemCheckpoint) {
            // One per step at most, taken after the steps counted so far.
            if (c.step != steps || c.mode > 5 || (checkpoints > 0 && c.step == lastCheckpointStep)) {
                error->format("damaged: checkpoint %u is out of place", checkpoints + 1);
                return false;
            }
            checkpoints++;
            lastCheckpointStep = c.step;
        }
    }
    if (cursor.offset() != h.dataSize) {
        error->format("damaged: %zu bytes after the end mark", (size_t)h.dataSize - cursor.offset());
        return false;
    }
    if (steps != h.stepCount || checkpoints != h.checkpointCount) {
        error->format("damaged: holds %u steps and %u checkpoints, the header gives %u and %u", steps, checkpoints,
                      h.stepCount, h.checkpointCount);
        return false;
    }
    out->header = h;
    out->data.clear();
    out->data.append((int)h.dataSize, data);
    return true;
}

bool loadRecording(const char* path, Recording* out, FixedString<256>* error) {
    FILE* f = fopen(path, "rb");
    if (!f) {
        error->format("can't open it: %s", strerror(errno));
        return false;
    }
    // The header first: storage is sized from it only once it was checked,
    // so it never exceeds the largest recording there can be.
    uint8_t head[RecordingHeaderSize];
    size_t n = fread(head, 1, sizeof head, f);
    RecordingHeader h;
    bool ok = parseRecordingHeader(head, n, &h, error);
    DynArray<uint8_t> bytes = {};
    if (ok) {
        size_t whole = RecordingHeaderSize + (size_t)h.dataSize;
        bytes.resize((int)whole + 1);  // one byte more shows a file that runs on
        memcpy(bytes.data, head, sizeof head);
        n += fread(bytes.data + n, 1, whole + 1 - n, f);
        if (ferror(f)) {
            error->format("can't read it: %s", strerror(errno));
            ok = false;
        } else {
            ok = parseRecording(bytes.data, n, out, error);
        }
    }
    fclose(f);
    bytes.release();
    return ok;
}
