// Drawing helpers of the slide layers: picture layers over the whole picture, perspective cards and
// the beat pulse.
#pragma once

#include "gl/texture_manager.h"

namespace zelFramework {

class GL_FBOTexture;
class GL_Texture;

// Opens the shared picture for slide layers: cleared, alpha blending on, depth writes off, white.
void beginSlides(GL_FBOTexture* finalTarget);
// Depth writes back on (a renderer that runs next clears its depth buffer without touching the
// mask), blending off, and the shared picture closed.
void endSlides(GL_FBOTexture* finalTarget);

// The beat pulse: a scale of 1 - 0.1 x fmod(4x, 1), four shrinking steps a second. fmod keeps the
// sign of x, so negative x gives scales above 1.
float slidePulse(float x);

// A picture layer over the whole picture (upside-down mapping unless `flip` is false, as pictures
// are stored top row first); skipped when the picture is missing. Blended by alpha (the slides'
// state), only the part of a picture with alpha that can show is drawn, for the same picture.
void drawSlideLayer(GL_Texture* picture, bool flip = true, float scale = 1.0f, float offsetX = 0.0f,
                    float offsetY = 0.0f);

// Opens a perspective view for cards: 45 degrees vertically, aspect 2.28, near 0.1, far 100, both
// matrices pushed and reset. endCardView pops them.
void beginCardView();
void endCardView();

// How a card of `width` x `height` units is drawn when it faces the card view at `depth` and turns
// only in its own plane: perspective then shows every part of it at the same size, wherever it
// stands. Mipmapped, as it is drawn smaller than its picture. The size is widened by the square root
// of 2: a driver may pick the level from the larger of the steps along the screen's axes, which
// for a turned card is up to that much less than its true step.
PictureFit facingCardFit(float width, float height, float depth);

// How a card is drawn whose motion is fixed: never larger than `width` x `height` times the picture's
// height in pixels (its closest view, found by projecting points of the card along the motion and
// taking the finest step per pixel along each side). Mipmapped, with the levels above that left out.
PictureFit movingCardFit(float width, float height);

// A textured rectangle in the plane z = 0 from (x0, y0) to (x1, y1), with texture coordinate
// (s0, t0) at the first corner and (s1, t1) at the second.
void drawCardQuad(float x0, float y0, float x1, float y1, float s0, float t0, float s1, float t1);

}  // namespace zelFramework
