#include "renderengine/orvo_wrap_model_render.h"

#include "assets/model_reload.h"
#include "assets/scene_draw.h"
#include "renderengine/light_reach.h"

namespace RenderEngine {

namespace {

// The view volume from the current matrices: with the object's own placement in the modelview, its
// planes come out in the object's coordinates, where its bounds are given.
bool sphereInCurrentView(const float centre[3], float radius) {
    float modelview[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    return sphereReachesView(viewPlanesOf(modelview, projection), centre, radius);
}

}  // namespace

Orvo_WrapModelRender::~Orvo_WrapModelRender() { zelFramework::forgetSceneFile(scene); }

void Orvo_WrapModelRender::render(GLuint program, bool cameraAlreadySet) {
    zelFramework::drawScene(scene, program, cameraAlreadySet, time, sphereInCurrentView);
}

}  // namespace RenderEngine
