#include "set_description.h"

#include "assets/orvo_writer.h"

namespace zelFramework::scenegen {

SetObject& SetDescription::add(std::string name, std::string parent, std::string material, Mesh mesh) {
    objects.push_back({std::move(name), std::move(parent), std::move(material), std::move(mesh), {}});
    return objects.back();
}

SetObject* SetDescription::find(const std::string& name) {
    for (SetObject& o : objects)
        if (o.name == name) return &o;
    return nullptr;
}

size_t SetDescription::triangleCount() const {
    size_t n = 0;
    for (const SetObject& o : objects) n += o.mesh.triangleCount();
    return n;
}

SceneMaterial makeMaterial(std::string name, std::string diffuseMap, std::string lightMap, Vec3 specular,
                           float roughness, float glow, float reflection) {
    SceneMaterial m;
    m.name = std::move(name);
    m.diffuseMap = std::move(diffuseMap);
    m.lightMap = std::move(lightMap);
    m.unusedColor = {1, 1, 1};
    m.specularColor = f3(specular);
    m.roughness = roughness;
    m.transparency = 0;
    m.glowIntensity = glow;
    m.reflectionIntensity = reflection;
    return m;
}

bool writeScene(const SetDescription& scene, const std::string& outputDir, std::string* error) {
    OrvoWriter writer;
    for (const SceneMaterial& m : scene.materials) writer.addMaterial(m);
    for (const SetObject& o : scene.objects) {
        SceneObjectDesc d;
        d.name = o.name;
        d.parent = o.parent;
        d.materialName = o.material;
        d.keys = o.keys;
        d.positions.reserve(o.mesh.positions.size());
        for (size_t i = 0; i < o.mesh.positions.size(); ++i) {
            d.positions.push_back(f3(o.mesh.positions[i]));
            d.normals.push_back(f3(o.mesh.normals[i]));
            d.uvs.push_back({o.mesh.uvs[i].x, o.mesh.uvs[i].y});
        }
        d.indices = o.mesh.indices;
        writer.addObject(std::move(d));
    }
    for (const SceneCameraSample& c : scene.camera) writer.addCameraSample(c);
    return writer.writeFile(outputDir + "/" + scene.fileName, error);
}

}  // namespace zelFramework::scenegen
