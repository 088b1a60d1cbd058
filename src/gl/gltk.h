// The blur toolkit and the screen-space 2-D routines every layer shares.
// The blurs run through two fixed 640 x 360 scratch targets, whatever the size of their source; the
// glow (a blur with a power) runs most of its passes through two more at 640 x 180.
#pragma once

#include <GL/glew.h>

namespace zelFramework {

class GL_FBOTexture;
class GL_Shader;

constexpr int GLTK_SCRATCH_WIDTH = 640;
constexpr int GLTK_SCRATCH_HEIGHT = 360;

// Creates the scratch targets and builds the four "gltk" programs. Needs a current context with its
// entry points; call once before the first blur.
void gltkInit();
// Releases the scratch targets and deletes the programs.
void gltkShutdown();

// Iterative cross blur of `source` into `destination` (they may be the same target): intensity x 20 + 1
// passes (truncated), each raising the result to the power `exponent`. An intensity or exponent that
// is not a finite number (or an intensity past a million) copies the source over unblurred. Leaves
// framebuffer 0 bound, program 0 in use, unit 0 active and no sampler bound.
void gltkBlur(GL_FBOTexture* source, GL_FBOTexture* destination, float intensity, float exponent);
// The same blur added onto `destination` (which may be the source) at `weight` instead of written over
// it: the draw that would copy the result over the destination blends it in, so no picture of the
// blur's own is drawn and read back. A weight that is not above 0 adds nothing. Same leftover state.
void gltkBlurAdded(GL_FBOTexture* source, GL_FBOTexture* destination, float intensity, float exponent,
                   float weight);
// Disc-shaped gather blur of `source` into `destination` through the scratch target: the disc's radius
// follows `intensity` and its sample count `quality`. Same leftover state as gltkBlur.
void gltkSpreadBlur(GL_FBOTexture* source, GL_FBOTexture* destination, float intensity, float quality);

// The full-screen textured quad: scaled about the screen centre, turned by `angle` degrees about it,
// then moved by the offsets (in screen fractions, y downward). Upright without flip.
void drawQuad(bool flip = false, float scale = 1.0f, float offsetX = 0.0f, float offsetY = 0.0f, float angle = 0.0f);
// The part of that quad that carries texture coordinates s0 .. s1 and t0 .. t1, where it lies in it.
void drawQuadPart(bool flip, float scale, float offsetX, float offsetY, float s0, float t0, float s1, float t1);
// A full-screen gradient: top edge `topColor`, bottom edge `bottomColor` (3 floats each), alpha 0.
void drawVerticalGradient(const float* bottomColor, const float* topColor);
// A camera-facing textured square of 2 x size centred on (x, y, z). With `refreshAxes` the camera's
// right and up axes are read from the current modelview matrix; otherwise the last ones are reused.
void drawBillboard(bool refreshAxes, float size, float x, float y, float z);
// printf-style text at raster position (x, y) in colour (r, g, b, a); `fontBase` is the display list
// of character code 32 of a bitmap font (see BitmapFont). At most 4,095 characters are drawn.
void drawText(GLuint fontBase, float x, float y, float r, float g, float b, float a, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 8, 9)))
#endif
    ;

// The toolkit's programs, for callers that want to draw with them directly (null before gltkInit).
GL_Shader* gltkBlurShader();
GL_Shader* gltkBlurThresholdShader();
GL_Shader* gltkSmartBlurShader();
GL_Shader* gltkBokehBlurShader();
// The scratch target i (0 or 1).
GL_FBOTexture* gltkBlurTarget(int i);

}  // namespace zelFramework
