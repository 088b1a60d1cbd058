// Extruded 3-D letters: one mesh per visible character of a line of text.
#pragma once

#include <string>
#include <vector>

#include "mesh.h"

namespace zelFramework::scenegen {

struct LetterMesh {
    char character = 0;
    Mesh mesh;
    Vec3 centre;  // middle of the letter's box, the pivot for its animation
};

// The line centred on `baselineCentre`, letters `em` tall (em square), `depth` thick, reading left
// to right for a viewer on the +z side, or on the -z side when `faceNegativeZ`.
std::vector<LetterMesh> extrudeLine(const std::string& text, float em, float depth, Vec3 baselineCentre,
                                    bool faceNegativeZ);

}  // namespace zelFramework::scenegen
