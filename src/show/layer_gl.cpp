#include "show/layer_gl.h"

#include <cstdio>

#include "gl/fbo_texture.h"
#include "gl/gltk.h"
#include "gl/texture_manager.h"
#include "platform/platform.h"
#include "renderengine/renderer.h"
#include "sync/controller.h"

namespace zelFramework {

float valueOf(const Controller* controller) { return controller ? controller->value : 0.0f; }

GL_FBOTexture* findFinalTarget() {
    return dynamic_cast<GL_FBOTexture*>(GL_TextureManager::getTexture("finalTarget", GL_REPEAT, GL_REPEAT));
}

bool bindPicture(GL_Texture* picture, GLenum unit) {
    if (!picture) return false;
    picture->bind(unit);
    return true;
}

void unbindPicture(GL_Texture* picture) {
    if (picture) picture->unbind();
}

void beginFinalTarget(GL_FBOTexture* finalTarget) {
    if (!finalTarget) return;
    finalTarget->begin();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void endFinalTarget(GL_FBOTexture* finalTarget) {
    if (finalTarget) finalTarget->end();
}

void drawScenery(RenderEngine::Renderer& renderer) {
    glColor3f(1.0f, 1.0f, 1.0f);
    if (!bindPicture(renderer.sceneryTarget)) return;
    drawQuad(false, 1.0f, 0.0f, 0.0f, 0.0f);
    renderer.sceneryTarget->unbind();
}

void drawSceneryIntoFinal(RenderEngine::Renderer& renderer, GL_FBOTexture* finalTarget) {
    beginFinalTarget(finalTarget);
    drawScenery(renderer);
    endFinalTarget(finalTarget);
}

GL_Texture* reflectionPicture() { return GL_TextureManager::getTexture("reflection.png", GL_REPEAT, GL_REPEAT); }

bool assetFileExists(const std::string& name) {
    FILE* file = openFile(name, "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

}  // namespace zelFramework
