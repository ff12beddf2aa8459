// make_sounds: renders the readable sound definitions under data/sounds/
// (effects) and data/music/ (tunes) into 16-bit mono WAV files. The same
// definition always gives the same bytes; a damaged one stops the build with
// its file and line.
//
// Usage: make_sounds OUTPUT_DIR DEFINITION...   writes OUTPUT_DIR/<name>.wav
//
// Both kinds are built from voices (a word starting with '#' begins a
// comment, words are separated by blanks). A voice's settings, each on its own line:
//   wave W                 sine, square, triangle, saw or noise
//   duty D                 square: share of the period spent high (0.05-0.95)
//   envelope A D S R       attack and decay seconds, sustain level 0-1,
//                          release seconds (after the voice's length)
//   vibrato RATE DEPTH     Hz and semitones
//   noise N                share of white noise mixed into the wave (0-1)
//   volume V               0-1
// noise as a wave draws a new random level at its pitch, so a low pitch
// rumbles and a high one hisses.
//
// An effect starts with "effect" and holds one or more "layer"s, summed:
//   layer                  starts a voice; then its settings and
//   length SECONDS
//   pitch HZ [HZ]          start and end frequency of the slide
//   slide lin|exp          how the pitch moves between them (exp: default)
//   delay SECONDS          when the layer starts
//
// A tune starts with "tune" and loops seamlessly (release tails wrap round):
//   tempo BPM              quarter notes per minute
//   track NAME             starts a voice; then its settings and
//   notes N/D ...          notes: C4/4 is middle C for a quarter, F#3/8 an
//                          eighth, Bb2/2. a dotted half; -/4 rests; '|' is
//                          ignored. More "notes" lines go on the same track.
// A track shorter than the tune repeats; its length must divide the tune's.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

static const int effectRate = 44100, tuneRate = 22050;

enum Wave { Sine, Square, Triangle, Saw, Noise };

struct Voice {
    Wave wave = Sine;
    float duty = 0.5f;
    float attack = 0.005f, decay = 0.05f, sustain = 0.7f, release = 0.05f;
    float vibratoRate = 0, vibratoDepth = 0;
    float noise = 0, volume = 0.5f;
    // Effects only.
    float length = 0.2f, pitch0 = 440, pitch1 = 440, delay = 0;
    bool expSlide = true;
    // Tunes only: (midi note or -1 for a rest, length in quarter notes).
    std::vector<std::pair<int, float>> notes;
    int line = 0;
};

struct Definition {
    bool tune = false;
    float tempo = 120;
    std::vector<Voice> voices;
};

static const char* fileName;

[[noreturn]] static void fail(int line, const char* what, const std::string& word = "") {
    if (word.empty()) fprintf(stderr, "%s:%d: %s\n", fileName, line, what);
    else fprintf(stderr, "%s:%d: %s '%s'\n", fileName, line, what, word.c_str());
    exit(1);
}

static std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) i++;
        size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') i++;
        if (i > start) out.push_back(text.substr(start, i - start));
    }
    return out;
}

static float number(const std::string& w, int line, float lo, float hi) {
    char* end = nullptr;
    errno = 0;
    double v = strtod(w.c_str(), &end);
    if (w.empty() || *end || errno || !(v >= lo && v <= hi)) {
        char what[96];
        snprintf(what, sizeof what, "expected a number from %g to %g, not", lo, hi);
        fail(line, what, w);
    }
    return (float)v;
}

