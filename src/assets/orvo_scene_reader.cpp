#include "assets/orvo_scene_reader.h"

#include "app/trace.h"
#include "assets/byte_io.h"
#include "assets/orvo_scene_link.h"

namespace zelFramework {

namespace {

constexpr size_t NAME_FIELD = 256;
constexpr size_t KEY_BYTES = 65;
constexpr size_t MATERIAL_BYTES = 810;
constexpr size_t CAMERA_SAMPLE_BYTES = 56;
constexpr size_t AUX_RECORD_BYTES = 32;
constexpr size_t VERTEX_BYTES = 32;   // 3 + 2 + 3 floats
constexpr size_t CHANGE_BYTES = 28;   // index, position, normal
// Three names and the four counts every object has, whatever it holds.
constexpr size_t SMALLEST_OBJECT_BYTES = 3 * NAME_FIELD + 4 * 4;

// Reads go through this so that the first problem met is the one reported.
struct SceneParser {
    ByteReader in;
    std::string problem;
    std::string context;  // the object being read, put in front of its problems

    bool fail(std::string text) {
        if (problem.empty()) problem = context + std::move(text);
        return false;
    }

    // A count followed by `count` records of `recordSize` bytes each.
    bool count(uint32_t& n, size_t recordSize, const char* what) {
        if (!in.u32(n)) return fail(std::string("file ends before the ") + what + " count");
        if (!in.canHold(n, recordSize))
            return fail(std::to_string(n) + " " + what + " do not fit in the " + std::to_string(in.remaining()) +
                        " bytes left");
        return true;
    }

    bool float3(Float3& v) {
        float f[3];
        if (!in.f32x3(f)) return false;
        v = {f[0], f[1], f[2]};
        return true;
    }

    bool key(SceneKey& k) {
        return in.f32(k.time) && float3(k.translation) && float3(k.rotatePivot) && float3(k.rotation) &&
               float3(k.scale) && float3(k.scalePivot) && in.u8(k.visible);
    }

    bool object(SceneObject& o) {
        if (!in.fixedString(o.name, NAME_FIELD) || !in.fixedString(o.parentName, NAME_FIELD) ||
            !in.fixedString(o.materialName, NAME_FIELD))
            return fail("file ends inside the names of an object");
        context = "object \"" + o.name + "\": ";

        uint32_t keyCount;
        if (!count(keyCount, KEY_BYTES, "keys")) return false;
        o.keys.resize(keyCount);
        for (SceneKey& k : o.keys) key(k);  // all there: checked above

        uint32_t frameCount;
        if (!count(frameCount, 4, "frame times")) return false;
        in.array(o.frameTimes, frameCount);

        if (!count(o.vertexCount, VERTEX_BYTES, "vertices")) return false;
        in.array(o.positions, 3ull * o.vertexCount);
        in.array(o.texCoords, 2ull * o.vertexCount);
        in.array(o.normals, 3ull * o.vertexCount);

        if (frameCount > 1) {
            if (!in.array(o.changeCounts, frameCount - 1ull)) return fail("file ends inside the change counts");
            uint32_t changeTotal;
            if (!count(changeTotal, CHANGE_BYTES, "changed vertices")) return false;
            in.array(o.changeIndices, changeTotal);
            in.array(o.changePositions, 3ull * changeTotal);
            in.array(o.changeNormals, 3ull * changeTotal);
        }

        uint32_t indexCount;
        if (!count(indexCount, 4, "indices")) return false;
        in.array(o.indices, indexCount);
        context.clear();
        return true;
    }

    bool scene(OrvoScene& s) {
        uint32_t header;
        if (!in.u32(header)) return fail("file ends before its header");
        uint32_t objectCount = header;
        if (header == 0 || header >= 10000) {
            if (!in.u32(objectCount)) return fail("file ends before the object count");
        }
        if (!in.canHold(objectCount, SMALLEST_OBJECT_BYTES))
            return fail(std::to_string(objectCount) + " objects do not fit in the file");
        s.objects.resize(objectCount);
        for (SceneObject& o : s.objects)
            if (!object(o)) return false;

        uint32_t n;
        if (!count(n, MATERIAL_BYTES, "materials")) return false;
        s.materials.resize(n);
        for (SceneMaterial& m : s.materials) {
            in.fixedString(m.name, NAME_FIELD);
            float3(m.unusedColor);
            float3(m.specularColor);
            in.f32(m.transparency);
            in.f32(m.roughness);
            in.bytes(m.unusedBytes, 2);
            in.fixedString(m.diffuseMap, NAME_FIELD);
            in.fixedString(m.lightMap, NAME_FIELD);
            in.f32(m.glowIntensity);
            in.f32(m.reflectionIntensity);
        }

        if (!count(n, CAMERA_SAMPLE_BYTES, "camera samples")) return false;
        s.cameraSamples.resize(n);
        for (SceneCameraSample& c : s.cameraSamples) {
            in.u32(c.unused);
            float3(c.position);
            float3(c.direction);
            float3(c.up);
            in.f32(c.fovX);
            in.f32(c.fovY);
            in.f32(c.nearPlane);
            in.f32(c.farPlane);
        }

        uint32_t countA, countB;
        if (!in.u32(countA) || !in.u32(countB)) return fail("file ends before the auxiliary list counts");
        if (!in.canHold(uint64_t(countA) + countB, AUX_RECORD_BYTES))
            return fail("auxiliary records do not fit in the file");
        for (auto* list : {&s.auxRecordsA, &s.auxRecordsB}) {
            list->resize(list == &s.auxRecordsA ? countA : countB);
            for (SceneAuxRecord& r : *list) {
                in.u32(r.id);
                float3(r.a);
                float3(r.b);
                in.f32(r.value);
            }
        }
        return true;
    }
};

}  // namespace

bool parseOrvoScene(const uint8_t* data, size_t size, OrvoScene& scene, std::string* problem) {
    const bool view = scene.setView, projection = scene.setProjection;
    scene = OrvoScene{};
    scene.setView = view;
    scene.setProjection = projection;

    SceneParser parser{ByteReader(data, size), {}, {}};
    bool ok = parser.scene(scene);
    if (!ok) {
        if (problem) *problem = parser.problem;
        scene = OrvoScene{};
        scene.setView = view;
        scene.setProjection = projection;
        return false;
    }
    return finishScene(scene, problem);
}

OrvoScene& loadOrvoScene(const char* path, bool setView, OrvoScene& scene, bool setProjection) {
    scene = OrvoScene{};
    scene.setView = setView;
    scene.setProjection = setProjection;
    std::vector<uint8_t> bytes;
    std::string why = "is not named";
    if (!path || !readWholeFile(path, bytes, why)) {
        trace(TRACE_WARNING, "scene", "unable to open scene file %s: it %s", path ? path : "(null)", why.c_str());
        return scene;
    }
    std::string problem;
    if (!parseOrvoScene(bytes.data(), bytes.size(), scene, &problem))
        trace(TRACE_WARNING, "scene", "scene file %s is damaged (%s); the scene is left empty", path,
              problem.c_str());
    return scene;
}

}  // namespace zelFramework
