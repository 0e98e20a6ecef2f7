#include "generators/SoundSynth.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

// ---------------------------------------------------------------------------
// Click sounds

constexpr int kWavRate = 22050;
constexpr double kClickPeak = 0.45;  // well below full scale: a click should not startle

// One tone of a click. The pitch may glide; the loudness rises along a raised
// cosine, falls exponentially, and the last milliseconds fade to exactly zero,
// so the sound neither starts nor ends with a pop.
struct Tone {
    double start = 0;  // seconds into the sound
    double length = 0;  // seconds
    double attack = 0;  // seconds
    double decay = 0;  // time constant of the fall, seconds
    double brightness = 0.12;  // share of the second harmonic
    std::function<double(double)> frequency;  // Hz at t seconds into the tone
};

double toneEnvelope(const Tone& tone, double t)
{
    constexpr double kFade = 0.015;
    double env = std::exp(-std::max(0.0, t - tone.attack) / tone.decay);
    if (t < tone.attack)
        env *= 0.5 - 0.5 * std::cos(kPi * t / tone.attack);
    const double left = tone.length - t;
    if (left < kFade)
        env *= 0.5 - 0.5 * std::cos(kPi * std::max(0.0, left) / kFade);
    return env;
}

void addTone(std::vector<double>& out, const Tone& tone)
{
    const auto first = std::size_t(std::lround(tone.start * kWavRate));
    const auto count = std::size_t(std::lround(tone.length * kWavRate));
    double phase = 0;
    for (std::size_t i = 0; i <= count && first + i < out.size(); ++i) {
        const double t = double(i) / kWavRate;
        phase += 2 * kPi * tone.frequency(t) / kWavRate;
        const double wave = std::sin(phase) + tone.brightness * std::sin(2 * phase);
        out[first + i] += toneEnvelope(tone, t) * wave;
    }
}

// "pi": a bright tone that settles onto its pitch from a shade above,
// which the ear hears as a crisp start.
Tone piTone(double start, double length, double decay)
{
    return Tone{start, length, 0.004, decay, 0.12, [](double t) { return 1975.5 * (1 + 0.03 * std::exp(-t / 0.008)); }};
}

// "chui": a short downward "chu" followed by an upward "i", with the slight
// flutter of a small bird's call.
Tone chuiTone()
{
    auto glide = [](double t) {
        const double f = t < 0.035 ? 2600 - 500 * std::sin(0.5 * kPi * t / 0.035)
                                   : 2100 + 1400 * std::pow(std::min(1.0, (t - 0.035) / 0.165), 1.4);
        return f * (1 + 0.012 * std::sin(2 * kPi * 38 * t));
    };
    return Tone{0.005, 0.23, 0.006, 0.16, 0.08, glide};
}

std::vector<Tone> clickTones(int which)
{
    switch (which) {
    case 0: return {piTone(0.005, 0.15, 0.055)};
    case 1: return {piTone(0.005, 0.085, 0.04), piTone(0.115, 0.12, 0.05)};
    case 2: return {chuiTone()};
    default: return {};
    }
}

