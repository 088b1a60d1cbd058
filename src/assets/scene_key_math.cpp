#include "assets/scene_key_math.h"

#include <cmath>
#include <cstring>

namespace zelFramework {

namespace {

Float3 mix(Float3 a, Float3 b, float f) {
    return {(1 - f) * a.x + f * b.x, (1 - f) * a.y + f * b.y, (1 - f) * a.z + f * b.z};
}

// Column-major 4 x 4 matrices, as OpenGL keeps them.
struct Mat4 {
    float m[16];
    static Mat4 identity() {
        Mat4 r{};
        r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1;
        return r;
    }
    float& at(int row, int col) { return m[col * 4 + row]; }
    float at(int row, int col) const { return m[col * 4 + row]; }
};

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r{};
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.at(row, k) * b.at(k, col);
            r.at(row, col) = sum;
        }
    return r;
}

Mat4 translation(Float3 t) {
    Mat4 r = Mat4::identity();
    r.at(0, 3) = t.x;
    r.at(1, 3) = t.y;
    r.at(2, 3) = t.z;
    return r;
}

Mat4 scaling(Float3 s) {
    Mat4 r = Mat4::identity();
    r.at(0, 0) = s.x;
    r.at(1, 1) = s.y;
    r.at(2, 2) = s.z;
    return r;
}

// Standard right-handed rotation about one axis (0 = X, 1 = Y, 2 = Z).
Mat4 rotation(int axis, float radians) {
    Mat4 r = Mat4::identity();
    const float c = std::cos(radians), s = std::sin(radians);
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    r.at(a, a) = c;
    r.at(a, b) = -s;
    r.at(b, a) = s;
    r.at(b, b) = c;
    return r;
}

Float3 negated(Float3 v) { return {-v.x, -v.y, -v.z}; }

}  // namespace

SceneKeyPose evaluateSceneKeys(const std::vector<SceneKey>& keys, float s) {
    size_t last = 0;
    for (size_t k = 0; k < keys.size(); ++k) {
        if (keys[k].time > s) break;
        last = k;
    }
    const SceneKey& a = keys[last];
    SceneKeyPose pose{a.translation, a.rotatePivot, a.rotation, a.scale, a.scalePivot, a.visible != 0};
    const size_t next = last + 1;
    if (keys[0].time > s || next >= keys.size()) return pose;
    const SceneKey& b = keys[next];
    const float f = (s - a.time) / (b.time - a.time);
    pose.translation = mix(a.translation, b.translation, f);
    pose.rotatePivot = mix(a.rotatePivot, b.rotatePivot, f);
    pose.rotation = mix(a.rotation, b.rotation, f);
    pose.scale = mix(a.scale, b.scale, f);
    return pose;
}

void sceneKeyMatrix(const SceneKeyPose& pose, float matrix[16]) {
    const float toRadians = 0.017453292f;
    const Mat4 r = rotation(2, pose.rotation.z * toRadians) * rotation(1, pose.rotation.x * toRadians) *
                   rotation(0, pose.rotation.y * toRadians);
    const Mat4 m = translation(pose.translation) * translation(pose.rotatePivot) * r *
                   translation(negated(pose.rotatePivot)) * translation(pose.scalePivot) * scaling(pose.scale) *
                   translation(negated(pose.scalePivot));
    std::memcpy(matrix, m.m, sizeof m.m);
}

VertexAnimationStep vertexAnimationAt(const std::vector<float>& frameTimes, float s) {
    VertexAnimationStep step;
    const size_t count = frameTimes.size();
    if (count < 2 || !(s > frameTimes[0])) return step;
    if (s > frameTimes.back()) {
        step.source = SceneMeshSource::StaticLastFrame;
        step.frame = uint32_t(count - 1);
        return step;
    }
    size_t j = count - 1;
    for (size_t f = 0; f < count; ++f)
        if (frameTimes[f] >= s) {
            j = f;
            break;
        }
    const size_t target = j + 1 == count ? j : j + 1;
    step.source = SceneMeshSource::Working;
    step.frame = uint32_t(target - 1);
    return step;
}

}  // namespace zelFramework