// "C4/4", "F#3/8", "Bb2/2.", "-/4" -> midi note (-1 rest) and quarter notes.
static std::pair<int, float> parseNote(const std::string& w, int line) {
    size_t slash = w.find('/');
    if (slash == std::string::npos || slash == 0) fail(line, "bad note", w);
    std::string pitch = w.substr(0, slash), len = w.substr(slash + 1);
    bool dotted = !len.empty() && len.back() == '.';
    if (dotted) len.pop_back();
    int d = len == "1" ? 1 : len == "2" ? 2 : len == "4" ? 4 : len == "8" ? 8 : len == "16" ? 16 : 0;
    if (!d) fail(line, "bad note length", w);
    float quarters = 4.0f / (float)d * (dotted ? 1.5f : 1.0f);
    if (pitch == "-") return {-1, quarters};
    static const int semis[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    char letter = pitch[0];
    if (letter < 'A' || letter > 'G') fail(line, "bad note", w);
    int n = semis[letter - 'A'];
    size_t i = 1;
    if (i < pitch.size() && pitch[i] == '#') n++, i++;
    else if (i < pitch.size() && pitch[i] == 'b') n--, i++;
    if (i + 1 != pitch.size() || pitch[i] < '0' || pitch[i] > '8') fail(line, "bad note", w);
    return {12 * (pitch[i] - '0' + 1) + n, quarters};
}

static bool voiceSetting(Voice& v, const std::vector<std::string>& w, int line) {
    const std::string& k = w[0];
    size_t want = k == "envelope" ? 5 : k == "vibrato" ? 3 : 2;
    bool known = k == "wave" || k == "duty" || k == "envelope" || k == "vibrato" || k == "noise" || k == "volume";
    if (!known) return false;
    if (w.size() != want) fail(line, "wrong number of values for", k);
    if (k == "wave") {
        const char* names[] = {"sine", "square", "triangle", "saw", "noise"};
        int i = 0;
        while (i < 5 && w[1] != names[i]) i++;
        if (i == 5) fail(line, "unknown wave", w[1]);
        v.wave = (Wave)i;
    } else if (k == "duty") {
        v.duty = number(w[1], line, 0.05f, 0.95f);
    } else if (k == "envelope") {
        v.attack = number(w[1], line, 0, 10);
        v.decay = number(w[2], line, 0, 10);
        v.sustain = number(w[3], line, 0, 1);
        v.release = number(w[4], line, 0, 10);
    } else if (k == "vibrato") {
        v.vibratoRate = number(w[1], line, 0, 100);
        v.vibratoDepth = number(w[2], line, 0, 12);
    } else if (k == "noise") {
        v.noise = number(w[1], line, 0, 1);
    } else {
        v.volume = number(w[1], line, 0, 1);
    }
    return true;
}

static Definition parse(const char* file) {
    fileName = file;
    FILE* f = fopen(file, "r");
    if (!f) {
        fprintf(stderr, "%s: %s\n", file, strerror(errno));
        exit(1);
    }
    Definition def;
    bool started = false;
    char buf[4096];
    int line = 0;
    while (fgets(buf, sizeof buf, f)) {
        line++;
        std::string s(buf);
        if (!s.empty() && s.back() != '\n' && !feof(f)) fail(line, "line too long");
        // A comment is a word starting with '#' and the rest of the line (C#4 is a note).
        for (size_t i = 0; i < s.size(); i++)
            if (s[i] == '#' && (i == 0 || s[i - 1] == ' ' || s[i - 1] == '\t')) {
                s.resize(i);
                break;
            }
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        std::vector<std::string> w = words(s);
        if (w.empty()) continue;
        const std::string& k = w[0];
        if (!started) {
            if (k != "effect" && k != "tune") fail(line, "a definition starts with 'effect' or 'tune', not", k);
            if (w.size() != 1) fail(line, "nothing may follow", k);
            def.tune = k == "tune";
            started = true;
            continue;
        }
        bool opens = def.tune ? k == "track" : k == "layer";
        if (opens) {
            if (w.size() != (def.tune ? 2u : 1u)) fail(line, def.tune ? "a track needs one name" : "nothing may follow", k);
            def.voices.push_back(Voice());
            def.voices.back().line = line;
            continue;
        }
        if (def.tune && k == "tempo") {
            if (w.size() != 2) fail(line, "wrong number of values for", k);
            def.tempo = number(w[1], line, 20, 400);
            continue;
        }
        if (def.voices.empty()) fail(line, def.tune ? "expected 'track' before" : "expected 'layer' before", k);
        Voice& v = def.voices.back();
        if (voiceSetting(v, w, line)) continue;
        if (def.tune && k == "notes") {
            for (size_t i = 1; i < w.size(); i++)
                if (w[i] != "|") v.notes.push_back(parseNote(w[i], line));
        } else if (!def.tune && k == "length" && w.size() == 2) {
            v.length = number(w[1], line, 0.001f, 30);
        } else if (!def.tune && k == "delay" && w.size() == 2) {
            v.delay = number(w[1], line, 0, 30);
        } else if (!def.tune && k == "pitch" && (w.size() == 2 || w.size() == 3)) {
            v.pitch0 = number(w[1], line, 1, 20000);
            v.pitch1 = w.size() == 3 ? number(w[2], line, 1, 20000) : v.pitch0;
        } else if (!def.tune && k == "slide" && w.size() == 2 && (w[1] == "lin" || w[1] == "exp")) {
            v.expSlide = w[1] == "exp";
        } else {
            fail(line, "unknown or malformed setting", k);
        }
    }
    fclose(f);
    if (!started) fail(line ? line : 1, "empty definition");
    if (def.voices.empty()) fail(line, def.tune ? "a tune needs a track" : "an effect needs a layer");
    return def;
}

//---------------------------------------------------------------------------
// Rendering
//---------------------------------------------------------------------------

// Same seed, same noise: the output depends on the definition alone.
struct NoiseSource {
    uint32_t state;
    float next() {
        state = state * 1664525u + 1013904223u;
        return (float)(state >> 8) / 8388608.0f - 1.0f;
    }
};

// Attack, decay and sustain while the voice is held.
static float heldLevel(const Voice& v, float t) {
    if (t < v.attack) return t / v.attack;
    if (t < v.attack + v.decay) return 1 - (1 - v.sustain) * (t - v.attack) / v.decay;
    return v.sustain;
}

// Released after `held` seconds: down from wherever the level was then.
static float envelopeAt(const Voice& v, float t, float held) {
    if (t < held) return heldLevel(v, t);
    float r = v.release > 0 ? 1 - (t - held) / v.release : 0;
    return r > 0 ? heldLevel(v, held) * r : 0;
}

// One voice sounding for `held` seconds (then its release) from `start`,
// added into out; indices wrap when `wrap` (a looping tune).
static void renderVoice(const Voice& v, float f0, float f1, float held, double start, int rate, NoiseSource& noise,
                        std::vector<float>& out, bool wrap) {
    int count = (int)ceil((held + v.release) * (float)rate);
    long first = lrint(start * rate);
    double phase = 0;
    float level = 0;
    for (int i = 0; i < count; i++) {
        float t = (float)i / (float)rate;
        float u = held > 0 ? fminf(t / held, 1.0f) : 1.0f;
        float f = v.expSlide ? f0 * powf(f1 / f0, u) : f0 + (f1 - f0) * u;
        if (v.vibratoDepth > 0) f *= powf(2.0f, v.vibratoDepth * sinf(6.2831853f * v.vibratoRate * t) / 12.0f);
        double before = phase;
        phase += f / rate;
        phase -= floor(phase);
        float p = (float)phase, s;
        switch (v.wave) {
            case Sine: s = sinf(6.2831853f * p); break;
            case Square: s = p < v.duty ? 1.0f : -1.0f; break;
            case Triangle: s = p < 0.5f ? 4 * p - 1 : 3 - 4 * p; break;
            case Saw: s = 2 * p - 1; break;
            default:
                if (i == 0 || phase < before) level = noise.next();  // a new level each period
                s = level;
        }
        if (v.noise > 0) s = s * (1 - v.noise) + noise.next() * v.noise;
        long at = first + i;
        if (wrap) at %= (long)out.size();
        else if (at >= (long)out.size()) break;
        out[(size_t)at] += s * v.volume * envelopeAt(v, t, held);
    }
}

static std::vector<float> renderEffect(const Definition& def) {
    float total = 0;
    for (const Voice& v : def.voices) total = fmaxf(total, v.delay + v.length + v.release);
    std::vector<float> out((size_t)lround(total * effectRate), 0.0f);
    NoiseSource noise = {12345u};
    for (const Voice& v : def.voices) renderVoice(v, v.pitch0, v.pitch1, v.length, v.delay, effectRate, noise, out, false);
    return out;
}

static float midiHz(int note) { return 440.0f * powf(2.0f, (float)(note - 69) / 12.0f); }

static std::vector<float> renderTune(const Definition& def) {
    float beats = 0;
    std::vector<float> lengths;
    for (const Voice& v : def.voices) {
        float b = 0;
        for (auto& n : v.notes) b += n.second;
        if (b <= 0) fail(v.line, "track without notes");
        lengths.push_back(b);
        beats = fmaxf(beats, b);
    }
    for (size_t i = 0; i < def.voices.size(); i++) {
        float times = beats / lengths[i];
        if (fabsf(times - roundf(times)) > 1e-4f) fail(def.voices[i].line, "track length does not divide the tune's");
    }
    double beatSeconds = 60.0 / def.tempo;
    if (beats * beatSeconds > 600) fail(def.voices[0].line, "a tune may last ten minutes at most");
    std::vector<float> out((size_t)lround(beats * beatSeconds * tuneRate), 0.0f);
    NoiseSource noise = {12345u};
    for (size_t i = 0; i < def.voices.size(); i++) {
        const Voice& v = def.voices[i];
        double beat = 0;
        while (beat < beats - 1e-4) {
            for (auto& n : v.notes) {
                float seconds = (float)(n.second * beatSeconds);
                if (n.first >= 0) {
                    float hz = midiHz(n.first);
                    // Notes are held for most of their length, so repeated ones stay apart.
                    renderVoice(v, hz, hz, seconds * 0.85f, beat * beatSeconds, tuneRate, noise, out, true);
                }
                beat += n.second;
            }
        }
    }
    return out;
}

static void put32(FILE* f, uint32_t v) {
    unsigned char b[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)(v >> 16), (unsigned char)(v >> 24)};
    fwrite(b, 1, 4, f);
}
static void put16(FILE* f, uint16_t v) {
    unsigned char b[2] = {(unsigned char)v, (unsigned char)(v >> 8)};
    fwrite(b, 1, 2, f);
}

