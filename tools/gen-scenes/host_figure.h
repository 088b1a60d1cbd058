// The two hosts on the stadium's broadcast deck, Pimsel and Tabor: people in jackets with the live
// broadcast playing on their shirt fronts. Feet stand at y = 0, they face +z; one unit is 1/40 of
// the stadium's, so the stadium layer's scale of 40 makes them about 72 units tall. Their texture
// coordinates point into the picture of host_wardrobe.h: the shirt front into the clip, everything
// else into a cloth ramp at the shade the studio light gives it.
#pragma once

#include <string>

#include "human_figure.h"
#include "mesh.h"

namespace zelFramework::scenegen {

Mesh buildHost(Character who);

// The host as Wavefront OBJ text in the subset the model loader reads (v, vt, vn and triangles as
// p/t/n triples), one texture coordinate per vertex.
std::string hostObjText(const Mesh& mesh, const std::string& name);

}  // namespace zelFramework::scenegen
