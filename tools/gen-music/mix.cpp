#include "mix.h"

#include <algorithm>
#include <cmath>

namespace zelFramework::music {

Mix::Mix(float seconds)
{
    size_t n = static_cast<size_t>(seconds * kSampleRate);
    left.assign(n, 0.0f);
    right.assign(n, 0.0f);
    send.assign(n, 0.0f);
}

void Mix::add(size_t i, float value, float pan, float sendLevel)
{
    if (i >= left.size())
        return;
    if (pan != cachedPan) {
        float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * kPi;
        cachedPan = pan;
        cachedLeft = std::cos(angle);
        cachedRight = std::sin(angle);
    }
    left[i] += value * cachedLeft;
    right[i] += value * cachedRight;
    send[i] += value * sendLevel;
}

void finishMix(Mix& mix, float peak)
{
    Reverb reverb;
    for (size_t i = 0; i < mix.size(); ++i) {
        float l, r;
        reverb.process(mix.send[i], l, r);
        mix.left[i] += l;
        mix.right[i] += r;
    }
    // Gentle saturation tames the few drum peaks that would otherwise decide the whole level.
    float maxAbs = 0;
    for (size_t i = 0; i < mix.size(); ++i) {
        mix.left[i] = std::tanh(mix.left[i]);
        mix.right[i] = std::tanh(mix.right[i]);
        maxAbs = std::max({maxAbs, std::fabs(mix.left[i]), std::fabs(mix.right[i])});
    }
    if (maxAbs <= 0)
        return;
    float gain = peak / maxAbs;
    for (size_t i = 0; i < mix.size(); ++i) {
        mix.left[i] *= gain;
        mix.right[i] *= gain;
    }
}

}  // namespace zelFramework::music
