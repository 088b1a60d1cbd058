// Turning a model's node transforms and their animation into the scene format's keys: translation,
// rotation as three angles in degrees (the first about Y, the second about X, the third about Z,
// applied as Z * Y * X), and scale, each sampled once per frame of 24 per second.
#pragma once

#include <assimp/anim.h>
#include <assimp/matrix4x4.h>
#include <assimp/scene.h>

#include <map>
#include <string>
#include <vector>

#include "assets/orvo_scene.h"

namespace zelFramework {

constexpr float SCENE_FRAMES_PER_SECOND = 24.0f;

// The rotation's three angles, degrees, in the order of SceneKey::rotation.
Float3 sceneAnglesFromRotation(const aiMatrix3x3& rotation);

// Moves each angle by whole turns to lie within half a turn of the one before, so that keys blended
// linearly take the short way round.
Float3 nearestAngles(Float3 angles, Float3 previous);

struct KeyFromMatrix {
    SceneKey key;
    bool sheared = false;  // the matrix holds a shear or a mirror the key cannot carry
};
KeyFromMatrix sceneKeyFromMatrix(const aiMatrix4x4& local, float frame);

// One animation (the first of the model) as sampled per frame of 24 per second.
class AnimationSampler {
public:
    explicit AnimationSampler(const aiAnimation* animation);
    bool animates(const aiNode* node) const { return channels_.count(node->mName.C_Str()) > 0; }
    // Whether the node or any node above it moves.
    bool movesInWorld(const aiNode* node) const;
    // Frames 0 .. lastFrame() cover the animation (0 when there is none).
    int lastFrame() const { return lastFrame_; }
    // The node's transform relative to its parent at `frame`.
    aiMatrix4x4 localAt(const aiNode* node, float frame) const;
    // The node's transform relative to the model's root at `frame`.
    aiMatrix4x4 worldAt(const aiNode* node, float frame) const;

private:
    std::map<std::string, const aiNodeAnim*> channels_;
    double ticksPerSecond_ = 25.0;
    int lastFrame_ = 0;
};

// The keys of a node: one per frame when it is animated, one when its rest transform is not the
// identity, none otherwise. `sheared` tells that some transform lost a shear or mirror.
std::vector<SceneKey> bakeNodeKeys(const aiNode* node, const AnimationSampler& sampler, bool& sheared);

}  // namespace zelFramework
