#include "camera_path.h"

#include <cmath>

namespace zelFramework::scenegen {
namespace {

// Cubic Hermite segment from p0 to p1 with tangents m0, m1 (already scaled to the segment).
Vec3 hermite(Vec3 p0, Vec3 m0, Vec3 p1, Vec3 m1, float f) {
    float f2 = f * f, f3 = f2 * f;
    return p0 * (2 * f3 - 3 * f2 + 1) + m0 * (f3 - 2 * f2 + f) + p1 * (-2 * f3 + 3 * f2) + m1 * (f3 - f2);
}

// Catmull-Rom tangent at key i in units per second, from the keys' real times, so the speed stays
// continuous across keys however unevenly they are spaced (a jump in speed would look like a cut).
Vec3 tangentAt(const std::vector<Vec3>& p, const std::vector<float>& t, size_t i) {
    size_t a = i > 0 ? i - 1 : i, b = i + 1 < p.size() ? i + 1 : i;
    float dt = t[b] - t[a];
    return dt > 0 ? (p[b] - p[a]) * (1.0f / dt) : Vec3{};
}

Vec3 splineAt(const std::vector<Vec3>& p, const std::vector<float>& t, size_t i, float f) {
    float h = t[i + 1] - t[i];
    return hermite(p[i], tangentAt(p, t, i) * h, p[i + 1], tangentAt(p, t, i + 1) * h, f);
}

}  // namespace

float horizontalFov(float fovY) {
    return 2.0f * std::atan(kShowAspect * std::tan(radians(fovY) * 0.5f)) * 180.0f / kPi;
}

CameraKey evaluateShot(const Shot& shot, float t) {
    const auto& k = shot.keys;
    if (k.empty()) return {};
    if (k.size() == 1 || t <= k.front().time) return k.front();
    if (t >= k.back().time) return k.back();
    size_t i = 0;
    while (i + 1 < k.size() && k[i + 1].time <= t) ++i;
    const CameraKey& a = k[i];
    const CameraKey& b = k[i + 1];
    float span = b.time - a.time;
    float f = span > 0 ? (t - a.time) / span : 0;
    std::vector<Vec3> eyes, targets;
    std::vector<float> times;
    for (const CameraKey& key : k) eyes.push_back(key.eye), targets.push_back(key.target), times.push_back(key.time);
    CameraKey out;
    out.time = t;
    out.eye = splineAt(eyes, times, i, f);
    out.target = splineAt(targets, times, i, f);
    out.fovY = lerp(a.fovY, b.fovY, f);
    out.roll = lerp(a.roll, b.roll, f);
    return out;
}

std::vector<SceneCameraSample> sampleCameraPath(const std::vector<Shot>& shots, float duration, CameraLens lens) {
    std::vector<SceneCameraSample> out;
    int count = int(std::ceil(duration * kSamplesPerSecond)) + 1;
    for (int i = 0; i < count; ++i) {
        float t = i / kSamplesPerSecond;
        size_t s = 0;
        for (size_t j = 0; j < shots.size(); ++j)
            if (!shots[j].keys.empty() && shots[j].keys.front().time <= t) s = j;
        if (shots.empty()) break;
        CameraKey key = evaluateShot(shots[s], t);
        Vec3 forward = normalize(key.target - key.eye);
        Vec3 right = normalize(cross(forward, {0, 1, 0}));
        Vec3 up = normalize(cross(right, forward));
        float r = radians(key.roll);
        up = normalize(up * std::cos(r) + right * std::sin(r));
        SceneCameraSample c;
        c.unused = uint32_t(i);
        c.position = {key.eye.x, key.eye.y, key.eye.z};
        Vec3 dir = key.target - key.eye;
        c.direction = {dir.x, dir.y, dir.z};
        c.up = {up.x, up.y, up.z};
        c.fovY = key.fovY;
        c.fovX = horizontalFov(key.fovY);
        c.nearPlane = lens.nearPlane;
        c.farPlane = lens.farPlane;
        out.push_back(c);
    }
    return out;
}

std::vector<size_t> findCameraCuts(const std::vector<SceneCameraSample>& samples) {
    auto dist = [](const Float3& a, const Float3& b) {
        float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
        return std::sqrt(dx * dx + dy * dy + dz * dz);
    };
    std::vector<size_t> cuts;
    for (size_t i = 1; i + 1 < samples.size(); ++i)
        if (dist(samples[i + 1].position, samples[i].position) > 2.0f * dist(samples[i - 1].position, samples[i].position))
            cuts.push_back(i + 1);
    return cuts;
}

}  // namespace zelFramework::scenegen
