// How large a picture the driver can render: the size limits of its textures and render buffers and
// the memory the show's render targets need, checked once at start instead of failing deep inside
// loading or the driver.
#pragma once

#include <cstdint>
#include <string>

namespace zelFramework {

struct RenderLimits {
    int maxTextureSize = 0;       // GL_MAX_TEXTURE_SIZE
    int maxRenderbufferSize = 0;  // GL_MAX_RENDERBUFFER_SIZE
    int maxViewportWidth = 0;     // GL_MAX_VIEWPORT_DIMS
    int maxViewportHeight = 0;
    uint64_t memoryBytes = 0;     // what the render targets may take; 0 when unknown
    const char* memorySource = "";  // where memoryBytes comes from, for the message
};

// The show's render targets hold about this many bytes for each pixel of the picture: the deferred
// targets (two 16-bit RGBA pictures and depth), two 16-bit work pictures, the post-processing pair,
// the glow and depth-of-field pictures and the smaller blur targets, with the driver's own copies
// (Mesa's software driver: 46 bytes of colour targets per pixel counted, about 70 taken from the
// machine at 16384 pixels wide).
constexpr uint64_t RENDER_TARGET_BYTES_PER_PIXEL = 80;

// The limits of the current GL context. The memory is what the driver reports where it can (NVIDIA,
// AMD), else a quarter of the machine's available memory: a software driver draws its targets from
// it, and as much again for its own work (at 16384 pixels wide Mesa's llvmpipe took 8 GB while still
// loading, and was killed for memory before its first frame).
RenderLimits queryRenderLimits();

// Empty when a picture of width x height fits the limits; otherwise one line with the size, the
// limit it breaks and the largest width that would do.
std::string renderSizeProblem(const RenderLimits& limits, int width, int height);

// Whether a GL_RENDERER string names a software rasteriser (Mesa's llvmpipe or softpipe, or a
// driver that calls itself "Software"), which draws on this process's CPU; false for null.
bool softwareRendererName(const char* renderer);

}  // namespace zelFramework
