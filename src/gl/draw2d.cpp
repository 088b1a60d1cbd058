// Screen-space drawing: the full-screen quad, the vertical gradient and camera-facing squares.
#include "gl/gltk.h"

#include <GL/glu.h>

namespace zelFramework {
namespace {

struct BillboardAxes {
    float right[3] = {0.0f, 0.0f, 0.0f};
    float up[3] = {0.0f, 0.0f, 0.0f};
};

BillboardAxes& billboardAxes() {
    static BillboardAxes axes;
    return axes;
}

// Saves both matrices and maps the unit square to the screen; the caller's matrices come back in
// endScreenSpace, so the 2-D routines leave the 3-D set-up as they found it.
void beginScreenSpace(double bottom, double top) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, 1.0, bottom, top);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endScreenSpace() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// The screen-space quad from texture coordinate (s0, t0) to (s1, t1) of the full-screen quad.
void quadPart(bool flip, float scale, float offsetX, float offsetY, float angle, float s0, float t0, float s1,
              float t1) {
    beginScreenSpace(1.0, 0.0);  // y downward, (0, 0) at the top left
    glTranslatef(0.5f, 0.5f, 0.0f);
    glScalef(scale, scale, 1.0f);
    glRotatef(angle, 0.0f, 0.0f, 1.0f);
    glTranslatef(-0.5f, -0.5f, 0.0f);
    glTranslatef(offsetX, offsetY, 0.0f);

    // Texture rows run bottom-up in OpenGL, so the unflipped quad puts texture row 0 at the bottom of
    // the screen and a rendered picture stands upright: row t lies at y = 1 - t, flipped at y = t.
    const float bottomT = flip ? t1 : t0;  // texture row at the quad's bottom edge
    const float topT = flip ? t0 : t1;
    auto y = [flip](float t) { return flip ? t : 1.0f - t; };
    glBegin(GL_QUADS);
    glTexCoord2f(s0, bottomT);
    glVertex2f(s0, y(bottomT));
    glTexCoord2f(s1, bottomT);
    glVertex2f(s1, y(bottomT));
    glTexCoord2f(s1, topT);
    glVertex2f(s1, y(topT));
    glTexCoord2f(s0, topT);
    glVertex2f(s0, y(topT));
    glEnd();
    endScreenSpace();
}

}  // namespace

void drawQuad(bool flip, float scale, float offsetX, float offsetY, float angle) {
    quadPart(flip, scale, offsetX, offsetY, angle, 0.0f, 0.0f, 1.0f, 1.0f);
}

void drawQuadPart(bool flip, float scale, float offsetX, float offsetY, float s0, float t0, float s1, float t1) {
    quadPart(flip, scale, offsetX, offsetY, 0.0f, s0, t0, s1, t1);
}

void drawVerticalGradient(const float* bottomColor, const float* topColor) {
    beginScreenSpace(0.0, 1.0);  // y upward
    glBegin(GL_QUADS);
    glColor4f(topColor[0], topColor[1], topColor[2], 0.0f);
    glVertex2f(0.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glColor4f(bottomColor[0], bottomColor[1], bottomColor[2], 0.0f);
    glVertex2f(1.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glEnd();
    endScreenSpace();
}

void drawBillboard(bool refreshAxes, float size, float x, float y, float z) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    BillboardAxes& axes = billboardAxes();
    if (refreshAxes) {
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        axes.right[0] = m[0], axes.right[1] = m[4], axes.right[2] = m[8];
        axes.up[0] = m[1], axes.up[1] = m[5], axes.up[2] = m[9];
    }
    float r[3], u[3];
    for (int i = 0; i < 3; ++i) {
        r[i] = size * axes.right[i];
        u[i] = size * axes.up[i];
    }
    glTranslatef(x, y, z);
    glBegin(GL_QUADS);
    glMultiTexCoord2f(GL_TEXTURE0, 0.0f, 1.0f);
    glVertex3f(-r[0] - u[0], -r[1] - u[1], -r[2] - u[2]);
    glMultiTexCoord2f(GL_TEXTURE0, 1.0f, 1.0f);
    glVertex3f(r[0] - u[0], r[1] - u[1], r[2] - u[2]);
    glMultiTexCoord2f(GL_TEXTURE0, 1.0f, 0.0f);
    glVertex3f(r[0] + u[0], r[1] + u[1], r[2] + u[2]);
    glMultiTexCoord2f(GL_TEXTURE0, 0.0f, 0.0f);
    glVertex3f(u[0] - r[0], u[1] - r[1], u[2] - r[2]);
    glEnd();
    glPopMatrix();
}

}  // namespace zelFramework
