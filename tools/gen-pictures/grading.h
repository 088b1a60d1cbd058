#pragma once
// Colour-grading looks and their look-up tables.
//
// Table layout (read by the post-processing grade shader): a 32 x 32 x 32 cube stored as a 1024 x 32 RGB
// strip of 32 tiles, each 32 x 32. For input colour (r, g, b) in 0..1 with ri = r * 31 etc., the graded
// colour is the texel at column x = ri + 32 * bi and row y = gi, where row 0 is the first row of the file
// (the top row, which the image loader uploads first, so it sits at texture coordinate v near 0).
#include "image.h"

namespace zelFramework::content {

enum class Look { Neutral, CoolIntro, Bridge, WarmStadium, TunnelFinale };

constexpr int kLutSize = 32;

struct Rgb3 {
    float r, g, b;
};

// The look as a function, for inputs and outputs in 0..1.
Rgb3 applyLook(Look look, Rgb3 in);
// The look sampled into the strip layout above.
Image lookupTable(Look look);
// Where a lattice colour lives in the strip (for tools and tests).
inline int lutColumn(int ri, int bi) { return ri + kLutSize * bi; }
inline int lutRow(int gi) { return gi; }

}  // namespace zelFramework::content
