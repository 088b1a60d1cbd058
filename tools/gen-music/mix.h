#pragma once
// The mix bus: stereo dry buffers plus a mono reverb send, indexed by sample.
#include <cstddef>
#include <vector>

#include "dsp.h"

namespace zelFramework::music {

struct Mix {
    std::vector<float> left, right, send;
    // Gains of the last pan position asked for: voices keep one pan for many samples.
    float cachedPan = 0.0f, cachedLeft = 0.70710678f, cachedRight = 0.70710678f;

    explicit Mix(float seconds);
    size_t size() const { return left.size(); }
    // Adds one sample with a pan (-1 left .. 1 right, equal power) and a reverb send level.
    void add(size_t i, float value, float pan, float sendLevel);
    static size_t sampleAt(double seconds) { return static_cast<size_t>(seconds * kSampleRate + 0.5); }
};

// Runs the send through the reverb into the dry buffers, then soft-limits and scales the whole mix so
// its peak sits at `peak` (below full scale: no clipping on decode).
void finishMix(Mix& mix, float peak);

}  // namespace zelFramework::music
