// A readable description of a loaded scene: the object tree, meshes, keys, vertex animation,
// materials with their maps, camera samples and the bounding box. Used by the orvo-scene tool.
#pragma once

#include <string>

#include "assets/orvo_scene.h"

namespace zelFramework {

std::string describeScene(const OrvoScene& scene);

}  // namespace zelFramework
