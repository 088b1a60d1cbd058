// The steps that turn the stored form of a scene into the drawable one: the vertex animation expanded
// into whole frames, the object tree linked by parent name, materials bound by name.
#pragma once

#include <string>

#include "assets/orvo_scene.h"

namespace zelFramework {

// Largest expanded vertex animation accepted (positions and normals of every frame), in bytes.
constexpr uint64_t MAX_EXPANDED_ANIMATION_BYTES = 1ull << 30;

// Checks that the object's lists agree with its counts and that every index names a vertex.
bool checkSceneObject(const SceneObject& object, std::string* problem);

// Objects with two or more frames: positions and normals become frameCount() blocks of V vertices.
// Block f starts as a copy of block f - 1 and then takes the changeCounts[f - 1] changes that follow
// those used by the earlier frames. False when the changes do not fit the stored lists.
bool expandVertexAnimation(SceneObject& object, std::string* problem);

// Children of object i: every other object whose parentName equals i's name, in file order. False when
// the tree drawn from object 0 would never end (an object below itself) or is absurdly deep.
bool linkSceneTree(OrvoScene& scene, std::string* problem);

// material = the last material whose name equals materialName, or null.
void bindSceneMaterials(OrvoScene& scene);

// All three steps (after checkSceneObject on every object); on false the scene is emptied.
bool finishScene(OrvoScene& scene, std::string* problem);

}  // namespace zelFramework
