#pragma once
// Small sound-synthesis building blocks: oscillators, a state-variable filter, envelopes, noise and a
// reverb. Everything is plain float arithmetic with no hidden state, so a render is reproducible.
#include <cmath>
#include <cstdint>
#include <vector>

namespace zelFramework::music {

constexpr int kSampleRate = 44100;
constexpr float kPi = 3.14159265358979f;

inline float midiToHz(float note) { return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f); }

// Deterministic white noise (xorshift32), values in [-1, 1).
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed ? seed : 1u) {}
    float next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state >> 8) / static_cast<float>(1u << 23) - 1.0f;
    }
};

// Band-limited sawtooth and square by polyBLEP, so high notes do not alias into noise.
struct Oscillator {
    float phase = 0;  // 0..1
    static float blep(float t, float dt);
    float saw(float hz);
    float square(float hz, float width = 0.5f);
    float sine(float hz);
};

// Topology-preserving state-variable filter (trapezoidal integration): stable under fast sweeps.
struct Svf {
    float ic1 = 0, ic2 = 0;
    float cachedCutoff = -1, cachedG = 0;  // tan() is the costly part; slow sweeps reuse it
    struct Out {
        float low, band, high;
    };
    Out process(float x, float cutoffHz, float resonance);  // resonance 0 (none) .. ~0.95
};

// Attack-decay-sustain-release amplitude for a note held `holdSeconds`, evaluated at time t after onset.
float adsr(float t, float holdSeconds, float attack, float decay, float sustain, float release);
// Exponential decay exp(-t / tau), zero before the onset.
inline float decayEnv(float t, float tau) { return t < 0 ? 0.0f : std::exp(-t / tau); }

// Freeverb-style stereo reverb: eight combs and four all-passes per side.
class Reverb {
public:
    explicit Reverb(float roomSize = 0.84f, float damping = 0.3f);
    void process(float input, float& left, float& right);

private:
    struct Comb {
        std::vector<float> buffer;
        size_t pos = 0;
        float store = 0;
    };
    struct AllPass {
        std::vector<float> buffer;
        size_t pos = 0;
    };
    float feedback_, damping_;
    Comb combs_[2][8];
    AllPass allPasses_[2][4];
};

}  // namespace zelFramework::music
