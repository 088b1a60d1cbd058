// The two stylised characters of the stadium show: simple human figures (legs, torso, arms, head)
// whose texture coordinates wrap one picture round the whole body, so their "video" surface plays
// across them. Feet stand at y = 0, the figure faces +z; one unit is 1/40 of the stadium's, so the
// stadium layer's scale of 40 makes them about 72 units tall.
#pragma once

#include <string>

#include "mesh.h"

namespace zelFramework::scenegen {

enum class Character { Pimsel, Tabor };

Mesh buildFigure(Character who);

// The figure as Wavefront OBJ text in the subset the model loader reads (v, vt, vn and triangles
// as p/t/n triples). Triangles that cross the picture's seam at the back get their own texture
// coordinates so that the picture does not smear across the body.
std::string figureObjText(const Mesh& mesh, const std::string& name);

}  // namespace zelFramework::scenegen
