// Small props shared by the sets: television sets, screens, desks, railings, stairs and arches.
#pragma once

#include "mesh.h"

namespace zelFramework::scenegen {

// A flat picture quad centred at `centre`, facing `normal`, with the given width and height; its
// top edge points along world up as far as the facing allows.
Mesh makePanel(Vec3 centre, Vec3 normal, float width, float height);

// An old television: a body box and, separately, its screen just in front of the face. Built at the
// origin facing +z, the base at y = 0.
struct TelevisionMeshes {
    Mesh body;
    Mesh screen;
};
TelevisionMeshes makeTelevision(float width, float height, float depth);

// A frame that places a prop: origin, turned `yawDegrees` about +y (0 faces +z), then tipped
// `pitchDegrees` about its own x axis (positive tips the face down).
Mat4 placeProp(Vec3 origin, float yawDegrees, float pitchDegrees = 0);

// A straight flight of steps from `bottom` rising by `rise` over `run` along +z (before placing),
// `width` wide, `count` steps.
Mesh makeStairs(float width, float run, float rise, int count);

// An arch rib of boxes following a half-ellipse in the xy plane (for tunnel ribs).
Mesh makeArchRib(float halfWidth, float springY, float crownY, float thickness, float depth, int pieces);

}  // namespace zelFramework::scenegen
