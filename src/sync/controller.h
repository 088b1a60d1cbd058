// A named curve of keys over show time: the shape of every animated parameter of the show.
// Layers keep a pointer to their controllers and read `value`, which `update` refreshes each frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelFramework {

// Shape of the blend within a segment (the editor's curve buttons).
enum SegmentCurve : int32_t {
    CURVE_LINEAR = 1,
    CURVE_SMOOTHSTEP = 2,
    CURVE_EXPONENTIAL = 3,
    CURVE_MINEXPONENTIAL = 4,
};

// Where a segment's blend starts (A) and ends (B) (the editor's manual preset buttons).
enum SegmentEnds : int32_t {
    ENDS_VALVAL = 1,   // key value -> next key value
    ENDS_VALZERO = 2,  // key value -> 0
    ENDS_VALONE = 3,   // key value -> 1
    ENDS_ZEROVAL = 4,  // 0 -> next key value
    ENDS_ONEVAL = 5,   // 1 -> next key value
    ENDS_ONEONE = 6,   // 1 -> 1
    ENDS_ZEROZERO = 7, // 0 -> 0
};

struct ControllerKey {
    float time = 0.0f;  // seconds of show time
    float value = 0.0f;
};

// Governs the span from key i to key i + 1. Codes are kept as stored, known or not.
struct ControllerSegment {
    int32_t curve = CURVE_LINEAR;
    int32_t ends = ENDS_VALVAL;
};

struct Controller {
    std::string name;
    float value = 0.0f;                      // result of the last evaluation
    std::vector<ControllerKey> keys;         // ascending time
    std::vector<ControllerSegment> segments; // at least keys - 1; extra ones are unused

    // Evaluates the curve at `seconds` into `value`.
    void update(float seconds);

    void addKey(float time, float value);
    // Changes a key's time only when it stays strictly between its neighbours.
    void moveKey(int index, float time);
    void removeKey(int index);

    // The segment that contains `time` for editing, or -1 (fewer than two keys, or after the last key).
    int segmentAt(float time) const;
    float keyTime(int index) const;
    float keyValue(int index) const;
    float nextKeyTime(int index) const;
};

// The blend of one segment at fraction f (0 at its start key, 1 at its end key) between the values
// `from` and `to` of its keys. Returns false for an unknown curve code, which leaves a value unchanged.
bool evaluateSegment(const ControllerSegment& segment, float from, float to, float f, float& result);

}  // namespace zelFramework
