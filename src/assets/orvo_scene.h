// The in-memory form of a ".orvo" scene: a tree of objects with animated transforms, meshes with an
// optional vertex animation, materials, a baked camera path and two auxiliary record lists.
// Plain data only; reading, writing, preparing and drawing live in their own files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assets/scene_bounds.h"

namespace zelFramework {

class GL_Texture;

struct Float2 {
    float x = 0, y = 0;
};

struct Float3 {
    float x = 0, y = 0, z = 0;
};

// One key of an object's transform. `time` is a frame position (24 frames per second).
struct SceneKey {
    float time = 0;
    Float3 translation;
    Float3 rotatePivot;
    Float3 rotation;  // degrees: the first turns about Y, the second about X, the third about Z
    Float3 scale{1, 1, 1};
    Float3 scalePivot;
    uint8_t visible = 1;  // nonzero = visible; hides the whole subtree when 0
};

struct SceneMaterial {
    std::string name;
    Float3 unusedColor;  // stored in files, never used for drawing
    Float3 specularColor;
    float transparency = 0;  // anything from 0.00001 up keeps the object out of the opaque pass
    float roughness = 0;     // specular shininess = (1 - roughness) x 80
    uint8_t unusedBytes[2] = {0, 0};
    std::string diffuseMap;  // picture file name; a 4-channel picture keeps the object out of the opaque pass
    std::string lightMap;    // picture file name, may be empty (then "<diffuseMap>.light" is tried)
    float glowIntensity = 0;
    float reflectionIntensity = 0;
};

// One sample of the baked camera path; sample i belongs to animation frame i.
struct SceneCameraSample {
    uint32_t unused = 0;
    Float3 position;
    Float3 direction{0, 0, -1};  // the look-at point is position + direction
    Float3 up{0, 1, 0};
    float fovX = 60, fovY = 30;  // degrees
    float nearPlane = 1, farPlane = 1000;
};

// The 32-byte records of the two auxiliary lists: kept so that files stay readable, used by nothing.
struct SceneAuxRecord {
    uint32_t id = 0;
    Float3 a;
    Float3 b;
    float value = 0;
};

// GL objects of a drawable mesh, made by prepareSceneObject. Set 0 holds the first frame; set 1 holds
// the last frame of a vertex animation (shown once the animation has ended).
struct SceneMeshBuffers {
    enum { POSITIONS = 0, NORMALS = 1, TEXCOORDS = 2, INDICES = 3 };
    unsigned int sets[2][4] = {{0, 0, 0, 0}, {0, 0, 0, 0}};
    uint32_t indexCount = 0;  // of each set
    bool hasSecondSet = false;
    GL_Texture* diffuseTexture = nullptr;
    GL_Texture* lightTexture = nullptr;
    // The mesh shown while a vertex animation runs: a copy of block `currentFrame`.
    std::vector<float> workingPositions;
    std::vector<float> workingNormals;
    uint32_t currentFrame = 0;
    // Round every frame's vertices, in the object's coordinates.
    SceneBounds bounds;
};

struct SceneObject {
    std::string name;
    std::string parentName;
    std::string materialName;

    std::vector<SceneKey> keys;       // expected in increasing time
    std::vector<float> frameTimes;    // vertex-animation frames, as frame positions, increasing

    uint32_t vertexCount = 0;         // V: vertices of one frame
    // Positions and normals hold frameCount() blocks of V vertices once the vertex animation is
    // expanded (one block without animation); texture coordinates hold one block. A mesh without a
    // vertex animation is drawn from its buffers only: prepareSceneObject empties these four arrays
    // (and the indices) once they are in the buffers.
    std::vector<float> positions;     // 3 per vertex per block
    std::vector<float> texCoords;     // 2 per vertex
    std::vector<float> normals;       // 3 per vertex per block

    // The vertex animation as stored: frame f (1..F-1) changes changeCounts[f-1] vertices, taken in
    // order from the change lists.
    std::vector<uint32_t> changeCounts;
    std::vector<uint32_t> changeIndices;
    std::vector<float> changePositions;  // 3 per change
    std::vector<float> changeNormals;    // 3 per change

    std::vector<uint32_t> indices;    // three per triangle

    // Made at load time.
    std::vector<SceneObject*> children;  // objects whose parentName equals this name, in file order
    SceneMaterial* material = nullptr;   // the last material whose name equals materialName
    std::unique_ptr<SceneMeshBuffers> buffers;  // null for an object without a drawable mesh
    bool prepared = false;               // prepareSceneObject ran (objects shared by two parents run once)

    uint32_t keyCount() const { return uint32_t(keys.size()); }
    uint32_t frameCount() const { return uint32_t(frameTimes.size()); }
    uint32_t changeTotal() const { return uint32_t(changeIndices.size()); }
    uint32_t indexCount() const { return uint32_t(indices.size()); }
    uint32_t childCount() const { return uint32_t(children.size()); }
    // Number of position/normal blocks held (frameCount() after expansion, at least 1 with vertices).
    uint32_t blockCount() const { return vertexCount ? uint32_t(positions.size() / (3ull * vertexCount)) : 0; }
};

// A whole scene. Objects point at each other and at materials, so a scene can be moved but not
// copied (moving keeps every element where it is).
struct OrvoScene {
    std::vector<SceneObject> objects;  // object 0 is the root of the drawn tree
    std::vector<SceneMaterial> materials;
    std::vector<SceneCameraSample> cameraSamples;
    std::vector<SceneAuxRecord> auxRecordsA;
    std::vector<SceneAuxRecord> auxRecordsB;
    bool setView = false;        // applySceneCamera loads the camera's view into the modelview matrix
    bool setProjection = false;  // applySceneCamera loads the camera's frustum into the projection matrix

    OrvoScene() = default;
    OrvoScene(OrvoScene&&) = default;
    OrvoScene& operator=(OrvoScene&&) = default;
    OrvoScene(const OrvoScene&) = delete;
    OrvoScene& operator=(const OrvoScene&) = delete;

    uint32_t objectCount() const { return uint32_t(objects.size()); }
    uint32_t materialCount() const { return uint32_t(materials.size()); }
    uint32_t cameraSampleCount() const { return uint32_t(cameraSamples.size()); }
    uint32_t auxCountA() const { return uint32_t(auxRecordsA.size()); }
    uint32_t auxCountB() const { return uint32_t(auxRecordsB.size()); }
};

}  // namespace zelFramework
