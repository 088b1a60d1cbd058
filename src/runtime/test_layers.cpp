#include "runtime/test_layers.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "sync/controller_set.h"

namespace zelFramework {

namespace {

// The layers draw in screen fractions, y downward, like the rest of the show's 2-D drawing.
void screenSpace() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0.0, 1.0, 1.0, 0.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glUseProgram(0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
}

void quad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

}  // namespace

bool Layer_TestGradient::init(GL_TextureManager*, ControllerSet* controllers) {
    if (controllers) brightness_ = controllers->get("Test: brightness");
    return true;
}

void Layer_TestGradient::render() {
    screenSpace();
    float level = 1.0f;
    if (brightness_ && !brightness_->keys.empty()) level = std::clamp(brightness_->value, 0.0f, 1.0f);
    const float a = time_ * 0.6f;
    glBegin(GL_QUADS);
    glColor3f(level * (0.5f + 0.4f * std::sin(a)), level * 0.2f, level * (0.5f + 0.4f * std::cos(a)));
    glVertex2f(0.0f, 0.0f);
    glVertex2f(1.0f, 0.0f);
    glColor3f(level * 0.1f, level * (0.4f + 0.3f * std::sin(a * 0.7f)), level * 0.3f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(0.0f, 1.0f);
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
}

void Layer_TestSquare::setTime(const LayerTime& t) {
    localTime_ = t.time - t.start;
    progress_ = t.duration > 0.0f ? std::clamp((t.time - t.start) / t.duration, 0.0f, 1.0f) : 1.0f;
}

void Layer_TestSquare::render() {
    screenSpace();
    // The picture is 2.28 times wider than high: squash x so the square stays square.
    glTranslatef(0.5f, 0.5f, 0.0f);
    glScalef(1.0f / 2.28f, 1.0f, 1.0f);
    glRotatef(localTime_ * 45.0f, 0.0f, 0.0f, 1.0f);
    glColor3f(1.0f, 0.85f, 0.2f);
    quad(-0.25f, -0.25f, 0.25f, 0.25f);
    glLoadIdentity();
    glColor3f(0.9f, 0.9f, 0.9f);
    quad(0.05f, 0.92f, 0.05f + 0.9f * progress_, 0.95f);
    glColor3f(1.0f, 1.0f, 1.0f);
}

void Layer_TestFlash::setTime(const LayerTime& t) {
    strength_ = t.duration > 0.0f ? std::clamp(t.remaining / t.duration, 0.0f, 1.0f) : 0.0f;
}

void Layer_TestFlash::render() {
    screenSpace();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1.0f, 1.0f, 1.0f, strength_);
    quad(0.0f, 0.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

}  // namespace zelFramework
