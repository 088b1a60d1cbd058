// Simple stylised human figures (legs, torso, arms, head) for the players lined up on the pitch,
// whose texture coordinates wrap one picture round the whole body (the team kit). Feet stand at
// y = 0, the figure faces +z; one unit is 1/40 of the stadium's, so a scale of 40 makes them about
// 72 units tall. The hosts on the deck are host_figure.h.
#pragma once

#include <string>
#include <vector>

#include "mesh.h"

namespace zelFramework::scenegen {

enum class Character { Pimsel, Tabor };

Mesh buildFigure(Character who);

// A limb: a tube of varying radius through the joints (one radius per joint), `steps` rings per
// segment, with a ball at every joint so that the bends close.
Mesh makeLimb(const std::vector<Vec3>& joints, const std::vector<float>& radii, int sides, int steps = 4);

}  // namespace zelFramework::scenegen
