#include "assets/obj_cache.h"

#include "app/trace.h"
#include "assets/byte_io.h"
#include "assets/obj_parser.h"

namespace zelFramework {

std::string objCachePath(const char* objPath) { return std::string(objPath) + ".bin"; }

bool decodeObjCache(const uint8_t* data, size_t size, ObjMesh& mesh) {
    mesh = ObjMesh{};
    ByteReader in(data, size);
    uint32_t n;
    if (!in.u32(n) || uint64_t(in.remaining()) != 32ull * n) return false;
    mesh.vertexCount = n;
    in.array(mesh.positions, 3ull * n);
    in.array(mesh.normals, 3ull * n);
    in.array(mesh.texCoords, 2ull * n);
    return true;
}

void encodeObjCache(const ObjMesh& mesh, std::vector<uint8_t>& bytes) {
    bytes.clear();
    bytes.reserve(4 + 32ull * mesh.vertexCount);
    ByteWriter w(bytes);
    w.u32(mesh.vertexCount);
    w.array(mesh.positions);
    w.array(mesh.normals);
    w.array(mesh.texCoords);
}

ObjLoadSource loadObjMesh(const char* objPath, ObjMesh& mesh) {
    mesh = ObjMesh{};
    const std::string cachePath = objCachePath(objPath);
    std::vector<uint8_t> bytes;
    if (readWholeFile(cachePath, bytes)) {
        if (decodeObjCache(bytes.data(), bytes.size(), mesh)) return ObjLoadSource::Cache;
        trace(TRACE_WARNING, "model", "model cache %s does not match its size; rebuilding it from %s", cachePath.c_str(),
              objPath);
    }

    if (!readWholeFile(objPath, bytes)) return ObjLoadSource::Nothing;
    std::string problem;
    if (!parseObjText(reinterpret_cast<const char*>(bytes.data()), bytes.size(), mesh, &problem)) {
        trace(TRACE_WARNING, "model", "model %s refused: %s", objPath, problem.c_str());
        return ObjLoadSource::Nothing;
    }
    // Without a cache the model still loads; the next run parses the text again.
    encodeObjCache(mesh, bytes);
    writeWholeFile(cachePath, bytes);
    return ObjLoadSource::Text;
}

}  // namespace zelFramework
