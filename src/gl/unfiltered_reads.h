// Unfiltered reads of pictures at their own texel centres. A pass drawing a picture at the picture's
// own size reads every texel at its centre, where the linear filter returns that texel unmixed, so an
// unfiltered fetch reads the same value; a software renderer does one at about a third of the price.
// A nearest sampler bound to a unit overrides the filters of whatever texture is bound there.
#pragma once

#include <GL/glew.h>

namespace zelFramework {

// Creates the nearest sampler (with the blur toolkit); without sampler objects in the driver there is
// none, and every read stays filtered.
void createUnfilteredSampler();
void releaseUnfilteredSampler();
// The sampler, or 0.
GLuint unfilteredSampler();

// True when the viewport in use is `width` x `height`: a full-screen pass into it reads a picture of
// that size at its texel centres.
bool viewportIs(int width, int height);

// For its lifetime, reads through each unit in `units` (bit k for unit k) go unfiltered, when
// `atTexelCentres` holds; otherwise it does nothing.
class UnfilteredReads {
public:
    UnfilteredReads(unsigned units, bool atTexelCentres);
    ~UnfilteredReads();
    UnfilteredReads(const UnfilteredReads&) = delete;
    UnfilteredReads& operator=(const UnfilteredReads&) = delete;

private:
    unsigned bound_ = 0;
};

}  // namespace zelFramework
