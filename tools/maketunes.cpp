// maketunes: writes the six background tunes of the program's sound/ folder.
//
//   maketunes <folder>
//
// writes <folder>/乐曲01.mid .. 乐曲06.mid, Standard MIDI Files (format 1,
// 480 ticks per quarter note) of calm piano and string pieces, each about
// 45 to 60 seconds long.  The pieces are composed here by a small set of
// rules: a chord progression per tune, a melody that moves mostly by step
// and lands on chord tones, phrases in the form A A' B A'' with a closing
// bar, and a piano / harp / string accompaniment.  The same input always
// gives the same files.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kTicksPerQuarter = 480;
constexpr int kEighth = kTicksPerQuarter / 2;

// ----------------------------------------------------------- MIDI writing

struct Event {
    int tick;
    int order;                  // at one tick: 0 meta/control, 1 note off, 2 note on
    std::vector<uint8_t> bytes; // status byte onwards
};

struct Track {
    std::string name;
    std::vector<Event> events;

    void meta(int tick, uint8_t type, std::vector<uint8_t> data)
    {
        std::vector<uint8_t> b{0xFF, type};
        appendVarLen(b, static_cast<uint32_t>(data.size()));
        b.insert(b.end(), data.begin(), data.end());
        events.push_back({tick, 0, b});
    }
    void control(int tick, int ch, int cc, int value)
    {
        events.push_back({tick, 0, {uint8_t(0xB0 | ch), uint8_t(cc), uint8_t(std::clamp(value, 0, 127))}});
    }
    void program(int tick, int ch, int prog)
    {
        events.push_back({tick, 0, {uint8_t(0xC0 | ch), uint8_t(prog)}});
    }
    void note(int tick, int length, int ch, int key, int velocity)
    {
        if (key < 0 || key > 127 || length <= 0)
            return;
        events.push_back({tick, 2, {uint8_t(0x90 | ch), uint8_t(key), uint8_t(std::clamp(velocity, 1, 127))}});
        events.push_back({tick + length, 1, {uint8_t(0x80 | ch), uint8_t(key), 0}});
    }

    static void appendVarLen(std::vector<uint8_t> &out, uint32_t v)
    {
        uint8_t buf[5];
        int n = 0;
        buf[n++] = v & 0x7F;
        while (v >>= 7)
            buf[n++] = uint8_t(0x80 | (v & 0x7F));
        while (n)
            out.push_back(buf[--n]);
    }

