#include "instruments.h"

#include <algorithm>
#include <cmath>

namespace zelFramework::music {

namespace {

// Calls body(i, u) for every sample index i from time t for `length` seconds, u = seconds since t.
template <typename Body>
void render(Mix& mix, double t, double length, Body body)
{
    size_t first = Mix::sampleAt(t);
    size_t count = static_cast<size_t>(length * kSampleRate);
    for (size_t k = 0; k < count && first + k < mix.size(); ++k)
        body(first + k, static_cast<float>(k) / kSampleRate);
}

}  // namespace

void kick(Mix& mix, double t, float gain)
{
    Oscillator osc;
    Noise noise(12345);
    render(mix, t, 0.45, [&](size_t i, float u) {
        float hz = 46.0f + 120.0f * std::exp(-u / 0.028f);
        float body = osc.sine(hz) * std::exp(-u / 0.17f);
        float click = noise.next() * std::exp(-u / 0.002f) * 0.35f;
        mix.add(i, (body + click) * gain, 0.0f, 0.03f);
    });
}

void snare(Mix& mix, double t, float gain, unsigned seed)
{
    Oscillator tone;
    Noise noise(seed * 7919u + 17u);
    Svf filter;
    render(mix, t, 0.4, [&](size_t i, float u) {
        float body = tone.sine(190.0f - 30.0f * u) * std::exp(-u / 0.045f) * 0.55f;
        auto f = filter.process(noise.next(), 3200.0f, 0.2f);
        float rattle = (f.band * 1.4f + f.high * 0.5f) * std::exp(-u / 0.11f);
        mix.add(i, (body + rattle) * gain, 0.05f, 0.22f);
    });
}

void hat(Mix& mix, double t, float gain, bool open, unsigned seed)
{
    Noise noise(seed * 104729u + 3u);
    Svf filter;
    float tau = open ? 0.16f : 0.028f;
    float pan = (seed % 2) ? 0.3f : -0.2f;
    render(mix, t, open ? 0.6 : 0.12, [&](size_t i, float u) {
        auto f = filter.process(noise.next(), 8200.0f, 0.1f);
        mix.add(i, f.high * std::exp(-u / tau) * gain, pan, 0.08f);
    });
}

void crash(Mix& mix, double t, float gain, unsigned seed)
{
    for (int side = 0; side < 2; ++side) {
        Noise noise(seed * 31u + side * 977u + 5u);
        Svf filter;
        render(mix, t, 3.0, [&](size_t i, float u) {
            auto f = filter.process(noise.next(), 5200.0f, 0.15f);
            float env = std::exp(-u / 0.9f) * (1.0f - std::exp(-u / 0.002f));
            mix.add(i, (f.high * 0.8f + f.band * 0.4f) * env * gain, side ? 0.6f : -0.6f, 0.35f);
        });
    }
}

void impact(Mix& mix, double t, float gain, unsigned seed)
{
    Oscillator boom;
    render(mix, t, 1.2, [&](size_t i, float u) {
        float hz = 38.0f + 70.0f * std::exp(-u / 0.06f);
        mix.add(i, boom.sine(hz) * std::exp(-u / 0.45f) * gain * 0.9f, 0.0f, 0.1f);
    });
    snare(mix, t, gain * 0.9f, seed);
    crash(mix, t, gain * 0.55f, seed + 1);
}

void riser(Mix& mix, double t0, double t1, float gain, unsigned seed)
{
    Noise noise(seed * 65537u + 11u);
    Svf filter;
    double length = t1 - t0;
    render(mix, t0, length, [&](size_t i, float u) {
        float p = static_cast<float>(u / length);
        float cutoff = 250.0f * std::pow(40.0f, p);
        auto f = filter.process(noise.next(), cutoff, 0.6f);
        mix.add(i, f.band * p * p * gain, std::sin(u * 3.0f) * 0.5f, 0.5f);
    });
}

void bass(Mix& mix, double t, double length, float note, float gain, float brightness)
{
    Oscillator a, b, sub;
    Svf filter;
    float hz = midiToHz(note);
    render(mix, t, length + 0.08, [&](size_t i, float u) {
        float env = adsr(u, static_cast<float>(length), 0.004f, 0.25f, 0.75f, 0.03f);
        float saws = a.saw(hz * 1.006f) + b.saw(hz * 0.994f);
        float cutoff = 120.0f + brightness * (300.0f + 1800.0f * std::exp(-u / 0.12f));
        auto f = filter.process(saws * 0.5f, cutoff, 0.35f);
        float low = sub.sine(hz * 0.5f) * 0.9f;
        mix.add(i, (f.low + low) * env * gain, 0.0f, 0.02f);
    });
}

void pad(Mix& mix, double t, double length, const std::vector<float>& notes, float gain, float brightness)
{
    const float detune[3] = {-0.09f, 0.0f, 0.11f};
    for (size_t n = 0; n < notes.size(); ++n)
        for (int v = 0; v < 3; ++v) {
            Oscillator osc;
            osc.phase = 0.13f * v + 0.29f * n;  // spread start phases so voices do not cancel
            Svf filter;
            float hz = midiToHz(notes[n] + detune[v]);
            float pan = (static_cast<float>(n) / std::max<size_t>(notes.size() - 1, 1) - 0.5f) * 1.2f + (v - 1) * 0.2f;
            // Pads move slowly: envelope and filter sweep are updated at a control rate of 1/16 sample.
            float env = 0, cutoff = 0;
            size_t step = 0;
            render(mix, t, length + 2.0, [&](size_t i, float u) {
                if (step++ % 16 == 0) {
                    env = adsr(u, static_cast<float>(length), 0.7f, 1.0f, 0.85f, 0.9f);
                    cutoff = 500.0f + 2200.0f * brightness + 300.0f * std::sin(u * 0.7f + n);
                }
                auto f = filter.process(osc.saw(hz), cutoff, 0.1f);
                mix.add(i, f.low * env * gain, pan, 0.55f);
            });
        }
}

void lead(Mix& mix, double t, double length, float note, float gain, float pan)
{
    Oscillator a, b;
    Svf filter;
    float hz = midiToHz(note);
    render(mix, t, length + 0.4, [&](size_t i, float u) {
        float vibrato = u > 0.18f ? std::sin(u * 2 * kPi * 5.5f) * 0.004f * std::min((u - 0.18f) * 4, 1.0f) : 0.0f;
        float f0 = hz * (1.0f + vibrato);
        float tone = a.saw(f0) * 0.6f + b.square(f0 * 1.003f, 0.4f) * 0.4f;
        float env = adsr(u, static_cast<float>(length), 0.01f, 0.3f, 0.7f, 0.15f);
        auto f = filter.process(tone, 900.0f + 3200.0f * std::exp(-u / 0.25f), 0.3f);
        mix.add(i, f.low * env * gain, pan, 0.35f);
    });
}

void bell(Mix& mix, double t, float note, float gain, float pan)
{
    Oscillator carrier, modulator;
    float hz = midiToHz(note);
    render(mix, t, 2.5, [&](size_t i, float u) {
        float index = 2.2f * std::exp(-u / 0.35f);
        float m = modulator.sine(hz * 3.5f) * index;
        // Phase modulation: nudge the carrier's phase by the modulator.
        float value = std::sin(2 * kPi * carrier.phase + m);
        carrier.phase += hz / kSampleRate;
        carrier.phase -= std::floor(carrier.phase);
        mix.add(i, value * std::exp(-u / 0.9f) * gain, pan, 0.6f);
    });
}

}  // namespace zelFramework::music
