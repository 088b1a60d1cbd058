// The model's nodes become objects (meshes on them, or on child objects when a node has several),
// its first animation becomes keys at every frame, its first camera the baked camera path.
#include "scene_import.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <set>

#include "import_transforms.h"

namespace zelFramework {
namespace {

constexpr size_t NAME_LIMIT = 255;
constexpr float DEGREES = 57.29577951f;
constexpr float DEFAULT_ASPECT = 2.28f;  // the show's picture

std::string format(const char* pattern, const std::string& a, double b = 0) {
    char line[512];
    std::snprintf(line, sizeof line, pattern, a.c_str(), b);
    return line;
}

class Importer {
public:
    Importer(const aiScene& scene, bool fromGltf, OrvoWriter& writer, ImportReport& report)
        : scene_(scene), fromGltf_(fromGltf), writer_(writer), report_(report),
          sampler_(scene.mNumAnimations > 0 ? scene.mAnimations[0] : nullptr) {}

    void run() {
        addMaterials();
        addNode(scene_.mRootNode, std::string());
        addCamera();
        reportTheRest();
    }

private:
    // Objects find their parent by name, so every name must be unique and fit its 255 bytes.
    std::string uniqueName(std::string wanted, const char* fallback) {
        if (wanted.empty()) wanted = fallback;
        if (wanted.size() > NAME_LIMIT - 8) wanted.resize(NAME_LIMIT - 8);
        std::string name = wanted;
        for (int n = 2; !usedNames_.insert(name).second; ++n) name = wanted + "_" + std::to_string(n);
        return name;
    }

    void addMaterials() {
        std::set<std::string> materialNames;
        for (unsigned i = 0; i < scene_.mNumMaterials; ++i) {
            const aiMaterial& source = *scene_.mMaterials[i];
            std::string name = source.GetName().C_Str();
            if (name.empty()) name = "material";
            if (name.size() > NAME_LIMIT - 8) name.resize(NAME_LIMIT - 8);
            std::string unique = name;
            for (int n = 2; !materialNames.insert(unique).second; ++n) unique = name + "_" + std::to_string(n);
            materialNames_.push_back(unique);
            writer_.addMaterial(convertMaterial(source, unique));
            ++report_.materials;
        }
    }

    std::string pictureName(const aiMaterial& source, aiTextureType type, const std::string& material) {
        aiString path;
        if (source.GetTexture(type, 0, &path) != AI_SUCCESS || path.length == 0) return std::string();
        std::string name = path.C_Str();
        if (name[0] == '*') {
            report_.notHeld.push_back("material " + material + ": its picture is stored inside the model (" + name +
                                      "); the format names picture files, so save it as a file and set it");
            return std::string();
        }
        if (name.size() > NAME_LIMIT) {
            report_.notHeld.push_back("material " + material + ": picture name longer than 255 bytes: " + name);
            return std::string();
        }
        if (std::find(report_.pictures.begin(), report_.pictures.end(), name) == report_.pictures.end())
            report_.pictures.push_back(name);
        return name;
    }

    SceneMaterial convertMaterial(const aiMaterial& source, const std::string& name) {
        SceneMaterial m;
        m.name = name;
        aiColor3D colour(1, 1, 1);
        if (source.Get(AI_MATKEY_BASE_COLOR, colour) != AI_SUCCESS) source.Get(AI_MATKEY_COLOR_DIFFUSE, colour);
        m.unusedColor = {colour.r, colour.g, colour.b};
        aiColor3D specular(0, 0, 0);
        if (source.Get(AI_MATKEY_COLOR_SPECULAR, specular) == AI_SUCCESS) m.specularColor = {specular.r, specular.g, specular.b};
        float opacity = 1.0f;
        if (source.Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS) m.transparency = std::clamp(1.0f - opacity, 0.0f, 1.0f);
        float roughness = 0.0f, shininess = 0.0f;
        if (source.Get(AI_MATKEY_ROUGHNESS_FACTOR, roughness) == AI_SUCCESS)
            m.roughness = std::clamp(roughness, 0.0f, 1.0f);
        else if (source.Get(AI_MATKEY_SHININESS, shininess) == AI_SUCCESS)
            m.roughness = std::clamp(1.0f - shininess / 80.0f, 0.0f, 1.0f);  // drawn as shininess (1 - r) x 80
        float reflectivity = 0.0f;
        if (source.Get(AI_MATKEY_REFLECTIVITY, reflectivity) == AI_SUCCESS) m.reflectionIntensity = reflectivity;
        aiColor3D emissive(0, 0, 0);
        if (source.Get(AI_MATKEY_COLOR_EMISSIVE, emissive) == AI_SUCCESS)
            m.glowIntensity = std::max({emissive.r, emissive.g, emissive.b});

        m.diffuseMap = pictureName(source, aiTextureType_BASE_COLOR, name);
        if (m.diffuseMap.empty()) m.diffuseMap = pictureName(source, aiTextureType_DIFFUSE, name);
        m.lightMap = pictureName(source, aiTextureType_LIGHTMAP, name);
        if (m.diffuseMap.empty() && (colour.r < 0.999f || colour.g < 0.999f || colour.b < 0.999f))
            report_.notHeld.push_back(format("material %s: its colour is not drawn (only its picture is); it draws white",
                                             name));
        static const std::pair<aiTextureType, const char*> unheld[] = {
            {aiTextureType_NORMALS, "normal"}, {aiTextureType_SPECULAR, "specular"},
            {aiTextureType_EMISSIVE, "emissive"}, {aiTextureType_HEIGHT, "height"},
            {aiTextureType_METALNESS, "metalness"}, {aiTextureType_DIFFUSE_ROUGHNESS, "roughness"},
            {aiTextureType_AMBIENT_OCCLUSION, "occlusion"}, {aiTextureType_OPACITY, "opacity"}};
        for (const auto& [type, label] : unheld)
            if (source.GetTextureCount(type) > 0)
                report_.notHeld.push_back("material " + name + ": " + label + " picture (the format has none)");
        return m;
    }

