#include "assets/scene_info.h"

#include <algorithm>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace zelFramework {

namespace {

void append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void append(std::string& out, const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out += line;
}

void describeObject(std::string& out, const SceneObject& o, int depth) {
    append(out, "%*s- %s", depth * 2, "", o.name.c_str());
    if (o.vertexCount) append(out, "  mesh %u vertices, %u triangles", o.vertexCount, o.indexCount() / 3);
    if (o.keyCount()) append(out, "  keys %u (frames %g..%g)", o.keyCount(), o.keys.front().time, o.keys.back().time);
    if (o.frameCount()) append(out, "  vertex frames %u (%u changes)", o.frameCount(), o.changeTotal());
    if (!o.materialName.empty()) append(out, "  material %s%s", o.materialName.c_str(), o.material ? "" : " (missing)");
    out += "\n";
}

// Depth-first from the root, as the scene is drawn; an object under two parents is listed under each.
void describeTree(std::string& out, const SceneObject& o, int depth, std::vector<const SceneObject*>& seen) {
    describeObject(out, o, depth);
    seen.push_back(&o);
    for (const SceneObject* child : o.children) describeTree(out, *child, depth + 1, seen);
}

}  // namespace

std::string describeScene(const OrvoScene& scene) {
    std::string out;
    append(out, "objects: %u\n", scene.objectCount());
    std::vector<const SceneObject*> seen;
    if (!scene.objects.empty()) describeTree(out, scene.objects[0], 1, seen);
    bool headed = false;
    for (const SceneObject& o : scene.objects) {
        if (std::find(seen.begin(), seen.end(), &o) != seen.end()) continue;
        if (!headed) out += "not drawn (no path from the root):\n";
        headed = true;
        describeObject(out, o, 1);
    }

    uint64_t vertices = 0, triangles = 0;
    float lo[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                   std::numeric_limits<float>::max()};
    float hi[3] = {-lo[0], -lo[1], -lo[2]};
    for (const SceneObject& o : scene.objects) {
        vertices += o.vertexCount;
        triangles += o.indexCount() / 3;
        for (size_t i = 0; i + 2 < o.positions.size(); i += 3)
            for (int a = 0; a < 3; ++a) {
                lo[a] = std::min(lo[a], o.positions[i + a]);
                hi[a] = std::max(hi[a], o.positions[i + a]);
            }
    }
    append(out, "meshes: %" PRIu64 " vertices, %" PRIu64 " triangles\n", vertices, triangles);
    if (vertices)
        append(out, "bounding box (object coordinates): (%g, %g, %g) .. (%g, %g, %g)\n", lo[0], lo[1], lo[2], hi[0],
               hi[1], hi[2]);

    append(out, "materials: %u\n", scene.materialCount());
    for (const SceneMaterial& m : scene.materials)
        append(out, "  - %s  diffuse \"%s\"  light \"%s\"  transparency %g  roughness %g  glow %g  reflection %g\n",
               m.name.c_str(), m.diffuseMap.c_str(), m.lightMap.c_str(), m.transparency, m.roughness, m.glowIntensity,
               m.reflectionIntensity);

    append(out, "camera samples: %u", scene.cameraSampleCount());
    if (!scene.cameraSamples.empty()) {
        const SceneCameraSample& c = scene.cameraSamples.front();
        append(out, " (%.2f s at 24 per second); first at (%g, %g, %g) looking (%g, %g, %g), fov %g x %g, near %g far %g",
               scene.cameraSampleCount() / 24.0, c.position.x, c.position.y, c.position.z, c.direction.x,
               c.direction.y, c.direction.z, c.fovX, c.fovY, c.nearPlane, c.farPlane);
    }
    out += "\n";
    append(out, "auxiliary records: %u + %u\n", scene.auxCountA(), scene.auxCountB());
    return out;
}

}  // namespace zelFramework
