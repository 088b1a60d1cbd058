// The range of values the curve band of the editor shows. A controller whose keys stay within 0..1
// is shown over 0..1; one that holds other values ("Glitch: rand" up to 195, a whitepoint of -0.22)
// gets a band wide enough for all of its keys, rounded out to a tidy step, so every key is on screen
// and a value drag moves in proportion to what the controller holds.
#pragma once

namespace zelFramework {

struct Controller;

struct ValueBand {
    float low = 0.0f;
    float high = 1.0f;

    float span() const { return high - low; }
    // Screen y in the curve band of a value (the band's bottom for `low`, its top for `high`).
    float toY(float value) const;
    // The value a screen y of the curve band stands for.
    float fromY(float y) const;
    // Keeps a value inside the band; a value that is not a number stays as it is.
    float clampValue(float value) const;
    bool operator==(const ValueBand&) const = default;
};

// The band for a controller's keys: at least 0..1, widened to hold every finite key value and
// rounded out to a step of 1, 2 or 5 times a power of ten. Null or keyless controllers get 0..1.
ValueBand valueBandFor(const Controller* controller);

// A value drag: how far the value moves for a mouse move of `dy` in screen height. A tenth of the
// screen height moves it by the band's whole span (1.0 for the 0..1 band).
float valueDragDelta(const ValueBand& band, float dy);

}  // namespace zelFramework
