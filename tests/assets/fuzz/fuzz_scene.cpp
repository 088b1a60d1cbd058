// Feeds arbitrary bytes to the scene reader. A refused file must leave an empty scene; an accepted one
// must write back to a file that reads the same, and its keys, vertex animation, camera and
// description must all be computable.
#include <cstdlib>
#include <string>
#include <vector>

#include "assets/orvo_scene_reader.h"
#include "assets/orvo_writer.h"
#include "assets/scene_camera_math.h"
#include "assets/scene_info.h"
#include "assets/scene_key_math.h"

using namespace zelFramework;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// A name field without its NUL is read whole (256 bytes), which the writer will not write back.
bool hasFullLengthName(const OrvoScene& scene) {
    for (const SceneObject& o : scene.objects)
        for (const std::string* n : {&o.name, &o.parentName, &o.materialName})
            if (n->size() >= 256) return true;
    for (const SceneMaterial& m : scene.materials)
        for (const std::string* n : {&m.name, &m.diffuseMap, &m.lightMap})
            if (n->size() >= 256) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OrvoScene scene;
    if (!parseOrvoScene(data, size, scene)) {
        require(scene.objectCount() == 0 && scene.materialCount() == 0 && scene.cameraSampleCount() == 0);
        return 0;
    }
    std::vector<uint8_t> bytes, again;
    if (encodeOrvoScene(scene, false, bytes)) {
        OrvoScene reread;
        require(parseOrvoScene(bytes.data(), bytes.size(), reread));
        require(encodeOrvoScene(reread, false, again));
        require(again == bytes);
    } else {
        require(hasFullLengthName(scene));
    }

    for (const SceneObject& o : scene.objects) {
        for (float s : {-1.0f, 0.0f, 12.5f, 1e9f}) {
            if (!o.keys.empty()) {
                float m[16];
                sceneKeyMatrix(evaluateSceneKeys(o.keys, s), m);
            }
            VertexAnimationStep step = vertexAnimationAt(o.frameTimes, s);
            if (step.source != SceneMeshSource::StaticFirstFrame) require(step.frame < o.frameCount());
        }
        for (uint32_t index : o.indices) require(o.vertexCount == 0 || index < o.vertexCount);
    }
    SceneCameraView view;
    for (float t : {-1.0f, 0.0f, 0.52f, 1e6f}) require(evaluateSceneCamera(scene, t, view) == !scene.cameraSamples.empty());
    describeScene(scene);
    return 0;
}
