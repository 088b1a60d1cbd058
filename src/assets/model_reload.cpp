// The registries of loaded models and the in-place reloads of their files.
#include "assets/model_reload.h"

#include <GL/glew.h>

#include <algorithm>
#include <vector>

#include "app/trace.h"
#include "assets/obj_cache.h"
#include "assets/obj_model.h"
#include "assets/orvo_scene_reader.h"
#include "assets/scene_draw.h"
#include "platform/platform.h"

namespace zelFramework {
namespace {

constexpr const char* TAG = "modelReload";

struct SceneFileEntry {
    std::string path;
    OrvoScene* scene = nullptr;
    bool setView = false;
    bool setProjection = false;
};

std::vector<ObjModel*>& objModels() {
    static std::vector<ObjModel*> models;
    return models;
}

std::vector<SceneFileEntry>& sceneFiles() {
    static std::vector<SceneFileEntry> scenes;
    return scenes;
}

std::string sameSpelling(std::string_view name) { return nativePath(name).lexically_normal().generic_string(); }

template <typename Floats>
void refill(GLuint buffer, const Floats& values) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(values.size() * sizeof(float)), values.data(), GL_STATIC_DRAW);
}

// The cache knows which text it was made from, so a changed text is parsed again (and the cache
// rewritten); the loader has traced why when nothing could be read.
bool readObjText(const std::string& path, ObjMesh& mesh, std::string& problem) {
    if (loadObjMesh(path.c_str(), mesh) == ObjLoadSource::Nothing || mesh.vertexCount == 0) {
        problem = path + ": not a usable OBJ model";
        return false;
    }
    return true;
}

void reloadObjFrames(const std::string& wanted, ModelReloadReport& report) {
    bool parsed = false, refused = false;
    ObjMesh mesh;
    std::string problem;
    for (ObjModel* model : objModels()) {
        for (ObjFrame& frame : model->frames) {
            if (frame.sourcePath.empty() || sameSpelling(frame.sourcePath) != wanted) continue;
            if (!parsed && !refused) {
                parsed = readObjText(frame.sourcePath, mesh, problem);
                refused = !parsed;
            }
            if (refused) {
                ++report.failed;
                continue;
            }
            frame.mesh = mesh;
            refill(frame.positionBuffer, mesh.positions);
            refill(frame.normalBuffer, mesh.normals);
            refill(frame.texCoordBuffer, mesh.texCoords);
            ++report.reloaded;
        }
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (refused) {
        report.problems += problem + "\n";
        trace(TRACE_WARNING, TAG, "model %s kept as it was", problem.c_str());
    }
}

void reloadScenes(const std::string& wanted, ModelReloadReport& report) {
    for (SceneFileEntry& entry : sceneFiles()) {
        if (sameSpelling(entry.path) != wanted) continue;
        OrvoScene fresh;
        loadOrvoScene(entry.path.c_str(), entry.setView, fresh, entry.setProjection);
        if (fresh.objectCount() == 0) {
            // The reader has traced why; the scene on screen stays.
            ++report.failed;
            report.problems += entry.path + ": not a readable scene, the last one stays\n";
            continue;
        }
        prepareSceneObject(fresh.objects[0]);
        releaseSceneBuffers(*entry.scene);
        // Moving the vectors keeps every object where it is, so the tree's own pointers stay valid.
        *entry.scene = std::move(fresh);
        ++report.reloaded;
        trace(TRACE_INFO, TAG, "scene %s reloaded", entry.path.c_str());
    }
}

}  // namespace

void rememberObjModel(ObjModel& model) { objModels().push_back(&model); }

void forgetObjModel(ObjModel& model) {
    auto& models = objModels();
    models.erase(std::remove(models.begin(), models.end(), &model), models.end());
}

void rememberSceneFile(std::string_view path, OrvoScene& scene, bool setView, bool setProjection) {
    forgetSceneFile(scene);
    sceneFiles().push_back({std::string(path), &scene, setView, setProjection});
}

void forgetSceneFile(const OrvoScene& scene) {
    auto& scenes = sceneFiles();
    scenes.erase(std::remove_if(scenes.begin(), scenes.end(), [&](const SceneFileEntry& e) { return e.scene == &scene; }),
                 scenes.end());
}

ModelReloadReport reloadModelsFrom(std::string_view file) {
    ModelReloadReport report;
    const std::string wanted = sameSpelling(file);
    reloadObjFrames(wanted, report);
    reloadScenes(wanted, report);
    return report;
}

void releaseSceneBuffers(OrvoScene& scene) {
    for (SceneObject& object : scene.objects) {
        if (!object.buffers) continue;
        for (auto& set : object.buffers->sets) {
            glDeleteBuffers(4, set);
            std::fill(std::begin(set), std::end(set), 0u);
        }
    }
}

}  // namespace zelFramework
