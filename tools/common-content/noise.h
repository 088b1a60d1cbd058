#pragma once
// Deterministic randomness for generated content: the same seed gives the same picture everywhere.
#include <cstdint>

namespace zelFramework::content {

// splitmix64: tiny, fast and with good statistics; never seeded from the clock.
struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed) {}
    uint64_t next();
    float uniform();                      // [0, 1)
    float range(float lo, float hi);      // [lo, hi)
    int below(int n);                     // 0 .. n-1
};

// Hash of integer lattice coordinates into [0, 1).
float hash2(int x, int y, uint32_t seed);
// Smooth value noise in [0, 1) with a period of `period` lattice cells (tileable when period > 0).
float valueNoise(float x, float y, uint32_t seed, int period = 0);
// Sum of octaves of value noise, normalised to [0, 1).
float fractalNoise(float x, float y, int octaves, uint32_t seed, int period = 0);

}  // namespace zelFramework::content
