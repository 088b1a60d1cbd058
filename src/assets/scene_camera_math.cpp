#include "assets/scene_camera_math.h"

#include <cmath>

namespace zelFramework {

namespace {

float distance(Float3 a, Float3 b) {
    float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

float mix(float a, float b, float f) { return (1 - f) * a + f * b; }
Float3 mix(Float3 a, Float3 b, float f) { return {mix(a.x, b.x, f), mix(a.y, b.y, f), mix(a.z, b.z, f)}; }

Float3 normalised(Float3 v) {
    float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(len > 0)) return v;
    return {v.x / len, v.y / len, v.z / len};
}

SceneCameraSample chooseSample(const std::vector<SceneCameraSample>& samples, float s) {
    // Before the path (or an undefined time) the first sample stands.
    if (!(s > 0)) s = 0;
    const size_t count = samples.size();
    if (!(double(s) < double(count - 1))) return samples.back();  // j = i + 1 would be past the end
    const size_t i = size_t(s);
    const float frac = s - float(i);
    const size_t j = i + 1;
    const SceneCameraSample& a = samples[i];
    const SceneCameraSample& b = samples[j];
    if (i >= 1 && distance(b.position, a.position) > 2.0f * distance(samples[i - 1].position, a.position))
        return frac > 0.5f ? b : a;  // a cut: never smoothed
    SceneCameraSample c = a;
    c.position = mix(a.position, b.position, frac);
    c.direction = mix(a.direction, b.direction, frac);
    c.up = normalised(mix(a.up, b.up, frac));
    c.fovX = mix(a.fovX, b.fovX, frac);
    c.fovY = mix(a.fovY, b.fovY, frac);
    c.nearPlane = mix(a.nearPlane, b.nearPlane, frac);
    c.farPlane = mix(a.farPlane, b.farPlane, frac);
    return c;
}

}  // namespace

bool evaluateSceneCamera(const OrvoScene& scene, float time, SceneCameraView& view) {
    if (scene.cameraSamples.empty()) return false;
    view.camera = chooseSample(scene.cameraSamples, 24.0f * time);
    const SceneCameraSample& c = view.camera;
    view.nearPlane = c.nearPlane > 1.0f ? c.nearPlane : 0.1f;
    view.farPlane = c.farPlane > 500.0f ? c.farPlane : 500.0f;
    // The exporter's angle factor, kept so that pictures match it.
    const float toRadians = 3.1415f / 180.0f;
    view.left = view.nearPlane * std::tan(-0.5f * c.fovX * toRadians);
    view.right = view.nearPlane * std::tan(0.5f * c.fovX * toRadians);
    view.bottom = view.nearPlane * std::tan(-0.5f * c.fovY * toRadians);
    view.top = view.nearPlane * std::tan(0.5f * c.fovY * toRadians);
    return true;
}

}  // namespace zelFramework
