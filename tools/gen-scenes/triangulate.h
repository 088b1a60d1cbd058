// Triangulation of flat outlines with holes (letters): ear clipping after joining every hole to its
// outline by a bridge. Fully deterministic: the same outline gives the same triangles in any order
// of calls and on any run, which a generator of byte-identical files needs.
#pragma once

#include <cstdint>
#include <vector>

#include "geometry.h"

namespace zelFramework::scenegen {

using Contour = std::vector<Vec2>;

// Triangles as index triples into the concatenation of all contours' points (contour 0's points
// first), counter-clockwise. Which contours are holes follows from nesting (odd rule); their winding
// does not matter. Degenerate or self-crossing pieces may be left out, never made up.
std::vector<uint32_t> triangulateOutlines(const std::vector<Contour>& contours);

// Signed area: positive for counter-clockwise outlines.
float signedArea(const Contour& c);
// Nesting depth of contour i: how many of the others contain it (even = outline, odd = hole).
int nestingDepth(const std::vector<Contour>& contours, size_t i);

}  // namespace zelFramework::scenegen
