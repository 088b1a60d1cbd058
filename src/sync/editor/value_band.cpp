#include "sync/editor/value_band.h"

#include <algorithm>
#include <cmath>

#include "sync/controller.h"
#include "sync/editor/timeline_view.h"

namespace zelFramework {

namespace {

// The smallest of 1, 2 and 5 times a power of ten that is at least `x` (x > 0).
float tidyStep(float x) {
    const float power = std::pow(10.0f, std::floor(std::log10(x)));
    for (float m : {1.0f, 2.0f, 5.0f, 10.0f})
        if (m * power >= x * 0.9999f) return m * power;
    return 10.0f * power;
}

}  // namespace

float ValueBand::toY(float value) const {
    const float s = span();
    const float f = s > 0.0f ? (value - low) / s : 0.0f;
    return CURVE_BAND_BOTTOM + CURVE_BAND_HEIGHT * f;
}

float ValueBand::fromY(float y) const { return low + (y - CURVE_BAND_BOTTOM) / CURVE_BAND_HEIGHT * span(); }

float ValueBand::clampValue(float value) const {
    if (std::isnan(value)) return value;
    return std::clamp(value, low, high);
}

ValueBand valueBandFor(const Controller* controller) {
    ValueBand band;
    if (!controller) return band;
    float low = 0.0f, high = 1.0f;
    for (const ControllerKey& key : controller->keys) {
        if (!std::isfinite(key.value)) continue;
        low = std::min(low, key.value);
        high = std::max(high, key.value);
    }
    if (low == 0.0f && high == 1.0f) return band;
    // Far-off values would overflow the span; such a band is shown as it comes.
    const float span = high - low;
    if (!std::isfinite(span) || span <= 0.0f) return {low, high};
    const float step = tidyStep(span / 10.0f);
    band.low = std::floor(low / step) * step;
    band.high = std::ceil(high / step) * step;
    // Rounding can land a hair inside on huge values; the keys must stay within.
    band.low = std::min(band.low, low);
    band.high = std::max(band.high, high);
    return band;
}

float valueDragDelta(const ValueBand& band, float dy) { return dy * 10.0f * band.span(); }

}  // namespace zelFramework
