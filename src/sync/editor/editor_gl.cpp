#include "sync/editor/editor_gl.h"

namespace zelFramework {

void pushNormalisedSpace() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void popNormalisedSpace() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void setColor(const EditorColor& c) { glColor4f(c.r, c.g, c.b, c.a); }

void drawLine(float x0, float y0, float x1, float y1, const EditorColor& c) {
    setColor(c);
    glBegin(GL_LINES);
    glVertex2f(x0, y0);
    glVertex2f(x1, y1);
    glEnd();
}

void drawVerticalLine(float x, float y0, float y1, const EditorColor& bottom, const EditorColor& top) {
    glBegin(GL_LINES);
    setColor(bottom);
    glVertex2f(x, y0);
    setColor(top);
    glVertex2f(x, y1);
    glEnd();
}

void fillRect(float x0, float y0, float x1, float y1, const EditorColor& c) { fillRectVertical(x0, y0, x1, y1, c, c); }

void fillRectVertical(float x0, float y0, float x1, float y1, const EditorColor& bottom, const EditorColor& top) {
    glBegin(GL_QUADS);
    setColor(bottom);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    setColor(top);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

void fillRectHorizontal(float x0, float y0, float x1, float y1, const EditorColor& left, const EditorColor& right) {
    glBegin(GL_QUADS);
    setColor(left);
    glVertex2f(x0, y0);
    setColor(right);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    setColor(left);
    glVertex2f(x0, y1);
    glEnd();
}

void outlineRect(float x0, float y0, float x1, float y1, const EditorColor& c) {
    setColor(c);
    glBegin(GL_LINE_LOOP);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

void beginBlend() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void endBlend() { glDisable(GL_BLEND); }

}  // namespace zelFramework