    void fillMesh(SceneObjectDesc& desc, const aiMesh& mesh) {
        const std::string label = desc.name;
        desc.positions.reserve(mesh.mNumVertices);
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            const aiVector3D& p = mesh.mVertices[v];
            desc.positions.push_back({p.x, p.y, p.z});
            const aiVector3D n = mesh.HasNormals() ? mesh.mNormals[v] : aiVector3D(0, 0, 1);
            desc.normals.push_back({n.x, n.y, n.z});
            const aiVector3D t = mesh.HasTextureCoords(0) ? mesh.mTextureCoords[0][v] : aiVector3D(0, 0, 0);
            // assimp hands out coordinates with v = 0 at the picture's bottom edge; the show puts the
            // file's first (top) row at t = 0, so v is turned over to keep pictures upright.
            desc.uvs.push_back({t.x, 1.0f - t.y});
        }
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices != 3) continue;  // points and lines; counted below
            desc.indices.insert(desc.indices.end(), {face.mIndices[0], face.mIndices[1], face.mIndices[2]});
        }
        if (desc.indices.size() / 3 < mesh.mNumFaces)
            report_.notHeld.push_back(format("mesh %s: %g points or lines left out (the format draws triangles)", label,
                                             double(mesh.mNumFaces - desc.indices.size() / 3)));
        if (!mesh.HasTextureCoords(0))
            report_.notHeld.push_back("mesh " + label + ": no texture coordinates; all are (0, 0)");
        if (mesh.GetNumUVChannels() > 1)
            report_.notHeld.push_back("mesh " + label + ": only the first of its texture-coordinate sets is kept");
        if (mesh.GetNumColorChannels() > 0) report_.notHeld.push_back("mesh " + label + ": vertex colours");
        if (mesh.HasBones())
            report_.notHeld.push_back("mesh " + label + ": skinning (bones); the mesh is kept in its rest pose");
        if (mesh.mNumAnimMeshes > 0) report_.notHeld.push_back("mesh " + label + ": morph targets");
        if (mesh.mMaterialIndex < materialNames_.size()) desc.materialName = materialNames_[mesh.mMaterialIndex];
        ++report_.meshes;
    }

    void addNode(const aiNode* node, const std::string& parent) {
        SceneObjectDesc desc;
        desc.name = uniqueName(node->mName.C_Str(), parent.empty() ? "root" : "node");
        desc.parent = parent;
        bool sheared = false;
        desc.keys = bakeNodeKeys(node, sampler_, sheared);
        if (sheared) report_.notHeld.push_back("node " + desc.name + ": a shear or mirror in its transform");
        report_.keys += int(desc.keys.size());
        const std::string name = desc.name;
        // One mesh sits on the node itself; several become children without keys of their own.
        if (node->mNumMeshes == 1) fillMesh(desc, *scene_.mMeshes[node->mMeshes[0]]);
        writer_.addObject(std::move(desc));
        ++report_.objects;
        if (node->mNumMeshes > 1) {
            for (unsigned i = 0; i < node->mNumMeshes; ++i) {
                const aiMesh& mesh = *scene_.mMeshes[node->mMeshes[i]];
                SceneObjectDesc part;
                part.name = uniqueName(name + ":" + (mesh.mName.length ? mesh.mName.C_Str() : std::to_string(i)), "mesh");
                part.parent = name;
                fillMesh(part, mesh);
                writer_.addObject(std::move(part));
                ++report_.objects;
            }
        }
        for (unsigned c = 0; c < node->mNumChildren; ++c) addNode(node->mChildren[c], name);
    }

    SceneCameraSample cameraSample(const aiCamera& camera, const aiMatrix4x4& world) const {
        aiMatrix3x3 turn(world);
        // assimp's glTF reader copies the node's translation into the camera as well, and stores
        // the vertical angle times the aspect as the horizontal one; elsewhere the camera sits
        // relative to its node and the value is half the horizontal angle.
        const aiVector3D position = world * (fromGltf_ ? aiVector3D(0, 0, 0) : camera.mPosition);
        aiVector3D direction = turn * camera.mLookAt;
        aiVector3D up = turn * camera.mUp;
        if (direction.Length() > 0) direction.Normalize();
        if (up.Length() > 0) up.Normalize();
        SceneCameraSample s;
        s.position = {position.x, position.y, position.z};
        s.direction = {direction.x, direction.y, direction.z};
        s.up = {up.x, up.y, up.z};
        const float aspect = camera.mAspect > 0 ? camera.mAspect : DEFAULT_ASPECT;
        const float halfX = fromGltf_ ? std::atan(aspect * std::tan(0.5f * camera.mHorizontalFOV / aspect))
                                      : camera.mHorizontalFOV;
        s.fovX = 2.0f * halfX * DEGREES;
        s.fovY = 2.0f * std::atan(std::tan(halfX) / aspect) * DEGREES;
        s.nearPlane = camera.mClipPlaneNear;
        s.farPlane = camera.mClipPlaneFar;
        return s;
    }

    void addCamera() {
        if (scene_.mNumCameras == 0) return;
        const aiCamera& camera = *scene_.mCameras[0];
        const aiNode* node = scene_.mRootNode->FindNode(camera.mName);
        if (!node) {
            report_.notHeld.push_back(format("camera %s: no node places it; left out", camera.mName.C_Str()));
            return;
        }
        const int frames = sampler_.movesInWorld(node) ? sampler_.lastFrame() : 0;
        for (int frame = 0; frame <= frames; ++frame) {
            writer_.addCameraSample(cameraSample(camera, sampler_.worldAt(node, float(frame))));
            ++report_.cameraSamples;
        }
        if (scene_.mNumCameras > 1)
            report_.notHeld.push_back(format("%g more cameras (the format has one camera path)", "",
                                             double(scene_.mNumCameras - 1)));
    }

    void reportTheRest() {
        if (scene_.mNumLights > 0)
            report_.notHeld.push_back(format("%g lights (the show places its lights in code)", "", double(scene_.mNumLights)));
        if (scene_.mNumAnimations > 1)
            report_.notHeld.push_back(format("%g more animations (only the first is baked into keys)", "",
                                             double(scene_.mNumAnimations - 1)));
        for (unsigned a = 0; a < std::min(scene_.mNumAnimations, 1u); ++a)
            if (scene_.mAnimations[a]->mNumMeshChannels > 0 || scene_.mAnimations[a]->mNumMorphMeshChannels > 0)
                report_.notHeld.push_back("vertex or morph animation channels of the first animation");
    }

    const aiScene& scene_;
    const bool fromGltf_;
    OrvoWriter& writer_;
    ImportReport& report_;
    AnimationSampler sampler_;
    std::set<std::string> usedNames_;
    std::vector<std::string> materialNames_;
};

}  // namespace

