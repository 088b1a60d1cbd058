// Bands of revolution about the vertical axis built one segment at a time, so that every segment
// carries its own 0..1 texture coordinates (diffuse pictures are clamped, never tiled).
#pragma once

#include "mesh.h"

namespace zelFramework::scenegen {

struct UvRect {
    Vec2 lo{0, 0};
    Vec2 hi{1, 1};
};

// One segment of the band swept by the profile edge from `a` to `b` ((radius, height) pairs) between
// two angles (degrees from +z towards +x). The face points to the right of the profile direction
// turned about the axis: a profile running upward faces outward, one running downward faces the axis.
void addBandSegment(Mesh& mesh, Vec2 a, Vec2 b, float angle0, float angle1, UvRect uv = {});

// The whole ring of `segments` segments between the same two profile points.
void addBand(Mesh& mesh, Vec2 a, Vec2 b, int segments, UvRect uv = {});

}  // namespace zelFramework::scenegen
