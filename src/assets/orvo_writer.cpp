#include "assets/orvo_writer.h"

#include <cmath>
#include <cstring>
#include <set>

#include "assets/byte_io.h"
#include "assets/orvo_scene_link.h"

namespace zelFramework {

namespace {

constexpr size_t NAME_FIELD = 256;

bool fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

// A name fits its 256-byte field with the terminating NUL, and holds no NUL of its own (it would end
// the name early when read back).
bool nameFits(const std::string& name) { return name.size() < NAME_FIELD && name.find('\0') == std::string::npos; }

bool checkName(const std::string& name, const std::string& what, std::string* error) {
    if (nameFits(name)) return true;
    return fail(error, what + " \"" + name.substr(0, 40) + "...\" does not fit its 255-byte field");
}

template <typename T, typename Less>
bool increasing(const std::vector<T>& v, Less less) {
    for (size_t i = 1; i < v.size(); ++i)
        if (less(v[i], v[i - 1])) return false;
    return true;
}

void appendFloat3(std::vector<float>& out, Float3 v) { out.insert(out.end(), {v.x, v.y, v.z}); }

bool sameFloat3(Float3 a, Float3 b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The stored form of one described object: flat lists and the changes between neighbouring frames.
bool buildObject(const SceneObjectDesc& d, SceneObject& o, std::string* error) {
    const std::string who = "object \"" + d.name + "\"";
    if (!checkName(d.name, "object name", error) || !checkName(d.parent, who + ": parent name", error) ||
        !checkName(d.materialName, who + ": material name", error))
        return false;
    const size_t v = d.positions.size();
    if (d.normals.size() != v) return fail(error, who + ": needs one normal per position");
    if (!d.uvs.empty() && d.uvs.size() != v) return fail(error, who + ": needs one uv per position (or none)");
    if (d.indices.size() % 3 != 0) return fail(error, who + ": indices must come three per triangle");
    for (uint32_t i : d.indices)
        if (i >= v) return fail(error, who + ": index " + std::to_string(i) + " beyond its " + std::to_string(v) + " vertices");
    if (!increasing(d.keys, [](const SceneKey& a, const SceneKey& b) { return a.time < b.time; }))
        return fail(error, who + ": keys must come in increasing time");
    if (!increasing(d.frameTimes, [](float a, float b) { return a < b; }))
        return fail(error, who + ": frame times must increase");
    if (!d.laterFrames.empty() || d.frameTimes.size() > 1) {
        if (d.laterFrames.size() + 1 != d.frameTimes.size())
            return fail(error, who + ": needs one later frame for every frame time after the first");
    }
    for (const SceneMeshPose& pose : d.laterFrames)
        if (pose.positions.size() != v || pose.normals.size() != v)
            return fail(error, who + ": every later frame needs one position and one normal per vertex");

    o.name = d.name;
    o.parentName = d.parent;
    o.materialName = d.materialName;
    o.keys = d.keys;
    o.frameTimes = d.frameTimes;
    o.vertexCount = uint32_t(v);
    o.positions.reserve(3 * v);
    o.normals.reserve(3 * v);
    o.texCoords.reserve(2 * v);
    for (size_t i = 0; i < v; ++i) {
        appendFloat3(o.positions, d.positions[i]);
        appendFloat3(o.normals, d.normals[i]);
        Float2 uv = d.uvs.empty() ? Float2{} : d.uvs[i];
        o.texCoords.insert(o.texCoords.end(), {uv.x, uv.y});
    }
    if (d.frameTimes.size() > 1) {
        const std::vector<Float3>* prevPos = &d.positions;
        const std::vector<Float3>* prevNrm = &d.normals;
        for (const SceneMeshPose& pose : d.laterFrames) {
            uint32_t changed = 0;
            for (size_t i = 0; i < v; ++i) {
                if (sameFloat3(pose.positions[i], (*prevPos)[i]) && sameFloat3(pose.normals[i], (*prevNrm)[i])) continue;
                o.changeIndices.push_back(uint32_t(i));
                appendFloat3(o.changePositions, pose.positions[i]);
                appendFloat3(o.changeNormals, pose.normals[i]);
                ++changed;
            }
            o.changeCounts.push_back(changed);
            prevPos = &pose.positions;
            prevNrm = &pose.normals;
        }
    }
    o.indices = d.indices;
    return true;
}

}  // namespace

bool OrvoWriter::build(OrvoScene& scene, std::string* error) const {
    OrvoScene built;
    built.objects.resize(objects_.size());
    std::set<std::string> names;
    for (const SceneObjectDesc& d : objects_) names.insert(d.name);
    for (size_t i = 0; i < objects_.size(); ++i) {
        if (!buildObject(objects_[i], built.objects[i], error)) return false;
        if (i > 0 && !names.count(objects_[i].parent))
            return fail(error, "object \"" + objects_[i].name + "\": parent \"" + objects_[i].parent +
                                   "\" is not in the scene, so it would never be drawn");
    }
    for (const SceneMaterial& m : materials_) {
        if (!checkName(m.name, "material name", error) || !checkName(m.diffuseMap, "diffuse map", error) ||
            !checkName(m.lightMap, "light map", error))
            return false;
    }
    built.materials = materials_;
    built.cameraSamples = cameraSamples_;
    built.auxRecordsA = auxA_;
    built.auxRecordsB = auxB_;
    if (!finishScene(built, error)) return false;
    scene = std::move(built);
    return true;
}

bool OrvoWriter::encode(std::vector<uint8_t>& bytes, std::string* error) const {
    OrvoScene scene;
    bytes.clear();
    return build(scene, error) && encodeOrvoScene(scene, countAfterMarker, bytes, error);
}

bool OrvoWriter::writeFile(const std::string& path, std::string* error) const {
    std::vector<uint8_t> bytes;
    if (!encode(bytes, error)) return false;
    if (!writeWholeFile(path, bytes)) return fail(error, "unable to write " + path);
    return true;
}

SceneKey sceneKey(float time, Float3 translation, Float3 rotation, Float3 scale, bool visible) {
    SceneKey k;
    k.time = time;
    k.translation = translation;
    k.rotation = rotation;
    k.scale = scale;
    k.visible = visible ? 1 : 0;
    return k;
}

SceneCameraSample cameraLookAt(Float3 eye, Float3 target, Float3 up, float fovX, float fovY, float nearPlane,
                               float farPlane) {
    SceneCameraSample c;
    c.position = eye;
    c.direction = {target.x - eye.x, target.y - eye.y, target.z - eye.z};
    c.up = up;
    c.fovX = fovX;
    c.fovY = fovY;
    c.nearPlane = nearPlane;
    c.farPlane = farPlane;
    return c;
}

namespace {

void writeFloat3(ByteWriter& w, Float3 v) {
    w.f32(v.x);
    w.f32(v.y);
    w.f32(v.z);
}

void writeFirstBlock(ByteWriter& w, const std::vector<float>& values, size_t count) {
    w.bytes(values.data(), count * sizeof(float));
}

}  // namespace

bool encodeOrvoScene(const OrvoScene& scene, bool countAfterMarker, std::vector<uint8_t>& bytes, std::string* error) {
    bytes.clear();
    for (const SceneObject& o : scene.objects) {
        const std::string who = "object \"" + o.name + "\"";
        if (!checkName(o.name, "object name", error) || !checkName(o.parentName, who + ": parent name", error) ||
            !checkName(o.materialName, who + ": material name", error) || !checkSceneObject(o, error))
            return false;
    }
    for (const SceneMaterial& m : scene.materials)
        if (!checkName(m.name, "material name", error) || !checkName(m.diffuseMap, "diffuse map", error) ||
            !checkName(m.lightMap, "light map", error))
            return false;

    ByteWriter w(bytes);
    const uint32_t count = scene.objectCount();
    // A count of 0 or 10000 and more cannot stand alone: the reader would take it for the marker.
    if (countAfterMarker || count == 0 || count >= 10000) w.u32(10000);
    w.u32(count);
    for (const SceneObject& o : scene.objects) {
        w.fixedString(o.name, NAME_FIELD);
        w.fixedString(o.parentName, NAME_FIELD);
        w.fixedString(o.materialName, NAME_FIELD);
        w.u32(o.keyCount());
        for (const SceneKey& k : o.keys) {
            w.f32(k.time);
            writeFloat3(w, k.translation);
            writeFloat3(w, k.rotatePivot);
            writeFloat3(w, k.rotation);
            writeFloat3(w, k.scale);
            writeFloat3(w, k.scalePivot);
            w.u8(k.visible);
        }
        w.u32(o.frameCount());
        w.array(o.frameTimes);
        w.u32(o.vertexCount);
        writeFirstBlock(w, o.positions, 3ull * o.vertexCount);
        w.array(o.texCoords);
        writeFirstBlock(w, o.normals, 3ull * o.vertexCount);
        if (o.frameCount() > 1) {
            w.array(o.changeCounts);
            w.u32(o.changeTotal());
            w.array(o.changeIndices);
            w.array(o.changePositions);
            w.array(o.changeNormals);
        }
        w.u32(o.indexCount());
        w.array(o.indices);
    }
    w.u32(scene.materialCount());
    for (const SceneMaterial& m : scene.materials) {
        w.fixedString(m.name, NAME_FIELD);
        writeFloat3(w, m.unusedColor);
        writeFloat3(w, m.specularColor);
        w.f32(m.transparency);
        w.f32(m.roughness);
        w.bytes(m.unusedBytes, 2);
        w.fixedString(m.diffuseMap, NAME_FIELD);
        w.fixedString(m.lightMap, NAME_FIELD);
        w.f32(m.glowIntensity);
        w.f32(m.reflectionIntensity);
    }
    w.u32(scene.cameraSampleCount());
    for (const SceneCameraSample& c : scene.cameraSamples) {
        w.u32(c.unused);
        writeFloat3(w, c.position);
        writeFloat3(w, c.direction);
        writeFloat3(w, c.up);
        w.f32(c.fovX);
        w.f32(c.fovY);
        w.f32(c.nearPlane);
        w.f32(c.farPlane);
    }
    w.u32(scene.auxCountA());
    w.u32(scene.auxCountB());
    for (const auto* list : {&scene.auxRecordsA, &scene.auxRecordsB})
        for (const SceneAuxRecord& r : *list) {
            w.u32(r.id);
            writeFloat3(w, r.a);
            writeFloat3(w, r.b);
            w.f32(r.value);
        }
    return true;
}

}  // namespace zelFramework
