#include "dsp.h"

#include <algorithm>

namespace zelFramework::music {

float Oscillator::blep(float t, float dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

float Oscillator::saw(float hz)
{
    float dt = hz / kSampleRate;
    float value = 2.0f * phase - 1.0f - blep(phase, dt);
    phase += dt;
    phase -= std::floor(phase);
    return value;
}

float Oscillator::square(float hz, float width)
{
    float dt = hz / kSampleRate;
    float value = phase < width ? 1.0f : -1.0f;
    value += blep(phase, dt);
    float shifted = phase + (1.0f - width);
    shifted -= std::floor(shifted);
    value -= blep(shifted, dt);
    phase += dt;
    phase -= std::floor(phase);
    return value;
}

float Oscillator::sine(float hz)
{
    float value = std::sin(2.0f * kPi * phase);
    phase += hz / kSampleRate;
    phase -= std::floor(phase);
    return value;
}

Svf::Out Svf::process(float x, float cutoffHz, float resonance)
{
    float cutoff = std::clamp(cutoffHz, 20.0f, kSampleRate * 0.45f);
    if (std::fabs(cutoff - cachedCutoff) > cachedCutoff * 0.002f) {
        cachedCutoff = cutoff;
        cachedG = std::tan(kPi * cutoff / kSampleRate);
    }
    float g = cachedG;
    float k = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.98f);
    float a1 = 1.0f / (1.0f + g * (g + k));
    float a2 = g * a1, a3 = g * a2;
    float v3 = x - ic2;
    float v1 = a1 * ic1 + a2 * v3;
    float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    return {v2, v1, x - k * v1 - v2};
}

float adsr(float t, float hold, float attack, float decay, float sustain, float release)
{
    if (t < 0)
        return 0;
    auto held = [&](float u) {
        if (u < attack)
            return u / attack;
        u -= attack;
        return sustain + (1.0f - sustain) * std::exp(-u / std::max(decay, 1e-4f));
    };
    if (t < hold)
        return held(t);
    return held(hold) * std::exp(-(t - hold) / std::max(release, 1e-4f));
}

Reverb::Reverb(float roomSize, float damping) : feedback_(roomSize), damping_(damping)
{
    // Classic Freeverb tunings at 44.1 kHz; the right side is spread by 23 samples.
    const int combTuning[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    const int allPassTuning[4] = {556, 441, 341, 225};
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < 8; ++i)
            combs_[side][i].buffer.assign(combTuning[i] + side * 23, 0.0f);
        for (int i = 0; i < 4; ++i)
            allPasses_[side][i].buffer.assign(allPassTuning[i] + side * 23, 0.0f);
    }
}

void Reverb::process(float input, float& left, float& right)
{
    float out[2] = {0, 0};
    for (int side = 0; side < 2; ++side) {
        for (Comb& c : combs_[side]) {
            float y = c.buffer[c.pos];
            c.store = y * (1 - damping_) + c.store * damping_;
            c.buffer[c.pos] = input + c.store * feedback_;
            c.pos = (c.pos + 1) % c.buffer.size();
            out[side] += y;
        }
        for (AllPass& a : allPasses_[side]) {
            float b = a.buffer[a.pos];
            a.buffer[a.pos] = out[side] + b * 0.5f;
            out[side] = b - out[side];
            a.pos = (a.pos + 1) % a.buffer.size();
        }
    }
    left = out[0] * 0.06f;
    right = out[1] * 0.06f;
}

}  // namespace zelFramework::music
