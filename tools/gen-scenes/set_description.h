// A set as the generator describes it: objects with meshes and keys, materials, a camera path and
// the pictures its materials name. `writeScene` hands it to the scene writer of the assets library.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "assets/orvo_scene.h"
#include "mesh.h"
#include "picture_job.h"

namespace zelFramework::scenegen {

struct SetObject {
    std::string name;
    std::string parent;    // empty for the root (object 0)
    std::string material;  // empty for an object without a mesh
    Mesh mesh;
    std::vector<SceneKey> keys;
};

struct SetDescription {
    std::string fileName;  // e.g. "Vexil2000.orvo"
    std::vector<SetObject> objects;
    std::vector<SceneMaterial> materials;
    std::vector<SceneCameraSample> camera;
    std::vector<PictureJob> pictures;  // every diffuse and light map the materials name, except:
    std::vector<std::string> picturesFromElsewhere;  // maps written by the picture generator

    // Adds an object; the first one added is the root.
    SetObject& add(std::string name, std::string parent, std::string material, Mesh mesh = {});
    SetObject* find(const std::string& name);
    size_t triangleCount() const;
};

// A material in the terms the sets use. Light maps are drawn like a matcap (the view-space normal
// picks the texel), so each names a soft, mostly bright sphere-shaded picture.
SceneMaterial makeMaterial(std::string name, std::string diffuseMap, std::string lightMap, Vec3 specular = {0.2f, 0.2f, 0.2f},
                           float roughness = 0.6f, float glow = 0, float reflection = 0);

// Writes the scene file into `outputDir`. False with a message when the writer refuses the data.
bool writeScene(const SetDescription& scene, const std::string& outputDir, std::string* error);

// Plain conversions to the format's types.
inline Float3 f3(Vec3 v) { return {v.x, v.y, v.z}; }

}  // namespace zelFramework::scenegen
