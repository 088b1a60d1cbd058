#include "sync/controller.h"

#include <algorithm>
#include <cmath>

namespace zelFramework {

namespace {

// Squares go through double-precision pow and back, so curves match the stored show to the bit.
float squared(float x) { return float(std::pow(double(x), 2.0)); }

// S(x) = x^2 (3 - 2x) with x clamped to [0, 1].
float smoothStep(float x) {
    if (x < 0.0f) x = 0.0f;
    if (x > 1.0f) x = 1.0f;
    return squared(x) * (3.0f - 2.0f * x);
}

void segmentEnds(int32_t ends, float from, float to, float& a, float& b) {
    switch (ends) {
        case ENDS_VALVAL: a = from; b = to; return;
        case ENDS_VALZERO: a = from; b = 0.0f; return;
        case ENDS_VALONE: a = from; b = 1.0f; return;
        case ENDS_ZEROVAL: a = 0.0f; b = to; return;
        case ENDS_ONEVAL: a = 1.0f; b = to; return;
        case ENDS_ONEONE: a = 1.0f; b = 1.0f; return;
        case ENDS_ZEROZERO: a = 0.0f; b = 0.0f; return;
        default: a = 0.0f; b = 0.0f; return;
    }
}

bool validIndex(const Controller& c, int index) { return index >= 0 && size_t(index) < c.keys.size(); }

}  // namespace

bool evaluateSegment(const ControllerSegment& segment, float from, float to, float f, float& result) {
    float a, b;
    segmentEnds(segment.ends, from, to, a, b);
    switch (segment.curve) {
        case CURVE_LINEAR:
            // This form (not a + f (b - a)) is the one the show's curves were tuned with.
            result = (1.0f - f) * a + f * b;
            return true;
        case CURVE_SMOOTHSTEP:
            result = (b - a) * smoothStep(f) + a;
            return true;
        case CURVE_EXPONENTIAL:
            result = (b - a) * smoothStep(squared(f)) + a;
            return true;
        case CURVE_MINEXPONENTIAL:
            result = (b - a) * smoothStep(1.0f - squared(1.0f - f)) + a;
            return true;
        default:
            return false;
    }
}

void Controller::update(float seconds) {
    if (keys.empty()) return;

    // Every key is scanned so that of two keys at the same time the later one wins.
    int k = -1;
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i].time <= seconds) k = int(i);

    if (k < 0) {
        value = keys.front().value;
        return;
    }
    if (size_t(k) + 1 == keys.size()) {
        value = keys.back().value;
        return;
    }
    // The invariant gives a segment for every span; a hand-built controller without one keeps its value.
    if (size_t(k) >= segments.size()) return;

    const ControllerKey& k0 = keys[size_t(k)];
    const ControllerKey& k1 = keys[size_t(k) + 1];
    const float f = (seconds - k0.time) / (k1.time - k0.time);
    float result;
    if (evaluateSegment(segments[size_t(k)], k0.value, k1.value, f, result)) value = result;
}

void Controller::addKey(float time, float value) {
    const ControllerKey key{time, value};
    if (keys.empty()) {
        keys.push_back(key);
        return;
    }
    if (time > keys.back().time) {
        segments.push_back(ControllerSegment{});
        keys.push_back(key);
        return;
    }
    size_t j = 0;
    while (j < keys.size() && !(keys[j].time > time)) ++j;
    if (j == keys.size()) return;  // same time as the last key: ignored

    keys.insert(keys.begin() + long(j), key);
    // The segment that led into old key j now leads into the new key; the new one copies segment 0.
    if (segments.empty()) {
        segments.push_back(ControllerSegment{});
    } else {
        const ControllerSegment first = segments.front();
        segments.insert(segments.begin() + long(std::min(j, segments.size())), first);
    }
}

void Controller::moveKey(int index, float time) {
    if (!validIndex(*this, index)) return;
    const size_t i = size_t(index);
    const size_t n = keys.size();
    bool allowed;
    if (n == 1)
        allowed = true;
    else if (i == 0)
        allowed = time < keys[1].time;
    else if (i + 1 == n)
        allowed = time > keys[i - 1].time;
    else
        allowed = time > keys[i - 1].time && time < keys[i + 1].time;
    if (allowed) keys[i].time = time;
}

void Controller::removeKey(int index) {
    if (!validIndex(*this, index)) return;
    const size_t i = size_t(index);
    keys.erase(keys.begin() + long(i));
    if (keys.size() > 1) {
        // The segment that left the removed key now spans the gap it leaves.
        const size_t s = i == 0 ? 0 : i - 1;
        if (s < segments.size()) segments.erase(segments.begin() + long(s));
    }
    if (keys.empty()) value = 0.0f;
}

int Controller::segmentAt(float time) const {
    if (keys.size() < 2) return -1;
    for (size_t i = 1; i < keys.size(); ++i)
        if (keys[i].time >= time) return int(i) - 1;
    return -1;
}

float Controller::keyTime(int index) const { return validIndex(*this, index) ? keys[size_t(index)].time : 0.0f; }

float Controller::keyValue(int index) const { return validIndex(*this, index) ? keys[size_t(index)].value : 0.0f; }

float Controller::nextKeyTime(int index) const {
    const long long next = (long long)index + 1;
    return next >= 0 && size_t(next) < keys.size() ? keys[size_t(next)].time : 0.0f;
}

}  // namespace zelFramework
