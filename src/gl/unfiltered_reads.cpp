// The nearest sampler and the scope that binds it.
#include "gl/unfiltered_reads.h"

namespace zelFramework {
namespace {

GLuint& sampler() {
    static GLuint id = 0;
    return id;
}

}  // namespace

void createUnfilteredSampler() {
    if (sampler() || !(GLEW_VERSION_3_3 || GLEW_ARB_sampler_objects))
        return;
    glGenSamplers(1, &sampler());
    glSamplerParameteri(sampler(), GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glSamplerParameteri(sampler(), GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    // The pictures' own edge rule: a read past the edge takes the edge texel, as the filter does.
    glSamplerParameteri(sampler(), GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(sampler(), GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void releaseUnfilteredSampler() {
    if (sampler())
        glDeleteSamplers(1, &sampler());
    sampler() = 0;
}

GLuint unfilteredSampler() { return sampler(); }

bool viewportIs(int width, int height) {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return viewport[2] == width && viewport[3] == height;
}

UnfilteredReads::UnfilteredReads(unsigned units, bool atTexelCentres) {
    if (!atTexelCentres || !sampler())
        return;
    bound_ = units;
    for (unsigned unit = 0; units >> unit; ++unit)
        if (units & (1u << unit))
            glBindSampler(unit, sampler());
}

UnfilteredReads::~UnfilteredReads() {
    for (unsigned unit = 0; bound_ >> unit; ++unit)
        if (bound_ & (1u << unit))
            glBindSampler(unit, 0);
}

}  // namespace zelFramework