QByteArray wavFile(const std::vector<double>& samples)
{
    double peak = 1e-9;
    for (double s : samples)
        peak = std::max(peak, std::abs(s));
    const double gain = kClickPeak / peak * 32767.0;

    const auto dataBytes = quint32(samples.size() * 2);
    QByteArray out;
    auto u32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto u16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    out.append("RIFF");
    u32(36 + dataBytes);
    out.append("WAVEfmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(kWavRate);
    u32(kWavRate * 2);  // bytes per second
    u16(2);  // bytes per frame
    u16(16);  // bits per sample
    out.append("data");
    u32(dataBytes);
    for (double s : samples)
        u16(quint16(qint16(std::lround(std::clamp(s * gain, -32767.0, 32767.0)))));
    return out;
}

// ---------------------------------------------------------------------------
// MIDI file writing

constexpr int kPpq = 480;
constexpr int kEighth = kPpq / 2;
constexpr int kDrumChannel = 9;

// The events of a one-track (format 0) Standard MIDI File.
class MidiTrack {
public:
    void note(int channel, int tick, int length, int pitch, int velocity)
    {
        pitch = std::clamp(pitch, 0, 127);
        // A note still sounding on the same key is ended where the new one
        // starts; otherwise its late note-off would cut the new note short.
        const auto key = std::make_pair(channel, pitch);
        if (auto it = lastOff_.find(key); it != lastOff_.end() && events_[it->second].tick > tick)
            events_[it->second].tick = tick;
        add(tick, kOn, {0x90 | channel, pitch, std::clamp(velocity, 1, 127)});
        lastOff_[key] = events_.size();
        add(tick + std::max(1, length), kOff, {0x80 | channel, pitch, 0});
    }
    void program(int channel, int number) { add(0, kSetup, {0xC0 | channel, number}); }
    void control(int channel, int number, int value)
    {
        add(0, kSetup, {0xB0 | channel, number, std::clamp(value, 0, 127)});
    }
    void tempo(int tick, double bpm)
    {
        const int us = int(std::lround(60e6 / bpm));
        add(tick, kSetup, {0xFF, 0x51, 0x03, (us >> 16) & 0xFF, (us >> 8) & 0xFF, us & 0xFF});
    }
    void meter(int beats) { add(0, kSetup, {0xFF, 0x58, 0x04, beats, 2, 24, 8}); }
    void name(const QByteArray& text)
    {
        std::vector<int> bytes{0xFF, 0x03, int(text.size())};
        for (char c : text)
            bytes.push_back(quint8(c));
        add(0, kSetup, bytes);
    }

    QByteArray file(int endTick) const
    {
        std::vector<Event> sorted = events_;
        std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        QByteArray body;
        int now = 0;
        for (const Event& e : sorted) {
            appendDelta(body, e.tick - now);
            now = e.tick;
            for (int b : e.bytes)
                body.append(char(b));
        }
        appendDelta(body, std::max(0, endTick - now));
        body.append("\xFF\x2F\x00", 3);

        QByteArray out("MThd");
        appendBig(out, 6, 4);
        appendBig(out, 0, 2);  // format 0
        appendBig(out, 1, 2);
        appendBig(out, kPpq, 2);
        out.append("MTrk");
        appendBig(out, quint32(body.size()), 4);
        return out + body;
    }

private:
    // Order of events at the same tick: set-up, then note-offs, then note-ons.
    enum Order { kSetup, kOff, kOn };
    struct Event {
        int tick;
        int order;
        std::vector<int> bytes;
    };

    void add(int tick, int order, std::vector<int> bytes) { events_.push_back({tick, order, std::move(bytes)}); }
    static void appendDelta(QByteArray& out, int delta)
    {
        quint32 v = quint32(delta);
        quint32 buffer = v & 0x7F;
        while (v >>= 7)
            buffer = (buffer << 8) | 0x80 | (v & 0x7F);
        for (;;) {
            out.append(char(buffer & 0xFF));
            if (!(buffer & 0x80))
                break;
            buffer >>= 8;
        }
    }
    static void appendBig(QByteArray& out, quint32 v, int bytes)
    {
        for (int i = bytes - 1; i >= 0; --i)
            out.append(char((v >> (8 * i)) & 0xFF));
    }

    std::vector<Event> events_;
    std::map<std::pair<int, int>, std::size_t> lastOff_;
};

// ---------------------------------------------------------------------------
// The pieces: each is an intro, a theme A, a contrasting B, A again (with its
// melody doubled) and a short slowing coda. Harmony comes from a fixed chord
// progression per piece; the melody is generated from the chords by a seeded
// generator, so every build writes exactly the same tunes.

// A small deterministic generator (a 32-bit linear congruential one); the
// same seed gives the same tune on every platform.
class Rng {
public:
    explicit Rng(quint32 seed)
        : state_(seed)
    {
    }
    double unit()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return double(state_ >> 8) / double(1u << 24);
    }
    int below(int n) { return std::min(n - 1, int(unit() * n)); }

private:
    quint32 state_;
};

enum class Accomp { Pad, Alberti, Arpeggio, Harp, Strum, Comp };
enum class BassLine { Long, RootFifth, Walk, Pulse };
enum class Kit { None, Shaker, Brushes, Machine };

using Cell = std::vector<int>;  // one bar of melody rhythm in eighths; negative: a rest

struct Layer {
    Accomp pattern;
    int program;
    int low;  // lowest pitch of the chord voicing
    int velocity;
    int pan;
};

