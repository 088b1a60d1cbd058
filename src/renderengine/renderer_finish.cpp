// The steps after the scene passes: combining the depth-of-field layers, the motion-blur history, and
// in cube mode the conversion of the six faces into a polar panorama.
#include "renderengine/renderer.h"

#include <GL/glu.h>

#include <cmath>

#include "gl/fbo_texture.h"
#include "gl/gltk.h"
#include "gl/unfiltered_reads.h"

namespace RenderEngine {

using zelFramework::GL_FBOTexture;

void Renderer::beginCubeFace(int face) {
    glBindFramebuffer(GL_FRAMEBUFFER, cubeMapTarget->framebufferId);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_CUBE_MAP_POSITIVE_X + face,
                           cubeMapTarget->colorTextures[0], 0);
    cubeMapTarget->begin();
}

void Renderer::dofLayerPass() {
    const float firstAmount = dofLayerBlend * dofLayerBlurAmount;
    const float secondAmount = (1.0f - dofLayerBlend) * dofLayerBlurAmount;
    GL_FBOTexture* first = dofLayerTargets[0];
    GL_FBOTexture* second = dofLayerTargets[1];
    if (dofLayerBlurKind == 1) {
        zelFramework::gltkSpreadBlur(first, first, firstAmount, 1.0f);
        zelFramework::gltkSpreadBlur(second, second, secondAmount, 1.0f);
    } else {
        zelFramework::gltkBlur(first, first, firstAmount, 1.0f);
        zelFramework::gltkBlur(second, second, secondAmount, 1.0f);
    }

    sceneryTarget->begin();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    second->bind(GL_TEXTURE0);
    first->bind(GL_TEXTURE1);
    glUseProgram(combineShader->programId);
    {
        zelFramework::UnfilteredReads reads(3u, zelFramework::viewportIs(first->width, first->height) &&
                                                    second->width == first->width && second->height == first->height);
        zelFramework::drawQuad();
    }
    glUseProgram(0);
    first->unbind();
    second->unbind();
    sceneryTarget->end();
}

void Renderer::motionBlurPass(float delta) {
    const int n = motionBlurHistoryLength(motionBlurAmount);
    motionBlurTimer -= delta;
    if (motionBlurTimer <= 0.0f) {
        for (int j = n - 1; j >= 1; --j)
            motionBlurTargets[j - 1]->copyTo(motionBlurTargets[j]);
        motionBlurTimer = MOTION_BLUR_STEP;
    }
    sceneryTarget->copyTo(motionBlurTargets[0]);

    // Slot i is blended in with weight 1 / (i + 1): after it the target holds the plain mean of
    // slots 0..i, so the result is the equal-weight average of the n newest pictures.
    glDisable(GL_DEPTH_TEST);
    sceneryTarget->begin();
    zelFramework::setDrawBuffers(1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_CONSTANT_COLOR, GL_ONE_MINUS_CONSTANT_COLOR);
    for (int i = 0; i < n; ++i) {
        const float weight = 1.0f / float(i + 1);
        glBlendColor(weight, weight, weight, weight);
        motionBlurTargets[i]->bind(GL_TEXTURE0);
        zelFramework::UnfilteredReads reads(
            1u, zelFramework::viewportIs(motionBlurTargets[i]->width, motionBlurTargets[i]->height));
        zelFramework::drawQuad();
    }
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    motionBlurTargets[n - 1]->unbind();
    sceneryTarget->end();
}

void Renderer::panoramaPass() {
    glUseProgram(cubeToEquirectShader->programId);
    sceneryTarget->begin();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    cubeMapTarget->bindCube();

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, 1.0, 1.0, 0.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.5f, 0.5f, 0.0f);
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(-0.5f, -0.5f, 0.0f);

    // A fan of thin triangles round the centre: s follows the angle once round, t runs from 1 at the
    // centre to 0 at the rim of an ellipse of half-axes 1 and 0.5625.
    const float twoPi = 6.28319f;
    const float step = 0.00174533f;
    glBegin(GL_TRIANGLES);
    for (float a = 0.0f; a < twoPi; ) {
        glTexCoord2f(a / twoPi, 1.0f);
        glVertex2f(0.5f, 0.5f);
        glTexCoord2f(a / twoPi, 0.0f);
        glVertex2f(float(0.5 + std::sin(double(a))), float(0.5 - 0.5625 * std::cos(double(a))));
        a += step;
        glTexCoord2f(a / twoPi, 0.0f);
        glVertex2f(float(0.5 + std::sin(double(a))), float(0.5 - 0.5625 * std::cos(double(a))));
    }
    glEnd();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    sceneryTarget->end();
    glUseProgram(0);
}

}  // namespace RenderEngine
