// One frame: camera, then per scene pass and cube face the geometry pass and the full-picture chain,
// then the depth-of-field layers and the motion blur.
#include "renderengine/renderer.h"

#include <GL/glu.h>

#include "assets/scene_draw.h"
#include "gl/fbo_texture.h"
#include "gl/pass_timer.h"
#include "renderengine/orvo_wrap_model_render.h"
#include "renderengine/texture_units.h"

namespace RenderEngine {

namespace {

// The view of each cube face: look-at centre point and up vector from the origin.
struct CubeFaceView {
    double centre[3];
    double up[3];
};

constexpr CubeFaceView CUBE_FACE_VIEWS[6] = {
    {{1, 0, 0}, {0, 0, 1}},  {{-1, 0, 0}, {0, 0, 1}}, {{0, 10, 0}, {0, 0, 1}},
    {{0, -10, 0}, {0, 0, 1}}, {{0, 0, -10}, {0, 1, 0}}, {{0, 0, 10}, {0, -1, 0}},
};

}  // namespace

bool Renderer::applyCameraObject(float time) {
    bool cameraSet = cameraPreset;
    if (cameraObjectName.empty())
        return cameraSet;
    auto found = objects.find(cameraObjectName);
    if (found != objects.end() && found->second) {
        if (auto* wrapped = dynamic_cast<Orvo_WrapModelRender*>(found->second->model))
            zelFramework::applySceneCamera(wrapped->scene, time);
    }
    // Even a name that finds nothing means the layer takes charge of the camera.
    return true;
}

void Renderer::renderFrame(float time, float delta) {
    const bool cubeMode = features & RE_CUBEMAP;
    if (cubeMode) {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPerspective(90.0, 1.0, 1.0, 10000.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
    }
    const int passCount = (features & RE_DOF_LAYERS) ? 2 : 1;
    const int faceCount = cubeMode ? 6 : 1;
    const bool cameraSet = applyCameraObject(time);

    for (int pass = 0; pass < passCount; ++pass) {
        for (int face = 0; face < faceCount; ++face) {
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            if (cubeMode) {
                const CubeFaceView& v = CUBE_FACE_VIEWS[face];
                gluLookAt(0, 0, 0, v.centre[0], v.centre[1], v.centre[2], v.up[0], v.up[1], v.up[2]);
            }
            {
                zelFramework::PassTimer timer("geometry");
                geometryPass(pass, time, cameraSet);
            }
            if (occlusionShown())
                occlusionPass();
            compositePass(face);
            antiAliasAndFocusPass(face);
            if ((features & RE_GLOW) && !(cubeMode && (features & RE_DOF)))
                glowPass();
            glMatrixMode(GL_MODELVIEW);
            glPopMatrix();
        }
        if (cubeMode) {
            glMatrixMode(GL_PROJECTION);
            glPopMatrix();
            glMatrixMode(GL_MODELVIEW);
            glPopMatrix();
            zelFramework::PassTimer timer("panorama");
            panoramaPass();
        }
        if (features & RE_DOF_LAYERS)
            sceneryTarget->copyTo(dofLayerTargets[pass]);
        clearUnit(1);
        clearUnit(0);
    }

    if (features & RE_DOF_LAYERS) {
        zelFramework::PassTimer timer("dof-layers");
        dofLayerPass();
    }
    if (features & RE_MOTION_BLUR) {
        zelFramework::PassTimer timer("motion-blur");
        motionBlurPass(delta);
    }

    glUseProgram(0);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    clearUnit(1);
    clearUnit(0);
    // Copies between targets leave the window's framebuffer bound; a caller that had a target open
    // when it called us must go on drawing into that target.
    const auto& stack = zelFramework::GL_FBOTexture::fboStack();
    if (!stack.empty()) {
        glBindFramebuffer(GL_FRAMEBUFFER, stack.back()->framebufferId);
        zelFramework::setDrawBuffers(stack.back()->attachmentCount);
    }
}

}  // namespace RenderEngine
