#include "runtime/frame_time_graph.h"

#include <GL/glew.h>
#include <GL/glu.h>

namespace zelFramework {

namespace {

void lineStrip(const std::array<float, FRAME_TIME_SAMPLES>& times, uint32_t from, uint32_t to) {
    glBegin(GL_LINE_STRIP);
    for (uint32_t i = from; i < to; ++i) glVertex2f(float(i) / 1000.0f, times[i] * 4.0f + 0.25f);
    glEnd();
}

}  // namespace

void drawFrameTimeGraph(const std::array<float, FRAME_TIME_SAMPLES>& times, uint32_t count) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glPushMatrix();
    glDisable(GL_LIGHTING);
    gluOrtho2D(0.0, 1.0, 1.0, 0.0);  // y grows downward
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);

    // Darken the panel by multiplying the frame with a dim colour, so the lines stay readable.
    glColor3f(0.25f, 0.2f, 0.2f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(0.25f, 0.0f);
    glVertex2f(0.25f, 1.0f);
    glVertex2f(0.0f, 1.0f);
    glEnd();
    glDisable(GL_BLEND);

    glColor3f(1.0f, 0.0f, 0.0f);
    lineStrip(times, 0, count);
    glColor3f(0.5f, 0.5f, 0.0f);
    lineStrip(times, count, FRAME_TIME_SAMPLES);

    glColor3f(1.0f, 1.0f, 1.0f);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace zelFramework
