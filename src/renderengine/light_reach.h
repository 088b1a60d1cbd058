// Which point lights can reach anything a view shows. A light's falloff ends at its falloff
// distance, so a light whose sphere of reach lies wholly outside the view volume lights nothing
// that is drawn, and the geometry program need not walk it for every pixel.
#pragma once

#include <array>

namespace RenderEngine {

// The six planes of a view volume (left, right, bottom, top, near, far), each (a, b, c, d) with a unit
// normal pointing inwards: a point p is inside when a p.x + b p.y + c p.z + d >= 0 for every plane.
using ViewPlanes = std::array<std::array<float, 4>, 6>;

// The planes of what `projection` x `modelview` shows (column-major 4 x 4 matrices as OpenGL returns
// them), in the coordinates modelview takes in: world space for the camera alone, an object's own
// coordinates when its placement is in the matrix too.
ViewPlanes viewPlanesOf(const float modelview[16], const float projection[16]);

// Whether the sphere of `radius` about `centre` meets the view volume. Conservative: a sphere near a
// corner of the volume may be reported as reaching it; one that is reported as not reaching it
// never does.
bool sphereReachesView(const ViewPlanes& planes, const float centre[3], float radius);

}  // namespace RenderEngine
