// An object's animated transform and vertex-animation state at a frame position, as numbers.
#pragma once

#include <cstdint>

#include "assets/orvo_scene.h"

namespace zelFramework {

struct SceneKeyPose {
    Float3 translation, rotatePivot, rotation, scale{1, 1, 1}, scalePivot;
    bool visible = true;
};

// The keys at frame position s: the last key at or before s, blended towards the next one in
// translation, rotatePivot, rotation and scale; scalePivot and visible are the earlier key's. Before
// the first key its values stand. `keys` must not be empty.
SceneKeyPose evaluateSceneKeys(const std::vector<SceneKey>& keys, float s);

// The object's matrix (column-major, for glMultMatrixf): T(translation) T(rotatePivot) R
// T(-rotatePivot) T(scalePivot) S(scale) T(-scalePivot), with R = Rz(c) Ry(a) Rx(b) for rotation
// (a, b, c) in degrees.
void sceneKeyMatrix(const SceneKeyPose& pose, float matrix[16]);

enum class SceneMeshSource { StaticFirstFrame, Working, StaticLastFrame };

struct VertexAnimationStep {
    SceneMeshSource source = SceneMeshSource::StaticFirstFrame;
    uint32_t frame = 0;  // the block the working copies must hold (when source is Working)
};

// Which mesh an object with frameTimes shows at frame position s. Before or at the first frame time:
// the first frame; past the last: the last frame; in between: block target - 1, where j is the first
// frame whose time is at least s and target is j + 1 (j itself for the last frame).
VertexAnimationStep vertexAnimationAt(const std::vector<float>& frameTimes, float s);

}  // namespace zelFramework