    std::vector<uint8_t> chunk() const
    {
        std::vector<Event> sorted = events;
        std::stable_sort(sorted.begin(), sorted.end(), [](const Event &a, const Event &b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        std::vector<uint8_t> body;
        if (!name.empty()) {
            body.push_back(0);
            body.push_back(0xFF);
            body.push_back(0x03);
            appendVarLen(body, uint32_t(name.size()));
            body.insert(body.end(), name.begin(), name.end());
        }
        int last = 0;
        for (const Event &e : sorted) {
            appendVarLen(body, uint32_t(e.tick - last));
            last = e.tick;
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        }
        body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
        std::vector<uint8_t> out{'M', 'T', 'r', 'k'};
        const uint32_t n = uint32_t(body.size());
        out.insert(out.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
        out.insert(out.end(), body.begin(), body.end());
        return out;
    }
};

bool writeMidi(const std::string &path, const std::vector<Track> &tracks)
{
    std::vector<uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    file.push_back(uint8_t(tracks.size() >> 8));
    file.push_back(uint8_t(tracks.size()));
    file.push_back(uint8_t(kTicksPerQuarter >> 8));
    file.push_back(uint8_t(kTicksPerQuarter & 0xFF));
    for (const Track &t : tracks) {
        const std::vector<uint8_t> c = t.chunk();
        file.insert(file.end(), c.begin(), c.end());
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(file.data()), std::streamsize(file.size()));
    return bool(out);
}

// ------------------------------------------------------------ composition

struct Random {
    uint32_t state;
    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int below(int n) { return int(next() % uint32_t(n)); }
    bool chance(int percent) { return below(100) < percent; }
};

enum class Accompaniment { PianoArpeggio, HarpArpeggio, PianoBlocks };

struct Tune {
    const char *file;
    const char *title;
    int tonic;              // MIDI key of the tonic in the melody's octave
    bool minor;
    int tempo;              // quarter notes per minute
    int beats;              // 4 or 3 quarter notes per bar
    int phraseA[4];         // chord degrees 1..7 for the phrases
    int phraseB[4];
    int closing[4];         // last phrase; the closing bar is the tonic
    int melodyProgram;
    int melodyOctaveShift;  // semitones added to the melody
    int accompanimentProgram;
    Accompaniment accompaniment;
    int padProgram;         // strings holding the chords
    int bassProgram;        // -1: the accompaniment carries the bass
    uint32_t seed;
    double levelDb;         // evens out the loudness of the six tunes
};

// Six pieces: keys, tempi and colours differ so the tunes do not blur.
const Tune kTunes[] = {
    {"乐曲01.mid", "Morning Page", 65, false, 80, 4,
     {1, 6, 4, 5}, {4, 5, 3, 6}, {1, 6, 2, 5}, 0, 0, 0, Accompaniment::PianoArpeggio, 48, -1, 0x1234567u, 1.3},
    {"乐曲02.mid", "Quiet Library", 62, false, 78, 4,
     {1, 4, 6, 5}, {6, 3, 4, 1}, {1, 4, 2, 5}, 4, 0, 46, Accompaniment::HarpArpeggio, 49, 42, 0x2468aceu, -2.3},
    {"乐曲03.mid", "Lamplight Waltz", 69, true, 70, 3,
     {1, 4, 7, 3}, {6, 4, 5, 1}, {1, 4, 2, 5}, 0, 0, 0, Accompaniment::PianoArpeggio, 49, 42, 0x3579bdfu, 3.5},
    {"乐曲04.mid", "Open Notebook", 67, false, 80, 4,
     {1, 5, 6, 4}, {2, 5, 1, 6}, {1, 5, 4, 5}, 48, 0, 46, Accompaniment::HarpArpeggio, 49, 43, 0x0badf00u, -11.8},
    {"乐曲05.mid", "Evening Review", 63, false, 80, 4,
     {1, 3, 4, 5}, {6, 2, 4, 5}, {1, 3, 2, 5}, 0, 0, 0, Accompaniment::PianoBlocks, 48, 43, 0x5eed5eeu, 0.6},
    {"乐曲06.mid", "Still Water", 64, true, 68, 3,
     {1, 6, 3, 7}, {4, 1, 6, 5}, {1, 6, 4, 5}, 49, 0, 0, Accompaniment::PianoArpeggio, 48, 42, 0x7e57ab1u, -2.0},
};

const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

// The key of scale step s (0 = tonic, 7 = tonic an octave up); on the
// dominant chord of a minor key the seventh step is raised.
int stepToKey(const Tune &t, int step, bool raisedSeventh)
{
    const int octave = step >= 0 ? step / 7 : -((-step + 6) / 7);
    const int degree = step - octave * 7;
    int semis = (t.minor ? kMinor : kMajor)[degree];
    if (t.minor && raisedSeventh && degree == 6)
        semis = 11;
    return t.tonic + octave * 12 + semis;
}

// Scale steps (within one octave, 0..6) of the triad on degree 1..7.
std::vector<int> chordSteps(int degree)
{
    const int r = degree - 1;
    return {r % 7, (r + 2) % 7, (r + 4) % 7};
}

bool isChordTone(int step, int degree)
{
    const int s = ((step % 7) + 7) % 7;
    for (int c : chordSteps(degree))
        if (c == s)
            return true;
    return false;
}

// Nearest chord tone to `from` within the melody's range.
int nearestChordTone(int from, int degree, int lo, int hi, Random &rnd)
{
    int best = from;
    int bestCost = 1000;
    for (int s = lo; s <= hi; ++s) {
        if (!isChordTone(s, degree))
            continue;
        const int cost = std::abs(s - from) * 4 + rnd.below(3);
        if (cost < bestCost) {
            bestCost = cost;
            best = s;
        }
    }
    return best;
}

struct Note {
    int start;   // in eighths from the bar's start
    int length;  // in eighths
    int step;    // scale step
};
using Bar = std::vector<Note>;

// Rhythms in eighth notes, calm ones first.
const std::vector<std::vector<int>> kRhythms4 = {
    {2, 2, 2, 2}, {4, 2, 2}, {2, 2, 4}, {3, 1, 2, 2}, {2, 2, 2, 1, 1}, {4, 4}, {6, 2}, {2, 4, 2}};
const std::vector<std::vector<int>> kEndings4 = {{8}, {4, 4}, {2, 6}, {2, 2, 4}};
const std::vector<std::vector<int>> kRhythms3 = {{2, 2, 2}, {4, 2}, {3, 1, 2}, {2, 4}, {2, 1, 1, 2}, {6}};
const std::vector<std::vector<int>> kEndings3 = {{6}, {2, 4}, {4, 2}};

// One bar of melody over chord `degree`, leading toward `nextDegree`.
Bar composeBar(const Tune &t, int degree, int nextDegree, bool phraseEnd, int endStep,
               int &pitch, Random &rnd)
{
    const int lo = -3, hi = 9;
    const auto &pool = t.beats == 4 ? (phraseEnd ? kEndings4 : kRhythms4) : (phraseEnd ? kEndings3 : kRhythms3);
    const std::vector<int> &rhythm = pool[size_t(rnd.below(int(pool.size())))];
    Bar bar;
    int at = 0;
    for (size_t i = 0; i < rhythm.size(); ++i) {
        const bool first = i == 0;
        const bool last = i + 1 == rhythm.size();
        int step;
        if (first) {
            step = nearestChordTone(pitch + (rnd.chance(50) ? 1 : -1), degree, lo, hi, rnd);
        } else if (last && phraseEnd) {
            step = endStep;
            // Bring the phrase's last note into the octave nearest the line.
            while (step - pitch > 4) step -= 7;
            while (pitch - step > 4) step += 7;
            step = std::clamp(step, lo, hi);
        } else {
            const int target = nearestChordTone(pitch, last ? nextDegree : degree, lo, hi, rnd);
            int dir = target > pitch ? 1 : target < pitch ? -1 : (rnd.chance(50) ? 1 : -1);
            if (rnd.chance(20))
                dir = -dir;
            const int r = rnd.below(10);
            const int size = r < 7 ? 1 : r < 9 ? 2 : 0;
            step = std::clamp(pitch + dir * size, lo, hi);
            // Long notes rest on a chord tone.
            if (rhythm[i] >= 4 && !isChordTone(step, degree))
                step = nearestChordTone(step, degree, lo, hi, rnd);
        }
        bar.push_back({at, rhythm[i], step});
        pitch = step;
        at += rhythm[i];
    }
    return bar;
}

// Bars firstBar..3 of a four-bar phrase, continuing from `pitch`.
std::vector<Bar> composePhrase(const Tune &t, const int chords[4], int nextChord, int endStep,
                               int &pitch, Random &rnd, int firstBar = 0)
{
    std::vector<Bar> bars;
    for (int b = firstBar; b < 4; ++b) {
        const bool end = b == 3;
        bars.push_back(composeBar(t, chords[b], b < 3 ? chords[b + 1] : nextChord, end, endStep, pitch, rnd));
    }
    return bars;
}

struct Piece {
    std::vector<int> chords;     // one degree per bar
    std::vector<Bar> melody;     // one bar per chord
    std::vector<int> loudness;   // velocity offset per bar
};

Piece compose(const Tune &t)
{
    Random rnd{t.seed};
    Piece p;
    int line = 2;
    // A: ends open on its last chord.
    std::vector<Bar> a = composePhrase(t, t.phraseA, t.phraseA[0], chordSteps(t.phraseA[3])[rnd.below(2) ? 0 : 2],
                                       line, rnd);
    // A': the first half again, a new second half.
    line = a[1].back().step;
    std::vector<Bar> a2 = a;
    {
        const std::vector<Bar> tail =
            composePhrase(t, t.phraseA, t.phraseB[0], chordSteps(t.phraseA[3])[1], line, rnd, 2);
        a2[2] = tail[0];
        a2[3] = tail[1];
    }
    // B: new material, a little higher and louder.
    line += 2;
    std::vector<Bar> b = composePhrase(t, t.phraseB, t.closing[0], chordSteps(t.phraseB[3])[0], line, rnd);
    // A'': the opening bars return (the second one too when its chord is
    // the same) and the phrase closes on the leading note or the second.
    std::vector<Bar> z{a[0]};
    const int keep = t.closing[1] == t.phraseA[1] ? 2 : 1;
    if (keep == 2)
        z.push_back(a[1]);
    line = z.back().back().step;
    for (const Bar &bar : composePhrase(t, t.closing, 1, chordSteps(t.closing[3])[1], line, rnd, keep))
        z.push_back(bar);

    auto add = [&](const int chords[4], const std::vector<Bar> &bars, int loud) {
        for (int i = 0; i < 4; ++i) {
            p.chords.push_back(chords[i]);
            p.melody.push_back(bars[size_t(i)]);
            p.loudness.push_back(loud);
        }
    };
    add(t.phraseA, a, 0);
    add(t.phraseA, a2, 2);
    add(t.phraseB, b, 8);
    add(t.closing, z, 0);
    // Closing bar: the tonic held, in the octave nearest the last note.
    const int lastStep = z[3].back().step;
    const int home = std::abs(lastStep - 7) < std::abs(lastStep) ? 7 : 0;
    p.chords.push_back(1);
    p.melody.push_back({{0, t.beats * 2, home}});
    p.loudness.push_back(-6);
    return p;
}

// ---------------------------------------------------------- arrangement

std::vector<Track> arrange(const Tune &t, const Piece &p)
{
    const int bar = t.beats * kTicksPerQuarter;
    const int bars = int(p.chords.size());
    Random rnd{t.seed ^ 0x9e3779b9u};

    Track conductor;
    conductor.name = t.title;
    const int usPerQuarter = 60000000 / t.tempo;
    conductor.meta(0, 0x51, {uint8_t(usPerQuarter >> 16), uint8_t(usPerQuarter >> 8), uint8_t(usPerQuarter)});
    conductor.meta(0, 0x58, {uint8_t(t.beats), 2, 24, 8});
    // Key signature: sharps or flats of the tonic (major or relative major).
    {
        const int majorTonic = (t.tonic + (t.minor ? 3 : 0)) % 12;
        static const int sharps[12] = {0, -5, 2, -3, 4, -1, 6, 1, -4, 3, -2, 5};
        conductor.meta(0, 0x59, {uint8_t(int8_t(sharps[majorTonic])), uint8_t(t.minor ? 1 : 0)});
    }
    // Slow down over the last two bars.
    const int ritardFrom = (bars - 2) * bar;
    for (int q = 0; q < 2 * t.beats; ++q) {
        const double factor = 1.0 + 0.05 * (q + 1);
        const int us = int(usPerQuarter * factor);
        conductor.meta(ritardFrom + q * kTicksPerQuarter, 0x51, {uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)});
    }

    // Channel volume acts about as 40 log10(v / 127) dB in a GM synthesizer.
    const double levelFactor = std::pow(10.0, t.levelDb / 40.0);
    auto setup = [levelFactor](Track &tr, int ch, int program, int volume, int pan, int reverb) {
        tr.program(0, ch, program);
        tr.control(0, ch, 7, int(std::lround(volume * levelFactor)));
        tr.control(0, ch, 10, pan);
        tr.control(0, ch, 91, reverb);
        tr.control(0, ch, 93, 12);
    };

    // Melody, channel 0.
    Track melody;
    melody.name = "Melody";
    setup(melody, 0, t.melodyProgram, 104, 60, 70);
    const bool stringsLead = t.melodyProgram >= 40 && t.melodyProgram < 56;
    for (int b = 0; b < bars; ++b) {
        const int degree = p.chords[size_t(b)];
        const bool raised = t.minor && degree == 5;
        for (const Note &n : p.melody[size_t(b)]) {
            const int key = stepToKey(t, n.step, raised) + t.melodyOctaveShift;
            const bool strong = n.start % (t.beats == 4 ? 4 : 6) == 0;
            int vel = 72 + p.loudness[size_t(b)] + (strong ? 8 : 0) + rnd.below(7) - 3;
            if (stringsLead)
                vel -= 4;
            const int len = n.length * kEighth - (stringsLead ? 10 : 30);
            melody.note(b * bar + n.start * kEighth, b == bars - 1 ? len + bar / 2 : len, 0, key, vel);
        }
    }

    // Accompaniment, channel 1: broken chords or soft blocks, with the pedal.
    Track acc;
    acc.name = "Accompaniment";
    const bool harp = t.accompaniment == Accompaniment::HarpArpeggio;
    setup(acc, 1, t.accompanimentProgram, harp ? 96 : 88, 70, 80);
    for (int b = 0; b < bars; ++b) {
        const int degree = p.chords[size_t(b)];
        const bool raised = t.minor && degree == 5;
        const int root = stepToKey(t, degree - 1, raised) - 24;
        const int third = stepToKey(t, degree + 1, raised) - 24;
        const int fifth = stepToKey(t, degree + 3, raised) - 24;
        // Keep the accompaniment's bass in a comfortable octave.
        const int shift = root < 40 ? 12 : root > 52 ? -12 : 0;
        const int r = root + shift, th = third + shift, f = fifth + shift;
        const int start = b * bar;
        const bool last = b == bars - 1;
        const int loud = p.loudness[size_t(b)] / 2;
        acc.control(start, 1, 64, 0);
        acc.control(start + 10, 1, 64, 127);
        if (last) {
            // A rolled tonic chord, held.
            const int roll[] = {r, f, th + 12, r + 24};
            for (int i = 0; i < 4; ++i)
                acc.note(start + i * 60, bar * 3 / 2, 1, roll[i], 52 - i * 2);
            continue;
        }
        if (t.accompaniment == Accompaniment::PianoBlocks) {
            for (int beat = 0; beat < t.beats; beat += 2) {
                const int at = start + beat * kTicksPerQuarter;
                acc.note(at, kTicksPerQuarter * 2 - 40, 1, r, 54 + loud);
                for (int k : {f, th + 12, f + 12})
                    acc.note(at + kEighth, kTicksPerQuarter * 3 / 2 - 40, 1, k, 44 + loud + rnd.below(5));
            }
            continue;
        }
        std::vector<int> pattern;
        if (t.beats == 3)
            pattern = {r, f, th + 12, f + 12, th + 12, f};
        else if (harp)
            pattern = {r, f, r + 12, th + 12, f + 12, r + 24, f + 12, th + 12};
        else
            pattern = {r, f, r + 12, th + 12, f + 12, th + 12, r + 12, f};
        for (size_t i = 0; i < pattern.size(); ++i) {
            const int vel = (i == 0 ? 58 : 46) + loud + rnd.below(5) - 2 - (harp ? 2 : 0);
            acc.note(start + int(i) * kEighth, kEighth * 2, 1, pattern[i], vel);
        }
    }
    acc.control(bars * bar + bar / 2, 1, 64, 0);

    // Strings holding the chord, channel 2.
    Track pad;
    pad.name = "Strings";
    setup(pad, 2, t.padProgram, 72, 50, 90);
    for (int b = 0; b < bars; ++b) {
        const int degree = p.chords[size_t(b)];
        const bool raised = t.minor && degree == 5;
        std::vector<int> keys;
        for (int s : {degree - 1, degree + 1, degree + 3})
            keys.push_back(stepToKey(t, s, raised) - 12);
        // Voice the chord close around middle C.
        for (int &k : keys) {
            while (k < 53) k += 12;
            while (k > 66) k -= 12;
        }
        std::sort(keys.begin(), keys.end());
        const int start = b * bar;
        const bool last = b == bars - 1;
        pad.control(start, 2, 11, 84 + p.loudness[size_t(b)]);
        for (int k : keys)
            pad.note(start, last ? bar * 3 / 2 : bar - 5, 2, k, 50 + p.loudness[size_t(b)]);
    }

    std::vector<Track> tracks{conductor, melody, acc, pad};

    // A low string line on the chord roots, channel 3.
    if (t.bassProgram >= 0) {
        Track bass;
        bass.name = "Bass";
        setup(bass, 3, t.bassProgram, 84, 64, 70);
        for (int b = 0; b < bars; ++b) {
            const int degree = p.chords[size_t(b)];
            int key = stepToKey(t, degree - 1, t.minor && degree == 5) - 24;
            while (key > 50) key -= 12;
            while (key < 36) key += 12;
            const bool last = b == bars - 1;
            bass.note(b * bar, last ? bar * 3 / 2 : bar - 20, 3, key, 56 + p.loudness[size_t(b)]);
        }
        tracks.push_back(bass);
    }
    return tracks;
}

double lengthSeconds(const Tune &t, int bars)
{
    const double beat = 60.0 / t.tempo;
    double s = (bars - 2) * t.beats * beat;
    for (int q = 0; q < 2 * t.beats; ++q)
        s += beat * (1.0 + 0.05 * (q + 1));
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: maketunes <folder>\n");
        return 2;
    }
    std::string folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    int failures = 0;
    for (const Tune &t : kTunes) {
        const Piece piece = compose(t);
        const std::string path = folder + t.file;
        if (!writeMidi(path, arrange(t, piece))) {
            std::fprintf(stderr, "maketunes: cannot write %s\n", path.c_str());
            ++failures;
            continue;
        }
        std::printf("%s  %s, %d bars, about %.0f s\n", path.c_str(), t.title, int(piece.chords.size()),
                    lengthSeconds(t, int(piece.chords.size())) + 1.5);
    }
    return failures ? 1 : 0;
}
