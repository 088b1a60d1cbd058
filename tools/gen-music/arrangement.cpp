#include "arrangement.h"

#include <algorithm>
#include <cmath>

#include "instruments.h"
#include "song_map.h"

namespace zelFramework::music {

namespace {

long firstBeatAtOrAfter(double t, double stepBeats)
{
    return static_cast<long>(std::ceil(t / (kBeat * stepBeats) - 1e-9));
}

// Calls fn(t, k) on the tempo grid at every `stepBeats` beats with from <= t < to (k = grid index).
template <typename Fn>
void eachStep(double from, double to, double stepBeats, Fn fn)
{
    for (long k = firstBeatAtOrAfter(from, stepBeats);; ++k) {
        double t = k * stepBeats * kBeat;
        if (t >= to)
            break;
        fn(t, k);
    }
}

float ramp(double t, double from, double to, float a, float b)
{
    double p = std::clamp((t - from) / (to - from), 0.0, 1.0);
    return static_cast<float>(a + (b - a) * p);
}

struct Groove {
    bool kick = true, snare = true, hats = true, bass = true, pad = true, lead = false;
    float bassBrightness = 0.6f, padBrightness = 0.4f, level = 1.0f;
};

// One lead phrase of eight bars: (beat, note, length in beats).
struct LeadNote {
    float beat, note, length;
};
const LeadNote kLeadPhrase[] = {
    {0, 72, 1.5f},  {1.5f, 75, 1},  {2.5f, 77, 1.5f}, {4, 80, 2},     {6, 79, 1},      {7, 77, 1},
    {8, 77, 1.5f},  {9.5f, 73, 1},  {10.5f, 75, 1.5f}, {12, 77, 3},   {15, 72, 1},     {16, 72, 1.5f},
    {17.5f, 75, 1}, {18.5f, 80, 1.5f}, {20, 84, 2},   {22, 82, 1},    {23, 80, 1},     {24, 79, 1.5f},
    {25.5f, 77, 1}, {26.5f, 75, 1.5f}, {28, 77, 4},
};

void playGroove(Mix& mix, double from, double to, const Groove& g)
{
    // Drums, one bar at a time: kick on 1 and the "and" of 3, snare on 2 and 4, offbeat-accented eighths.
    eachStep(from, to, 1.0, [&](double t, long beat) {
        int inBar = static_cast<int>(beat % 4);
        unsigned seed = static_cast<unsigned>(beat);
        if (g.kick && inBar == 0)
            kick(mix, t, 0.95f * g.level);
        if (g.kick && inBar == 2 && t + 0.5 * kBeat < to)
            kick(mix, t + 0.5 * kBeat, 0.85f * g.level);
        if (g.snare && (inBar == 1 || inBar == 3))
            snare(mix, t, 0.65f * g.level, seed);
        if (g.snare && inBar == 3 && beat % 16 == 15 && t + 0.75 * kBeat < to)
            snare(mix, t + 0.75 * kBeat, 0.3f * g.level, seed + 1);  // ghost note into the next phrase
        if (g.hats) {
            hat(mix, t, 0.12f * g.level, false, seed);
            if (t + 0.5 * kBeat < to)
                hat(mix, t + 0.5 * kBeat, 0.2f * g.level, inBar == 1, seed + 7);
        }
    });
    // Bass: root on 1 (held), a push on the "a" of 2, root on the "and" of 3, octave on the "and" of 4.
    if (g.bass)
        eachStep(from, to, 4.0, [&](double t, long bar) {
            float root = chordRoot(drivingChordAt(bar * 4));
            const struct {
                float beat, length, interval;
            } steps[] = {{0, 1.5f, 0}, {1.75f, 0.25f, 0}, {2.5f, 0.9f, 0}, {3.5f, 0.45f, 12}};
            for (const auto& s : steps)
                if (t + s.beat * kBeat < to)
                    bass(mix, t + s.beat * kBeat, s.length * kBeat, root + s.interval, 0.38f * g.level, g.bassBrightness);
        });
    if (g.pad)
        eachStep(from, to, 8.0, [&](double t, long phrase) {
            double length = std::min(8 * kBeat, to - t);
            pad(mix, t, length, chordVoicing(drivingChordAt(phrase * 8)), 0.035f * g.level, g.padBrightness);
        });
    if (g.lead)
        eachStep(from, to, 32.0, [&](double t, long) {
            for (const LeadNote& n : kLeadPhrase) {
                double at = t + n.beat * kBeat;
                if (at >= to)
                    break;
                lead(mix, at, n.length * kBeat * 0.9, n.note, 0.16f * g.level, 0.15f);
                // A dotted-eighth echo on the other side.
                lead(mix, at + 0.75 * kBeat, n.length * kBeat * 0.6, n.note, 0.05f * g.level, -0.5f);
            }
        });
}

void calmIntro(Mix& mix)
{
    // Slow chords, four bars each, opening up towards the end.
    eachStep(0, cue::introEnd, 16.0, [&](double t, long k) {
        pad(mix, t, 16 * kBeat, chordVoicing(static_cast<int>(k % 4)), 0.035f, ramp(t, 0, cue::introEnd, 0.05f, 0.55f));
    });
    // Bells arpeggiate the chord from the second phrase on.
    eachStep(16 * kBeat, cue::introEnd, 1.0, [&](double t, long beat) {
        const auto& chord = chordVoicing(static_cast<int>((beat / 16) % 4));
        static const int order[6] = {0, 1, 2, 3, 2, 1};
        float note = chord[order[beat % 6]] + 12;
        bell(mix, t, note, 0.075f, (beat % 2) ? 0.4f : -0.4f);
    });
    // A pulse of sub bass, then ticking hats, as the crowd gathers.
    eachStep(64 * kBeat, cue::introEnd, 4.0, [&](double t, long bar) {
        bass(mix, t, 3.5 * kBeat, chordRoot(static_cast<int>((bar / 4) % 4)), 0.22f, 0.05f);
    });
    eachStep(80 * kBeat, cue::introEnd, 0.5, [&](double t, long k) {
        hat(mix, t, (k % 2) ? 0.06f : 0.035f, false, static_cast<unsigned>(k));
    });
    riser(mix, 30.0, cue::introEnd, 0.3f, 1);
}

void riseIntoArena(Mix& mix)
{
    crash(mix, cue::introEnd, 0.45f, 2);
    pad(mix, cue::introEnd, cue::stadium - cue::introEnd, chordVoicing(3), 0.045f, 0.7f);
    eachStep(cue::introEnd, cue::stadium, 1.0, [&](double t, long) { kick(mix, t, 0.75f); });
    // Snare roll that doubles its speed half way and swells.
    double half = (cue::introEnd + cue::stadium) / 2;
    eachStep(cue::introEnd, half, 0.5, [&](double t, long k) {
        snare(mix, t, ramp(t, cue::introEnd, cue::stadium, 0.15f, 0.6f), static_cast<unsigned>(k));
    });
    eachStep(half, cue::stadium - 0.05, 0.25, [&](double t, long k) {
        snare(mix, t, ramp(t, cue::introEnd, cue::stadium, 0.15f, 0.6f), static_cast<unsigned>(k));
    });
    riser(mix, cue::introEnd, cue::stadium, 0.45f, 3);
}

void stadium(Mix& mix)
{
    impact(mix, cue::stadium, 1.0f, 4);
    Groove full;
    playGroove(mix, cue::stadium, 76.916, full);
    // The feature titles: each cut lands on a crash.
    for (double t : featureCuts())
        crash(mix, t, 0.4f, static_cast<unsigned>(t));
    Groove withLead = full;
    withLead.lead = true;
    withLead.padBrightness = 0.55f;
    crash(mix, 76.916, 0.5f, 5);
    playGroove(mix, 76.916, cue::lightsOut, withLead);
    // The lights go out: the kick leaves, the pads open up.
    Groove dimmed;
    dimmed.kick = false;
    dimmed.snare = false;
    dimmed.padBrightness = 0.8f;
    dimmed.level = 0.85f;
    playGroove(mix, cue::lightsOut, cue::buildUp, dimmed);
}

void buildUp(Mix& mix)
{
    crash(mix, cue::buildUp, 0.45f, 6);
    double stop = cue::drop - 1.0 * kBeat;  // a breath before the drop
    eachStep(cue::buildUp, stop, 8.0, [&](double t, long phrase) {
        pad(mix, t, std::min(8 * kBeat, stop - t), chordVoicing(drivingChordAt(phrase * 8)), 0.045f,
            ramp(t, cue::buildUp, stop, 0.4f, 1.0f));
    });
    // Snare build, counted back from the drop: quarters, eighths, sixteenths, then thirty-seconds.
    struct Stage {
        double beatsBefore, step;
    };
    const Stage stages[] = {{34, 1.0}, {16, 0.5}, {8, 0.25}, {2.5, 0.125}};
    for (size_t s = 0; s < 4; ++s) {
        double from = std::max(cue::drop - stages[s].beatsBefore * kBeat, cue::buildUp);
        double to = s + 1 < 4 ? cue::drop - stages[s + 1].beatsBefore * kBeat : stop;
        eachStep(from, to, stages[s].step, [&](double t, long k) {
            snare(mix, t, ramp(t, cue::buildUp, stop, 0.18f, 0.7f), static_cast<unsigned>(k));
        });
    }
    eachStep(cue::drop - 16 * kBeat, stop, 1.0, [&](double t, long) { kick(mix, t, 0.7f); });
    for (double t : buildUpSlideChanges())
        crash(mix, t, 0.25f, static_cast<unsigned>(t * 10));
    riser(mix, cue::buildUp + 3.5, stop, 0.5f, 7);
}

void dropAndTunnel(Mix& mix)
{
    impact(mix, cue::drop, 1.1f, 8);
    Groove heavy;
    heavy.bassBrightness = 1.0f;
    heavy.padBrightness = 0.6f;
    heavy.lead = true;
    playGroove(mix, cue::drop, cue::tunnelRun, heavy);
    crash(mix, cue::tunnelRun, 0.6f, 9);
    Groove tunnel = heavy;
    tunnel.lead = false;
    tunnel.padBrightness = 0.8f;
    playGroove(mix, cue::tunnelRun, cue::flashes, tunnel);
    playGroove(mix, cue::flashes, cue::endScreen, heavy);
    // Every flash of the tunnel lights is a hit.
    unsigned seed = 100;
    for (double t : tunnelFlashTimes())
        impact(mix, t, 0.75f, seed++);
}

void outro(Mix& mix)
{
    impact(mix, cue::endScreen, 1.0f, 200);
    double beatsEnd = cue::endScreen + 16 * kBeat;  // four bars of beat under the end screen
    Groove fading;
    fading.snare = false;
    fading.bassBrightness = 0.3f;
    fading.padBrightness = 0.5f;
    fading.level = 0.7f;
    playGroove(mix, cue::endScreen, beatsEnd, fading);
    // Long closing chords, the last one (F minor) ringing out before the end.
    const int closing[] = {1, 2, 3, 0};
    double t = beatsEnd;
    for (int i = 0; i < 4; ++i) {
        double length = i < 3 ? 8 * kBeat : 10 * kBeat;
        pad(mix, t, length, chordVoicing(closing[i]), 0.05f, 0.45f - 0.1f * i);
        bell(mix, t, chordVoicing(closing[i])[3] + 12, 0.06f, i % 2 ? 0.3f : -0.3f);
        t += 8 * kBeat;
    }
}

}  // namespace

const std::vector<float>& chordVoicing(int chord)
{
    static const std::vector<float> voicings[4] = {
        {53, 56, 60, 65},  // F minor
        {49, 56, 61, 65},  // D flat
        {51, 56, 60, 63},  // A flat
        {51, 55, 58, 63},  // E flat
    };
    return voicings[((chord % 4) + 4) % 4];
}

float chordRoot(int chord)
{
    static const float roots[4] = {41, 37, 44, 39};
    return roots[((chord % 4) + 4) % 4];
}

int drivingChordAt(long beat) { return static_cast<int>((beat / 8 + 3) % 4); }

void composeSoundtrack(Mix& mix)
{
    calmIntro(mix);
    riseIntoArena(mix);
    stadium(mix);
    buildUp(mix);
    dropAndTunnel(mix);
    outro(mix);
    finishMix(mix, 0.8f);  // about -2 dBFS: room for the encoder's overshoot
}

}  // namespace zelFramework::music
