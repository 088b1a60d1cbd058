// Bringing changed model files (OBJ frames, ".orvo" scenes) into the models already on screen: the
// objects that draw them stay where they are and take the new geometry in place.
#pragma once

#include <string>
#include <string_view>

namespace zelFramework {

class ObjModel;
struct OrvoScene;

struct ModelReloadReport {
    int reloaded = 0;      // models now drawing the new file
    int failed = 0;        // models that kept what they had, the file being unreadable or refused
    std::string problems;  // one line per failure, naming the file
};

// Every ObjModel is known from construction to destruction, so a reload never reaches a deleted one.
void rememberObjModel(ObjModel& model);
void forgetObjModel(ObjModel& model);

// A scene drawn by the renderer, with the flags it was loaded with; forgotten before it goes away.
void rememberSceneFile(std::string_view path, OrvoScene& scene, bool setView, bool setProjection);
void forgetSceneFile(const OrvoScene& scene);

// Reads `file` (relative to the resources folder; '\' and '/' count alike) again into every OBJ
// frame or scene loaded from it (an OBJ text newer than its cache is parsed again and the cache
// rewritten). Needs the show's context current.
ModelReloadReport reloadModelsFrom(std::string_view file);

// Deletes the vertex and index buffers prepareSceneObject made for the scene's objects.
void releaseSceneBuffers(OrvoScene& scene);

}  // namespace zelFramework
