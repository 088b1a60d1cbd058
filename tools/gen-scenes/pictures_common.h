// Painters shared by the sets: matcap-style light maps and simple surface pictures.
#pragma once

#include <cstdint>

#include "image.h"

namespace zelFramework::scenegen {

// A light map as the geometry pass reads it: looked up by the view-space normal, so it is a lit
// sphere. Centre (surfaces facing the viewer) near `centre`, rim darkened to `rim`, with a slightly
// brighter upper half so that top faces read as lit from above.
content::Image paintSphereLight(content::Rgba centre, content::Rgba rim, int size = 128);

// The light map of a surface that carries its own light: alpha 0, so the scene's lights leave it as
// it is, and the surface shows its picture times `level` from every side.
content::Image paintOwnLight(float level);

// A surface picture: base colour with value noise of the given strength and scale (cells across).
content::Image paintNoisy(int w, int h, content::Rgba base, content::Rgba other, float cells, uint32_t seed,
                          int octaves = 4);

}  // namespace zelFramework::scenegen