static bool writeWav(const char* path, const std::vector<float>& samples, int rate) {
    FILE* f = fopen(path, "wb");
    if (!f) return false;
    uint32_t bytes = (uint32_t)samples.size() * 2;
    fwrite("RIFF", 1, 4, f);
    put32(f, 36 + bytes);
    fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1);  // PCM
    put16(f, 1);  // mono
    put32(f, (uint32_t)rate);
    put32(f, (uint32_t)rate * 2);
    put16(f, 2);
    put16(f, 16);
    fwrite("data", 1, 4, f);
    put32(f, bytes);
    for (float s : samples) {
        float c = fmaxf(-1.0f, fminf(1.0f, s));
        put16(f, (uint16_t)(int16_t)lrintf(c * 32767.0f));
    }
    bool ok = !ferror(f);
    return fclose(f) == 0 && ok;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: make_sounds OUTPUT_DIR DEFINITION...\n");
        return 2;
    }
    for (int i = 2; i < argc; i++) {
        Definition def = parse(argv[i]);
        std::vector<float> samples = def.tune ? renderTune(def) : renderEffect(def);
        std::string base = argv[i];
        size_t slash = base.find_last_of('/');
        if (slash != std::string::npos) base = base.substr(slash + 1);
        size_t dot = base.find_last_of('.');
        if (dot != std::string::npos) base.resize(dot);
        std::string out = std::string(argv[1]) + "/" + base + ".wav";
        if (!writeWav(out.c_str(), samples, def.tune ? tuneRate : effectRate)) {
            fprintf(stderr, "can't write %s\n", out.c_str());
            return 1;
        }
    }
    return 0;
}
