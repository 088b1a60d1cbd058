// Builds a scene in code and writes it as a ".orvo" file, byte for byte in the format the loader reads.
//
//   OrvoWriter w;
//   SceneMaterial floor;
//   floor.name = "floor";
//   floor.diffuseMap = "floor.png";
//   w.addMaterial(floor);
//   SceneObjectDesc root;
//   root.name = "root";
//   w.addObject(root);
//   SceneObjectDesc box;
//   box.name = "box"; box.parent = "root"; box.materialName = "floor";
//   box.positions = {...}; box.normals = {...}; box.uvs = {...}; box.indices = {...};
//   box.keys = {sceneKey(0, {0, 0, 0}), sceneKey(48, {2, 0, 0})};
//   w.addObject(box);
//   w.addCameraSample(cameraLookAt({0, 2, 10}, {0, 0, 0}));
//   std::string error;
//   if (!w.writeFile("box.orvo", &error)) ...
//
// Object 0 is the root of the drawn tree; every other object is drawn only below the object whose name
// its `parent` names. Times are frame positions at 24 frames per second.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/orvo_scene.h"

namespace zelFramework {

// The whole mesh at one later frame of a vertex animation (same vertex count as the resting mesh).
struct SceneMeshPose {
    std::vector<Float3> positions;
    std::vector<Float3> normals;
};

struct SceneObjectDesc {
    std::string name;          // at most 255 bytes, like every name in the file
    std::string parent;        // name of the parent object; empty for the root
    std::string materialName;  // empty or unknown: default material, white textures

    std::vector<SceneKey> keys;  // increasing time; none = untransformed and visible

    // Mesh (optional): one entry per vertex in each of the three lists; indices three per triangle.
    std::vector<Float3> positions;
    std::vector<Float3> normals;
    std::vector<Float2> uvs;
    std::vector<uint32_t> indices;

    // Vertex animation (optional). frameTimes[0] is the time of the mesh above; laterFrames[k] is the
    // whole mesh at frameTimes[k + 1], so laterFrames has frameTimes.size() - 1 entries. Only the
    // vertices that differ from the frame before are stored.
    std::vector<float> frameTimes;
    std::vector<SceneMeshPose> laterFrames;
};

class OrvoWriter {
public:
    // Files may start with a marker (10000) and then the object count instead of the count itself;
    // both read the same. Off by default.
    bool countAfterMarker = false;

    void addObject(SceneObjectDesc object) { objects_.push_back(std::move(object)); }
    void addMaterial(SceneMaterial material) { materials_.push_back(std::move(material)); }
    void addCameraSample(const SceneCameraSample& sample) { cameraSamples_.push_back(sample); }
    void addAuxRecordA(const SceneAuxRecord& record) { auxA_.push_back(record); }
    void addAuxRecordB(const SceneAuxRecord& record) { auxB_.push_back(record); }

    const std::vector<SceneObjectDesc>& objects() const { return objects_; }
    std::vector<SceneObjectDesc>& objects() { return objects_; }

    // Checks every description (name lengths, list sizes, index ranges, frame counts) and builds the
    // scene as the loader would read it back (vertex animation expanded, tree and materials linked).
    // False with a message in `error` when a description is unusable; nothing is built then.
    bool build(OrvoScene& scene, std::string* error = nullptr) const;
    // The file's bytes; false (and no bytes) for an unusable description.
    bool encode(std::vector<uint8_t>& bytes, std::string* error = nullptr) const;
    // Writes the file (path relative to the current directory, '\' separators allowed).
    bool writeFile(const std::string& path, std::string* error = nullptr) const;

private:
    std::vector<SceneObjectDesc> objects_;
    std::vector<SceneMaterial> materials_;
    std::vector<SceneCameraSample> cameraSamples_;
    std::vector<SceneAuxRecord> auxA_;
    std::vector<SceneAuxRecord> auxB_;
};

// A key at frame position `time` (24 per second).
SceneKey sceneKey(float time, Float3 translation, Float3 rotation = {}, Float3 scale = {1, 1, 1}, bool visible = true);

// A camera sample looking from `eye` at `target`.
SceneCameraSample cameraLookAt(Float3 eye, Float3 target, Float3 up = {0, 1, 0}, float fovX = 60, float fovY = 30,
                               float nearPlane = 1, float farPlane = 1000);

// Writes a scene as it is held in memory (first block of positions and normals, the stored change
// lists), so that a loaded scene can be written back unchanged. False with a message when the scene
// holds something the format cannot carry (a name of 256 bytes or more, inconsistent list sizes).
bool encodeOrvoScene(const OrvoScene& scene, bool countAfterMarker, std::vector<uint8_t>& bytes,
                     std::string* error = nullptr);

}  // namespace zelFramework
