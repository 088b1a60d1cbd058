#include "renderengine/orvo_wrap_model_render.h"

#include "assets/model_reload.h"
#include "assets/scene_draw.h"

namespace RenderEngine {

Orvo_WrapModelRender::~Orvo_WrapModelRender() { zelFramework::forgetSceneFile(scene); }

void Orvo_WrapModelRender::render(GLuint program, bool cameraAlreadySet) {
    zelFramework::drawScene(scene, program, cameraAlreadySet, time);
}

}  // namespace RenderEngine
