// Scene descriptions the scene tests build on: named objects, square meshes and materials.
#pragma once

#include <string>
#include <vector>

#include "assets/orvo_writer.h"

namespace orvotest {

inline zelFramework::SceneObjectDesc sceneObject(const std::string& name, const std::string& parent,
                                                 const std::string& material = "") {
    zelFramework::SceneObjectDesc d;
    d.name = name;
    d.parent = parent;
    d.materialName = material;
    return d;
}

// The corners of a square of half-size h around (cx, cy) in the z = 0 plane, counter-clockwise.
inline std::vector<zelFramework::Float3> square(float cx, float cy, float h = 0.4f) {
    return {{cx - h, cy - h, 0}, {cx + h, cy - h, 0}, {cx + h, cy + h, 0}, {cx - h, cy + h, 0}};
}

// Two triangles facing +z with the whole texture on them.
inline zelFramework::SceneObjectDesc sceneQuad(const std::string& name, const std::string& parent,
                                               const std::string& material, float cx, float cy = 0,
                                               float h = 0.4f) {
    zelFramework::SceneObjectDesc d = sceneObject(name, parent, material);
    d.positions = square(cx, cy, h);
    d.normals.assign(4, zelFramework::Float3{0, 0, 1});
    d.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    d.indices = {0, 1, 2, 0, 2, 3};
    return d;
}

inline zelFramework::SceneMaterial sceneMaterial(const std::string& name, const std::string& diffuse,
                                                 const std::string& light = "") {
    zelFramework::SceneMaterial m;
    m.name = name;
    m.diffuseMap = diffuse;
    m.lightMap = light;
    return m;
}

}  // namespace orvotest
