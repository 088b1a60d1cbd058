// The sphere that holds every vertex an object can show, in the object's own coordinates, so that a
// draw can tell beforehand that the object lies wholly outside the view and would rasterise nothing.
#pragma once

#include <vector>

namespace zelFramework {

struct SceneBounds {
    float centre[3] = {0.0f, 0.0f, 0.0f};
    float radius = 0.0f;
    bool known = false;  // false: no vertices, or values that are not finite; such an object is always drawn
};

// The sphere round the box of `positions` (3 floats a vertex, every animation block together), made
// a little larger than the farthest vertex so rounding in the view test can never leave one out.
SceneBounds boundsOfPositions(const std::vector<float>& positions);

// Answers whether a sphere given in the coordinates of the current modelview can meet the view
// volume; a draw skips the object when it says no. Null draws everything.
using SphereInViewTest = bool (*)(const float centre[3], float radius);

}  // namespace zelFramework
