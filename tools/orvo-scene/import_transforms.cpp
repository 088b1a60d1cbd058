#include "import_transforms.h"

#include <algorithm>
#include <cmath>

namespace zelFramework {
namespace {

constexpr float DEGREES = 57.29577951f;

// Linear between the two keys around `tick`; before the first or after the last key, that key.
template <typename Key, typename Value, typename Blend>
Value sample(const Key* keys, unsigned count, double tick, Value rest, Blend blend) {
    if (count == 0) return rest;
    if (tick <= keys[0].mTime) return keys[0].mValue;
    for (unsigned k = 1; k < count; ++k) {
        if (tick <= keys[k].mTime) {
            const double span = keys[k].mTime - keys[k - 1].mTime;
            const float f = span > 0 ? float((tick - keys[k - 1].mTime) / span) : 1.0f;
            return blend(keys[k - 1].mValue, keys[k].mValue, f);
        }
    }
    return keys[count - 1].mValue;
}

aiVector3D lerp(const aiVector3D& a, const aiVector3D& b, float f) { return a + (b - a) * f; }

aiQuaternion slerp(const aiQuaternion& a, const aiQuaternion& b, float f) {
    aiQuaternion out;
    aiQuaternion::Interpolate(out, a, b, f);
    return out.Normalize();
}

float turnNear(float angle, float previous) {
    while (angle - previous > 180.0f) angle -= 360.0f;
    while (angle - previous < -180.0f) angle += 360.0f;
    return angle;
}

}  // namespace

Float3 sceneAnglesFromRotation(const aiMatrix3x3& r) {
    // r = Rz(c) * Ry(a) * Rx(b): r[2][0] = -sin a, r[2][1] = cos a sin b, r[2][2] = cos a cos b,
    // r[1][0] = sin c cos a, r[0][0] = cos c cos a.
    // The angle about Y from both its sine and its cosine: asin alone loses precision near a quarter turn.
    const float cosA = std::sqrt(r.a1 * r.a1 + r.b1 * r.b1);
    const float a = std::atan2(-r.c1, cosA);
    float b = 0, c = 0;
    if (cosA > 1e-5f) {
        b = std::atan2(r.c2, r.c3);
        c = std::atan2(r.b1, r.a1);
    } else {
        // Looking straight along Y: only the sum of the other two turns matters; Z takes none.
        b = std::atan2(-r.b3, r.b2);
    }
    return {a * DEGREES, b * DEGREES, c * DEGREES};
}

Float3 nearestAngles(Float3 angles, Float3 previous) {
    return {turnNear(angles.x, previous.x), turnNear(angles.y, previous.y), turnNear(angles.z, previous.z)};
}

KeyFromMatrix sceneKeyFromMatrix(const aiMatrix4x4& local, float frame) {
    aiVector3D scaling, position;
    aiQuaternion rotation;
    local.Decompose(scaling, rotation, position);
    KeyFromMatrix out;
    out.key.time = frame;
    out.key.translation = {position.x, position.y, position.z};
    out.key.rotation = sceneAnglesFromRotation(rotation.GetMatrix());
    out.key.scale = {scaling.x, scaling.y, scaling.z};
    // Composed back, the parts must give the matrix again; what differs was a shear or mirror.
    const aiMatrix4x4 back(scaling, rotation, position);
    for (unsigned row = 0; row < 3; ++row)
        for (unsigned col = 0; col < 3; ++col) {
            const float tolerance = 1e-3f * std::max(1.0f, std::fabs(local[row][col]));
            if (std::fabs(back[row][col] - local[row][col]) > tolerance) out.sheared = true;
        }
    return out;
}

AnimationSampler::AnimationSampler(const aiAnimation* animation) {
    if (!animation) return;
    ticksPerSecond_ = animation->mTicksPerSecond > 0 ? animation->mTicksPerSecond : 25.0;
    for (unsigned i = 0; i < animation->mNumChannels; ++i)
        channels_[animation->mChannels[i]->mNodeName.C_Str()] = animation->mChannels[i];
    const double seconds = animation->mDuration / ticksPerSecond_;
    lastFrame_ = int(std::ceil(seconds * SCENE_FRAMES_PER_SECOND - 1e-6));
    lastFrame_ = std::clamp(lastFrame_, 0, 24 * 60 * 60);  // an hour is plenty; a broken duration is not
}

bool AnimationSampler::movesInWorld(const aiNode* node) const {
    for (; node; node = node->mParent)
        if (animates(node)) return true;
    return false;
}

aiMatrix4x4 AnimationSampler::localAt(const aiNode* node, float frame) const {
    auto found = channels_.find(node->mName.C_Str());
    if (found == channels_.end()) return node->mTransformation;
    const aiNodeAnim* channel = found->second;
    aiVector3D restScale, restPosition;
    aiQuaternion restRotation;
    node->mTransformation.Decompose(restScale, restRotation, restPosition);
    const double tick = double(frame) / SCENE_FRAMES_PER_SECOND * ticksPerSecond_;
    const aiVector3D position = sample(channel->mPositionKeys, channel->mNumPositionKeys, tick, restPosition, lerp);
    const aiQuaternion rotation = sample(channel->mRotationKeys, channel->mNumRotationKeys, tick, restRotation, slerp);
    const aiVector3D scale = sample(channel->mScalingKeys, channel->mNumScalingKeys, tick, restScale, lerp);
    return aiMatrix4x4(scale, rotation, position);
}

aiMatrix4x4 AnimationSampler::worldAt(const aiNode* node, float frame) const {
    aiMatrix4x4 world = localAt(node, frame);
    for (const aiNode* up = node->mParent; up; up = up->mParent) world = localAt(up, frame) * world;
    return world;
}

std::vector<SceneKey> bakeNodeKeys(const aiNode* node, const AnimationSampler& sampler, bool& sheared) {
    std::vector<SceneKey> keys;
    if (!sampler.animates(node)) {
        if (node->mTransformation.IsIdentity()) return keys;
        KeyFromMatrix k = sceneKeyFromMatrix(node->mTransformation, 0.0f);
        sheared = sheared || k.sheared;
        keys.push_back(k.key);
        return keys;
    }
    for (int frame = 0; frame <= sampler.lastFrame(); ++frame) {
        KeyFromMatrix k = sceneKeyFromMatrix(sampler.localAt(node, float(frame)), float(frame));
        sheared = sheared || k.sheared;
        if (!keys.empty()) k.key.rotation = nearestAngles(k.key.rotation, keys.back().rotation);
        keys.push_back(k.key);
    }
    return keys;
}

}  // namespace zelFramework