struct Style {
    const char* title;
    double bpm;
    int beats;  // per bar: 3 or 4
    int tonic;  // pitch of scale degree 0 in the melody's octave
    std::array<int, 7> scale;  // semitones of the seven degrees
    bool sevenths;
    std::vector<int> progA, progB, coda;  // chord roots as scale degrees, one per bar
    int introBars;
    int melodyLow, melodyHigh;  // melody range in scale degrees
    int melodyProgram, melodyVelocity;
    double legato;  // sounding share of each melody note
    int doubleProgram, doubleShift;  // the melody's second voice in the reprise
    std::vector<Layer> layers;
    int bassProgram;
    BassLine bass;
    int bassVelocity;
    Kit kit;
    std::vector<Cell> cells, endCells;
    int reverb, chorus;
    double level;  // scales the channel volumes, so that the pieces sound equally loud
    quint32 seed;
};

constexpr std::array<int, 7> kMajor{0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> kMinor{0, 2, 3, 5, 7, 8, 10};
constexpr std::array<int, 7> kDorian{0, 2, 3, 5, 7, 9, 10};

int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
int degreeClass(int degree)
{
    return degree - 7 * floorDiv(degree, 7);
}

struct MelodyNote {
    int tick;  // from the start of the section
    int length;
    int degree;
    int velocity;
};

// Chord and scale arithmetic of one piece.
class Harmony {
public:
    explicit Harmony(const Style& style)
        : s_(style)
    {
    }

    int pitch(int degree) const
    {
        return s_.tonic + 12 * floorDiv(degree, 7) + s_.scale[std::size_t(degreeClass(degree))];
    }
    std::vector<int> chordClasses(int root) const
    {
        std::vector<int> classes{root % 7, (root + 2) % 7, (root + 4) % 7};
        if (s_.sevenths)
            classes.push_back((root + 6) % 7);
        return classes;
    }
    bool inChord(int degree, int root) const
    {
        const auto classes = chordClasses(root);
        return std::find(classes.begin(), classes.end(), degreeClass(degree)) != classes.end();
    }
    // The chord as a close voicing in the octave from `low` upwards: every
    // chord keeps to the same window, so the voices move by small steps.
    std::vector<int> voicing(int root, int low) const
    {
        std::vector<int> notes;
        for (int c : chordClasses(root))
            notes.push_back(low + ((pitch(c) - low) % 12 + 12) % 12);
        std::sort(notes.begin(), notes.end());
        return notes;
    }
    int bassPitch(int root, int offsetDegrees = 0) const
    {
        constexpr int kBassLow = 35;
        const int p = pitch(root + offsetDegrees);
        return kBassLow + ((p - kBassLow) % 12 + 12) % 12;
    }

private:
    const Style& s_;
};

// Builds the melody of one section phrase by phrase. Notes on strong beats
// and long notes are chord tones; the notes between move by step. Each phrase
// follows an arch and ends on a note that sounds like a question (third or
// fifth) or, for the second phrase, an answer (the root).
class MelodyWriter {
public:
    MelodyWriter(const Style& style, Rng& rng)
        : s_(style)
        , h_(style)
        , rng_(rng)
    {
    }

    std::vector<MelodyNote> section(const std::vector<int>& chords)
    {
        std::vector<MelodyNote> out;
        const Cell& a = pick(s_.cells);
        const Cell& b = pick(s_.cells);
        const Cell& endQuestion = pick(s_.endCells);
        const Cell& endAnswer = pick(s_.endCells);
        const int start = startDegree(chords.front());
        for (std::size_t first = 0; first + 4 <= chords.size(); first += 8) {
            phrase(out, chords, first, {a, b, a, endQuestion}, start, 3.5, {2, 4, 0});
            if (first + 8 <= chords.size())
                phrase(out, chords, first + 4, {a, b, pick(s_.cells), endAnswer}, start, 5.0, {0, 2, 4});
        }
        return out;
    }

    // The coda: a short lead-in that ends near the tonic, then the tonic held.
    std::vector<MelodyNote> coda(const std::vector<int>& chords, int finalLength)
    {
        std::vector<MelodyNote> out;
        std::vector<Cell> rhythm;
        for (std::size_t i = 0; i + 1 < chords.size(); ++i)
            rhythm.push_back(i + 2 < chords.size() ? pick(s_.cells) : pick(s_.endCells));
        phrase(out, chords, 0, rhythm, startDegree(chords.front()), 2.0, {1, 4, 6, 2});
        const int prev = out.empty() ? 0 : out.back().degree;
        const int tonic = 7 * floorDiv(prev + 3, 7);
        out.push_back({int(rhythm.size()) * barTicks(), finalLength, tonic, s_.melodyVelocity - 6});
        return out;
    }

private:
    int barTicks() const { return s_.beats * kPpq; }

    const Cell& pick(const std::vector<Cell>& cells) { return cells[std::size_t(rng_.below(int(cells.size())))]; }

    // Phrases start on the chord tone nearest the fourth degree above the
    // tonic, which leaves room above for the arch to rise.
    int startDegree(int root) const
    {
        int best = s_.melodyLow;
        for (int d = s_.melodyLow; d <= s_.melodyHigh; ++d)
            if (h_.inChord(d, root) && (!h_.inChord(best, root) || std::abs(d - 3) < std::abs(best - 3)))
                best = d;
        return best;
    }

    void phrase(std::vector<MelodyNote>& out, const std::vector<int>& chords, std::size_t firstBar,
                const std::vector<Cell>& rhythm, int start, double arch, const std::vector<int>& endClasses)
    {
        const int total = int(rhythm.size()) * barTicks();
        const int strongEvery = s_.beats == 3 ? 6 : 4;
        int notesLeft = 0;
        for (const Cell& cell : rhythm)
            notesLeft += int(std::count_if(cell.begin(), cell.end(), [](int v) { return v > 0; }));
        int prev = start;
        int beforePrev = start;
        for (std::size_t bar = 0; bar < rhythm.size(); ++bar) {
            const int root = chords[firstBar + bar];
            int eighth = 0;
            for (int value : rhythm[bar]) {
                const int onset = int(bar) * barTicks() + eighth * kEighth;
                eighth += std::abs(value);
                if (value < 0)
                    continue;
                const double progress = double(onset) / total;
                const bool strong = (eighth - value) % strongEvery == 0 || value >= 2;
                const int degree = --notesLeft == 0
                                       ? ending(prev, root, endClasses)
                                       : choose(prev, beforePrev, root, strong,
                                                start + arch * std::sin(kPi * std::min(1.0, progress * 1.15)));
                const int velocity =
                    s_.melodyVelocity + (strong ? 6 : 0) + int(8 * std::sin(kPi * progress)) - 4 + rng_.below(5) - 2;
                const int length = int(value * kEighth * s_.legato);
                out.push_back({int(firstBar) * barTicks() + onset, length, degree, velocity});
                beforePrev = prev;
                prev = degree;
            }
        }
    }

    // The cheapest next note: near the arch, by step rather than by leap, and
    // not straight back to the note before (which would make the line wobble).
    int choose(int prev, int beforePrev, int root, bool strong, double target)
    {
        int best = prev;
        double bestCost = 1e9;
        for (int d = s_.melodyLow; d <= s_.melodyHigh; ++d) {
            const int step = std::abs(d - prev);
            if (strong ? !h_.inChord(d, root) : step > 2)
                continue;
            const double leap = step == 0 ? 1.5 : step <= 2 ? 0.0 : step <= 4 ? 0.8 : 2.5 + 0.3 * step;
            const double back = d == beforePrev && d != prev ? 0.7 : 0.0;
            const double cost = 0.6 * std::abs(d - target) + leap + back + rng_.unit();
            if (cost < bestCost) {
                bestCost = cost;
                best = d;
            }
        }
        return best;
    }

    int ending(int prev, int root, const std::vector<int>& endClasses)
    {
        int best = prev;
        double bestCost = 1e9;
        for (int d = s_.melodyLow; d <= s_.melodyHigh; ++d) {
            const auto rank = std::find(endClasses.begin(), endClasses.end(), degreeClass(d));
            if (rank == endClasses.end() || !h_.inChord(d, root))
                continue;
            const double cost = 1.5 * double(rank - endClasses.begin()) + 0.6 * std::abs(d - prev);
            if (cost < bestCost) {
                bestCost = cost;
                best = d;
            }
        }
        return best;
    }

    const Style& s_;
    Harmony h_;
    Rng& rng_;
};

// Channels of a piece.
constexpr int kMelodyChannel = 0;
constexpr int kFirstLayerChannel = 1;  // layers use 1 and 2
constexpr int kBassChannel = 3;
constexpr int kDoubleChannel = 4;

// Lays one piece out bar by bar into a MIDI track.
class PieceWriter {
public:
    explicit PieceWriter(const Style& style)
        : s_(style)
        , h_(style)
        , rng_(style.seed)
    {
    }

    QByteArray write()
    {
        setUp();
        MelodyWriter melody(s_, rng_);
        const auto themeA = melody.section(s_.progA);
        const auto themeB = melody.section(s_.progB);

        std::vector<int> intro;
        intro.reserve(size_t(s_.introBars));
        for (int i = 0; i < s_.introBars; ++i)
            intro.push_back(s_.progA[std::size_t(i) % s_.progA.size()]);
        accompany(intro, s_.progA.front(), 0.88);
        section(s_.progA, s_.progB.front(), themeA, false);
        section(s_.progB, s_.progA.front(), themeB, false);
        section(s_.progA, s_.coda.front(), themeA, true);
        return codaAndEnd(melody);
    }

private:
    int barTicks() const { return s_.beats * kPpq; }

    void setUp()
    {
        track_.name(s_.title);
        track_.meter(s_.beats);
        track_.tempo(0, s_.bpm);
        channel(kMelodyChannel, s_.melodyProgram, 100, 64);
        for (std::size_t i = 0; i < s_.layers.size(); ++i)
            channel(kFirstLayerChannel + int(i), s_.layers[i].program, 90, s_.layers[i].pan);
        channel(kBassChannel, s_.bassProgram, 96, 60);
        if (s_.doubleProgram >= 0)
            channel(kDoubleChannel, s_.doubleProgram, 80, 76);
        if (s_.kit != Kit::None) {
            track_.control(kDrumChannel, 7, volume(100));
            track_.control(kDrumChannel, 91, s_.reverb / 2);
        }
    }

    int volume(int base) const { return int(std::lround(base * s_.level)); }

    void channel(int ch, int program, int baseVolume, int pan)
    {
        track_.program(ch, program);
        track_.control(ch, 7, volume(baseVolume));
        track_.control(ch, 10, pan);
        track_.control(ch, 91, s_.reverb);
        track_.control(ch, 93, s_.chorus);
    }

    void section(const std::vector<int>& chords, int following, const std::vector<MelodyNote>& theme, bool doubled)
    {
        const int start = now_;
        accompany(chords, following, 1.0);
        for (const MelodyNote& n : theme) {
            const int pitch = h_.pitch(n.degree);
            track_.note(kMelodyChannel, start + n.tick, n.length, pitch, n.velocity);
            if (doubled && s_.doubleProgram >= 0)
                track_.note(kDoubleChannel, start + n.tick, n.length, pitch + s_.doubleShift, n.velocity * 6 / 10);
        }
    }

    // `following` is the first chord after these bars, which a walking bass
    // leads into.
    void accompany(const std::vector<int>& chords, int following, double gain)
    {
        for (std::size_t i = 0; i < chords.size(); ++i)
            bar(chords[i], i + 1 < chords.size() ? chords[i + 1] : following, gain);
    }

    void bar(int root, int nextRoot, double gain)
    {
        for (std::size_t i = 0; i < s_.layers.size(); ++i)
            layerBar(kFirstLayerChannel + int(i), s_.layers[i], root, gain);
        bassBar(root, nextRoot, gain);
        drumBar(gain);
        now_ += barTicks();
        ++barCount_;
    }

    int vel(int base, double gain, int accent = 0)
    {
        return int(std::lround(base * gain)) + accent + rng_.below(5) - 2;
    }

    void layerBar(int ch, const Layer& layer, int root, double gain)
    {
        const auto v = h_.voicing(root, layer.low);
        const int bar = barTicks();
        const int eighths = s_.beats * 2;
        switch (layer.pattern) {
        case Accomp::Pad:
            for (int p : v)
                track_.note(ch, now_, bar - 10, p, vel(layer.velocity, gain));
            break;
        case Accomp::Alberti: {
            const int order[4] = {0, int(v.size()) - 1, 1, int(v.size()) - 1};
            for (int e = 0; e < eighths; ++e)
                track_.note(ch, now_ + e * kEighth, kEighth * 9 / 10, v[std::size_t(order[e % 4])],
                            vel(layer.velocity, gain, e % 2 == 0 ? 4 : -2));
            break;
        }
        case Accomp::Arpeggio:
        case Accomp::Harp: {
            std::vector<int> up = v;
            for (int p : v)
                up.push_back(p + 12);
            const int span = int(up.size());
            for (int e = 0; e < eighths; ++e) {
                // Up through two octaves, then back down, never repeating a key.
                const int cycle = 2 * (span - 1);
                const int k = e % cycle;
                const int pitch = up[std::size_t(k < span ? k : cycle - k)];
                const int length = layer.pattern == Accomp::Harp ? bar - e * kEighth : kEighth * 3 / 2;
                track_.note(ch, now_ + e * kEighth, length, pitch, vel(layer.velocity, gain, e == 0 ? 6 : 0));
            }
            break;
        }
        case Accomp::Strum: {
            const std::vector<int> hits = s_.beats == 3 ? std::vector<int>{0, 2, 4} : std::vector<int>{0, 3, 4, 6};
            for (std::size_t i = 0; i < hits.size(); ++i) {
                const int end = i + 1 < hits.size() ? hits[i + 1] : eighths;
                strum(ch, now_ + hits[i] * kEighth, (end - hits[i]) * kEighth, v,
                      vel(layer.velocity, gain, i == 0 ? 8 : 0), 14);
            }
            break;
        }
        case Accomp::Comp:
            strum(ch, now_, 3 * kEighth, v, vel(layer.velocity, gain, 4), 6);
            strum(ch, now_ + 3 * kEighth, (eighths - 3) * kEighth - 20, v, vel(layer.velocity, gain, -6), 6);
            break;
        }
    }

    void strum(int ch, int tick, int length, const std::vector<int>& notes, int velocity, int spread)
    {
        for (std::size_t i = 0; i < notes.size(); ++i)
            track_.note(ch, tick + int(i) * spread, length - int(i) * spread, notes[i], velocity - int(i));
    }

    void bassBar(int root, int nextRoot, double gain)
    {
        const int bar = barTicks();
        const int r = h_.bassPitch(root);
        const int v = s_.bassVelocity;
        switch (s_.bass) {
        case BassLine::Long: track_.note(kBassChannel, now_, bar - 20, r, vel(v, gain)); break;
        case BassLine::RootFifth:
            if (s_.beats == 3) {
                track_.note(kBassChannel, now_, bar - 20, r, vel(v, gain));
            } else {
                track_.note(kBassChannel, now_, bar / 2 - 20, r, vel(v, gain, 4));
                track_.note(kBassChannel, now_ + bar / 2, bar / 2 - 20, h_.bassPitch(root, 4), vel(v, gain));
            }
            break;
        case BassLine::Walk: {
            const int next = h_.bassPitch(nextRoot);
            const int approach = next + (barCount_ % 2 == 0 ? -1 : 1);
            const int walk[4] = {r, h_.bassPitch(root, 2), h_.bassPitch(root, 4), approach};
            for (int b = 0; b < s_.beats; ++b)
                track_.note(kBassChannel, now_ + b * kPpq, kPpq * 85 / 100, walk[b], vel(v, gain, b == 0 ? 5 : 0));
            break;
        }
        case BassLine::Pulse:
            for (int e = 0; e < s_.beats * 2; ++e) {
                const int pitch = e % 4 == 2 ? r + 12 : r;
                track_.note(kBassChannel, now_ + e * kEighth, kEighth * 7 / 10, pitch, vel(v, gain, e == 0 ? 8 : 0));
            }
            break;
        }
    }

    void hit(int eighth, int key, int velocity)
    {
        track_.note(kDrumChannel, now_ + eighth * kEighth, kEighth / 2, key, velocity);
    }

    void drumBar(double gain)
    {
        const int eighths = s_.beats * 2;
        switch (s_.kit) {
        case Kit::None: break;
        case Kit::Shaker:
            for (int e = 0; e < eighths; ++e)
                hit(e, 70, vel(e % 2 ? 44 : 58, gain));
            hit(2, 54, vel(58, gain));
            hit(6, 54, vel(58, gain));
            hit(0, 36, vel(76, gain));
            break;
        case Kit::Brushes:
            for (int b = 0; b < 4; ++b)
                hit(2 * b, 51, vel(60, gain, b == 0 ? 6 : 0));
            for (int e = 1; e < eighths; e += 2)
                hit(e, 42, vel(40, gain));
            hit(2, 37, vel(70, gain));
            hit(6, 37, vel(70, gain));
            hit(0, 36, vel(70, gain));
            hit(5, 36, vel(52, gain));
            break;
        case Kit::Machine:
            for (int e = 0; e < eighths; ++e)
                hit(e, 42, vel(e % 2 ? 46 : 64, gain));
            hit(0, 36, vel(90, gain));
            hit(4, 36, vel(82, gain));
            hit(2, 37, vel(70, gain));
            hit(6, 39, vel(64, gain));
            hit(3, 53, vel(56, gain));
            hit(7, 53, vel(50, gain));
            if (barCount_ % 4 == 3)
                hit(7, 46, vel(50, gain));
            break;
        }
    }

    // The coda slows down over its bars and ends on a held tonic chord, with
    // room after it for the sound to die away before the file ends.
    QByteArray codaAndEnd(MelodyWriter& melody)
    {
        const int start = now_;
        const int finalLength = barTicks() + kPpq;
        const auto tune = melody.coda(s_.coda, finalLength);
        for (std::size_t i = 0; i + 1 < s_.coda.size(); ++i) {
            track_.tempo(now_, s_.bpm * (0.97 - 0.05 * double(i)));
            bar(s_.coda[i], s_.coda[i + 1], 0.95);
        }
        track_.tempo(now_, s_.bpm * 0.85);
        finalChord(finalLength);
        for (const MelodyNote& n : tune)
            track_.note(kMelodyChannel, start + n.tick, n.length, h_.pitch(n.degree), n.velocity);
        return track_.file(now_ + finalLength + kPpq);
    }

    void finalChord(int length)
    {
        const int root = s_.coda.back();
        for (std::size_t i = 0; i < s_.layers.size(); ++i) {
            const Layer& layer = s_.layers[i];
            const int spread = layer.pattern == Accomp::Pad ? 0 : 40;
            strum(kFirstLayerChannel + int(i), now_, length, h_.voicing(root, layer.low), vel(layer.velocity, 0.95),
                  spread);
        }
        track_.note(kBassChannel, now_, length, h_.bassPitch(root), vel(s_.bassVelocity, 0.95));
        if (s_.kit != Kit::None)
            hit(0, 36, 70);
    }

    const Style& s_;
    Harmony h_;
    Rng rng_;
    MidiTrack track_;
    int now_ = 0;
    int barCount_ = 0;
};

// General MIDI program numbers (0-based) used below.
enum Gm {
    Piano = 0,
    EPiano1 = 4,
    EPiano2 = 5,
    Glockenspiel = 9,
    Vibraphone = 11,
    Marimba = 12,
    NylonGuitar = 24,
    JazzGuitar = 26,
    AcousticBass = 32,
    FingerBass = 33,
    SynthBass1 = 38,
    SynthBass2 = 39,
    Violin = 40,
    Cello = 42,
    Contrabass = 43,
    Harp = 46,
    Strings = 48,
    SlowStrings = 49,
    SynthStrings = 50,
    Flute = 73,
    SquareLead = 80,
    CalliopeLead = 82,
    SweepPad = 95,
    Crystal = 98,
    SteelDrums = 114,
};

const std::vector<Style>& styles()
{
    static const std::vector<Style> all{
        // A graceful, classical theme: flute over an Alberti piano, strings and cello.
        {"classic",
         92,
         4,
         67,
         kMajor,
         false,
         {0, 4, 5, 2, 3, 0, 3, 4},
         {3, 4, 2, 5, 1, 4, 0, 4},
         {3, 4, 0},
         2,
         -3,
         9,
         Flute,
         74,
         0.9,
         Violin,
         -12,
         {{Accomp::Alberti, Piano, 55, 60, 50}, {Accomp::Pad, Strings, 50, 46, 80}},
         Cello,
         BassLine::RootFifth,
         68,
         Kit::None,
         {{2, 1, 1, 2, 2}, {1, 1, 1, 1, 2, 2}, {3, 1, 2, 2}, {2, 2, 2, 2}, {2, 2, 1, 1, 2}},
         {{2, 2, 4}, {3, 1, 4}, {4, 4}},
         50,
         0,
         1.04,
         11},
        // Slowly sweeping synthesizer pads in a dorian mode, a soft electric
        // piano arpeggio and a sparse, breathy lead.
        {"filter",
         96,
         4,
         69,
         kDorian,
         true,
         {0, 3, 6, 0, 2, 6, 3, 3},
         {2, 3, 4, 0, 2, 3, 6, 4},
         {6, 3, 0},
         4,
         -3,
         8,
         CalliopeLead,
         72,
         0.98,
         Crystal,
         12,
         {{Accomp::Pad, SweepPad, 52, 55, 40}, {Accomp::Arpeggio, EPiano2, 57, 44, 90}},
         SynthBass1,
         BassLine::RootFifth,
         62,
         Kit::None,
         {{4, 4}, {2, 2, 4}, {6, 2}, {-2, 2, 4}, {3, 3, 2}},
         {{8}, {4, -4}},
         80,
         50,
         0.54,
         23},
        // A cheerful holiday tune: marimba, strummed nylon guitar, shaker and
        // tambourine, with a glockenspiel joining in the reprise.
        {"holyday",
         108,
         4,
         65,
         kMajor,
         false,
         {0, 5, 3, 4, 0, 5, 1, 4},
         {3, 4, 2, 5, 3, 4, 0, 4},
         {3, 4, 0},
         2,
         -2,
         9,
         Marimba,
         86,
         0.85,
         Glockenspiel,
         12,
         {{Accomp::Strum, NylonGuitar, 53, 50, 45}},
         AcousticBass,
         BassLine::RootFifth,
         70,
         Kit::Shaker,
         {{3, 1, 2, 2}, {1, 1, 2, 1, 1, 2}, {2, 1, 1, 2, 2}, {3, 1, 3, 1}, {2, 2, 1, 1, 2}},
         {{2, 2, 4}, {3, 1, 4}},
         45,
         20,
         1.11,
         37},
        // A steady machine pulse in a minor key: a pulsing synth bass, soft drum
        // machine, synth strings and a clipped square-wave lead.
        {"industrial",
         100,
         4,
         64,
         kMinor,
         false,
         {0, 5, 2, 6, 0, 5, 3, 4},
         {3, 0, 5, 6, 3, 5, 6, 6},
         {5, 6, 0},
         4,
         -2,
         7,
         SquareLead,
         70,
         0.7,
         SteelDrums,
         0,
         {{Accomp::Pad, SynthStrings, 52, 48, 70}},
         SynthBass2,
         BassLine::Pulse,
         62,
         Kit::Machine,
         {{1, 1, 2, -2, 2}, {2, 2, -2, 2}, {1, 1, 1, 1, -2, 2}, {2, -1, 1, 2, 2}, {3, 1, -2, 2}},
         {{2, 2, -4}, {4, -4}},
         55,
         10,
         0.69,
         41},
        // Light easy listening: vibraphone over electric piano seventh chords,
        // a walking bass and brushed drums.
        {"lite",
         104,
         4,
         62,
         kMajor,
         true,
         {0, 5, 1, 4, 2, 5, 1, 4},
         {3, 2, 1, 5, 3, 2, 1, 4},
         {1, 4, 0},
         2,
         2,
         12,
         Vibraphone,
         98,
         0.85,
         JazzGuitar,
         -12,
         {{Accomp::Comp, EPiano1, 53, 42, 40}},
         FingerBass,
         BassLine::Walk,
         56,
         Kit::Brushes,
         {{3, 3, 2}, {2, 1, 2, 1, 2}, {-1, 1, 1, 2, 3}, {1, 2, 1, 2, 2}, {2, 2, 3, 1}},
         {{3, 5}, {2, 6}},
         45,
         30,
         1.20,
         53},
        // A slow waltz: piano melody over harp arpeggios and soft strings.
        {"slow",
         68,
         3,
         63,
         kMajor,
         false,
         {0, 2, 3, 0, 5, 1, 4, 4},
         {3, 0, 5, 2, 1, 3, 4, 4},
         {3, 4, 0},
         2,
         -3,
         9,
         Piano,
         104,
         0.97,
         Strings,
         0,
         {{Accomp::Harp, Harp, 51, 48, 40}, {Accomp::Pad, SlowStrings, 48, 40, 85}},
         Contrabass,
         BassLine::Long,
         50,
         Kit::None,
         {{4, 2}, {2, 2, 2}, {3, 1, 2}, {2, 4}, {2, 1, 1, 2}},
         {{6}, {2, 4}},
         70,
         20,
         1.27,
         67},
    };
    return all;
}

}  // namespace

QByteArray SoundSynth::clickWav(int which)
{
    const std::vector<Tone> tones = clickTones(which);
    if (tones.empty())
        return {};
    double end = 0;
    for (const Tone& t : tones)
        end = std::max(end, t.start + t.length);
    std::vector<double> samples(std::size_t(std::ceil((end + 0.01) * kWavRate)), 0.0);
    for (const Tone& t : tones)
        addTone(samples, t);
    return wavFile(samples);
}

QByteArray SoundSynth::midiPiece(int which)
{
    if (which < 0 || which >= int(styles().size()))
        return {};
    return PieceWriter(styles()[std::size_t(which)]).write();
}

QStringList SoundSynth::clickFileNames()
{
    return {QStringLiteral("Pi!.wav"), QStringLiteral("Pipi.wav"), QStringLiteral("Tyui.wav")};
}

QStringList SoundSynth::midiFileNames()
{
    return {QStringLiteral("classic.mid"),    QStringLiteral("filter.mid"), QStringLiteral("holyday.mid"),
            QStringLiteral("industrial.mid"), QStringLiteral("lite.mid"),   QStringLiteral("slow.mid")};
}
