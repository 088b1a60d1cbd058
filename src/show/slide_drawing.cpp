#include "show/slide_drawing.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>

#include "app/screen_metrics.h"
#include "gl/gltk.h"
#include "show/layer_gl.h"

namespace zelFramework {

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

void drawSlideLayer(GL_Texture* picture, bool flip, float scale, float offsetX, float offsetY) {
    if (!bindPicture(picture)) return;
    drawQuad(flip, scale, offsetX, offsetY, 0.0f);
    unbindPicture(picture);
}

void beginCardView() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, PICTURE_ASPECT, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
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