bool importModel(const std::string& modelPath, OrvoWriter& writer, ImportReport& report, std::string& error) {
    Assimp::Importer importer;
    // Points and lines are split off so that triangles stay together; normals are made where missing.
    const aiScene* scene = importer.ReadFile(modelPath, aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                                            aiProcess_JoinIdenticalVertices | aiProcess_SortByPType |
                                                            aiProcess_ValidateDataStructure);
    if (!scene || !scene->mRootNode) {
        error = "cannot read " + modelPath + ": " + importer.GetErrorString();
        return false;
    }
    if (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) {
        error = "cannot read " + modelPath + ": the model is incomplete";
        return false;
    }
    std::string extension = modelPath.substr(std::min(modelPath.size(), modelPath.rfind('.')));
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    Importer(*scene, extension == ".gltf" || extension == ".glb", writer, report).run();
    return true;
}

std::string describeImport(const ImportReport& report) {
    std::string out;
    char line[256];
    std::snprintf(line, sizeof line, "imported: %d objects, %d meshes, %d materials, %d keys, %d camera samples\n",
                  report.objects, report.meshes, report.materials, report.keys, report.cameraSamples);
    out += line;
    for (const std::string& picture : report.pictures)
        out += "picture: " + picture + " (the show looks for it under this name in its resources folder)\n";
    for (const std::string& missing : report.notHeld) out += "not held: " + missing + "\n";
    return out;
}

}  // namespace zelFramework
