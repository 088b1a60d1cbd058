// Filling a renderer: scenes, OBJ models and lights stored under their names.
#include "renderengine/renderer.h"

#include "assets/model_reload.h"
#include "assets/obj_model.h"
#include "assets/orvo_scene_reader.h"
#include "assets/scene_draw.h"
#include "gl/texture_manager.h"
#include "renderengine/orvo_wrap_model_render.h"

namespace RenderEngine {

void Renderer::addOrvoScene(const std::string& name, const std::string& sceneFile) {
    auto* wrapper = new Orvo_WrapModelRender();
    ownedModels.emplace_back(wrapper);
    // Cube faces keep the renderer's own view and projection, so the scene must not load its camera.
    const bool useSceneCamera = !(features & RE_CUBEMAP);
    zelFramework::loadOrvoScene(sceneFile.c_str(), useSceneCamera, wrapper->scene, useSceneCamera);
    zelFramework::rememberSceneFile(sceneFile, wrapper->scene, useSceneCamera, useSceneCamera);
    if (wrapper->scene.objectCount() > 0)
        zelFramework::prepareSceneObject(wrapper->scene.objects[0]);

    auto* record = new RenderObject();
    ownedObjects.emplace_back(record);
    record->model = wrapper;
    record->modelTime = &wrapper->time;
    objects[name] = record;
}

void Renderer::addObjModel(const std::string& name, const std::string& objFile,
                           zelFramework::GL_Texture* diffuseTexture, const std::string& matCapTextureName) {
    auto* model = new zelFramework::ObjModel();
    ownedModels.emplace_back(model);
    model->loadModel(objFile.c_str());

    auto* record = new RenderObject();
    ownedObjects.emplace_back(record);
    record->model = model;
    record->modelTime = &model->animPosition;
    record->diffuseTexture = diffuseTexture;
    if (!matCapTextureName.empty())
        record->matCapTexture =
            zelFramework::GL_TextureManager::getTexture(matCapTextureName.c_str(), GL_REPEAT, GL_REPEAT);
    objects[name] = record;
}

void Renderer::addLight(const std::string& name, const float position[3], const float color[3], float falloffDistance) {
    auto* record = new Light();
    ownedLights.emplace_back(record);
    for (int i = 0; i < 3; ++i) {
        record->position[i] = position[i];
        record->color[i] = color[i];
    }
    record->falloffDistance = falloffDistance;
    record->enabled = true;
    lights[name] = record;
}

}  // namespace RenderEngine
