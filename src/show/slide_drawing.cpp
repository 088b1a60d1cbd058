#include "show/slide_drawing.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "app/screen_metrics.h"
#include "gl/gltk.h"
#include "gl/texture.h"
#include "gl/visible_texels.h"
#include "show/layer_gl.h"

namespace zelFramework {

constexpr double CARD_VIEW_FIELD_DEGREES = 45.0;  // vertical

void beginSlides(GL_FBOTexture* finalTarget) {
    glColor3f(1.0f, 1.0f, 1.0f);
    beginFinalTarget(finalTarget);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void endSlides(GL_FBOTexture* finalTarget) {
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    endFinalTarget(finalTarget);
}

float slidePulse(float x) { return 1.0f - 0.1f * std::fmod(4.0f * x, 1.0f); }

namespace {

// Whether drawing leaves a pixel where the picture's alpha is 0 as it was: alpha blending over it.
bool blendsByAlpha() {
    if (!glIsEnabled(GL_BLEND)) return false;
    const GLenum wanted[][2] = {{GL_BLEND_SRC_RGB, GL_SRC_ALPHA},           {GL_BLEND_DST_RGB, GL_ONE_MINUS_SRC_ALPHA},
                                {GL_BLEND_SRC_ALPHA, GL_SRC_ALPHA},         {GL_BLEND_DST_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
                                {GL_BLEND_EQUATION_RGB, GL_FUNC_ADD},       {GL_BLEND_EQUATION_ALPHA, GL_FUNC_ADD}};
    for (const auto& [state, value] : wanted) {
        GLint is = 0;
        glGetIntegerv(state, &is);
        if (GLenum(is) != value) return false;
    }
    return true;
}

// The picture's texels per pixel of the viewport, drawn over it at `scale`.
float texelsPerPixel(const GL_Texture& picture, float scale) {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[2] <= 0 || viewport[3] <= 0 || !(scale > 0.0f)) return std::numeric_limits<float>::infinity();
    return std::max(float(picture.width) / (float(viewport[2]) * scale),
                    float(picture.height) / (float(viewport[3]) * scale));
}

}  // namespace

void drawSlideLayer(GL_Texture* picture, bool flip, float scale, float offsetX, float offsetY) {
    if (!bindPicture(picture)) return;
    // Most layers are transparent over most of the picture; only the part that can show is drawn.
    // A picture without alpha has no such part, and the blend state is not asked for.
    const std::optional<TexturePart> part =
        picture->visibleTexels && blendsByAlpha() ? alphaBlendedPart(picture->visibleTexels, picture->width, picture->height,
                                           texelsPerPixel(*picture, scale))
                        : std::nullopt;
    if (!part)
        drawQuad(flip, scale, offsetX, offsetY, 0.0f);
    else if (!part->empty())
        drawQuadPart(flip, scale, offsetX, offsetY, part->s0, part->t0, part->s1, part->t1);
    unbindPicture(picture);
}

void beginCardView() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(CARD_VIEW_FIELD_DEGREES, PICTURE_ASPECT, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

PictureFit facingCardFit(float width, float height, float depth) {
    const double halfField = CARD_VIEW_FIELD_DEGREES * 0.5 * 3.14159265358979323846 / 180.0;
    const double pixelsPerUnit = std::sqrt(2.0) * double(renderHeight) / (2.0 * double(depth) * std::tan(halfField));
    PictureFit fit{int(std::ceil(double(width) * pixelsPerUnit)), int(std::ceil(double(height) * pixelsPerUnit))};
    fit.drawnSmaller = true;
    fit.dropUnreadLevels = true;
    return fit;
}

PictureFit movingCardFit(float width, float height) {
    PictureFit fit{int(std::ceil(width * float(renderHeight))), int(std::ceil(height * float(renderHeight)))};
    fit.drawnSmaller = true;
    fit.dropUnreadLevels = true;
    return fit;
}

void endCardView() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void drawCardQuad(float x0, float y0, float x1, float y1, float s0, float t0, float s1, float t1) {
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex3f(x0, y0, 0.0f);
    glTexCoord2f(s1, t0);
    glVertex3f(x1, y0, 0.0f);
    glTexCoord2f(s1, t1);
    glVertex3f(x1, y1, 0.0f);
    glTexCoord2f(s0, t1);
    glVertex3f(x0, y1, 0.0f);
    glEnd();
}

}  // namespace zelFramework
