#include "assets/obj_cache.h"

#include <cstdio>
#include <cstring>

#include "app/trace.h"
#include "assets/byte_io.h"
#include "assets/obj_parser.h"

namespace zelFramework {

namespace {

constexpr const char* TAG = "model";
constexpr char MAGIC[4] = {'O', 'B', 'J', 'C'};
constexpr size_t HEADERLESS_ARRAYS_AT = 4;

template <typename T>
T valueAt(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

uint64_t cacheBytes(uint64_t vertexCount, uint64_t arraysAt) { return arraysAt + 32 * vertexCount; }

// The three arrays, read where they lie into the mesh's own memory: no buffer between file and mesh.
bool readArrays(FILE* f, long arraysAt, uint32_t n, ObjMesh& mesh) {
    if (std::fseek(f, arraysAt, SEEK_SET) != 0) return false;
    mesh.vertexCount = n;
    mesh.positions.resize(3 * size_t(n));
    mesh.normals.resize(3 * size_t(n));
    mesh.texCoords.resize(2 * size_t(n));
    for (FloatArray* a : {&mesh.positions, &mesh.normals, &mesh.texCoords})
        if (std::fread(a->data(), sizeof(float), a->size(), f) != a->size()) return false;
    return true;
}

enum class CacheRead { Loaded, Absent, Refused };

// Reads the cache when it is sound and was made from the text as it is now (`text` null: there is
// no text, and any sound cache serves). A cache that cannot serve is said in a trace line.
CacheRead readCache(const std::string& cachePath, const char* objPath, const FileStamp* text, ObjMesh& mesh) {
    FileStamp cacheStamp;
    ReadFault fault;
    std::string problem;
    FILE* f = openFileChecked(cachePath, FILE_READ_LIMIT, cacheStamp, fault, problem);
    if (!f && fault == ReadFault::Missing) return CacheRead::Absent;

    uint32_t n = 0;
    FileStamp madeFrom;
    ObjCacheLayout layout = ObjCacheLayout::Damaged;
    const bool opened = f != nullptr;
    if (opened) {
        uint8_t head[OBJ_CACHE_HEADER_BYTES];
        const size_t got = std::fread(head, 1, sizeof head, f);
        layout = inspectObjCache(head, got, cacheStamp.size, n, madeFrom);
        switch (layout) {
            case ObjCacheLayout::Current:
                if (text && !(madeFrom == *text)) problem = "was made from an earlier state of the OBJ text";
                break;
            case ObjCacheLayout::Headerless:
                if (text) problem = "has the first cache layout, without a header";
                break;
            case ObjCacheLayout::OtherVersion:
                problem = "is of another version of the cache layout";
                break;
            case ObjCacheLayout::Damaged:
                problem = "does not match its size";
                break;
        }
        const long arraysAt = long(layout == ObjCacheLayout::Current ? OBJ_CACHE_HEADER_BYTES : HEADERLESS_ARRAYS_AT);
        if (problem.empty() && !readArrays(f, arraysAt, n, mesh)) problem = "cannot be read in full";
        std::fclose(f);
        if (problem.empty()) return CacheRead::Loaded;
        mesh = ObjMesh{};
    }
    // A cache that is merely out of date is ordinary after an edit; damage is worth a warning.
    const bool outOfDate = opened && layout != ObjCacheLayout::Damaged;
    if (text) {
        trace(outOfDate ? TRACE_INFO : TRACE_WARNING, TAG, "model cache %s %s; rebuilding it from %s",
              cachePath.c_str(), problem.c_str(), objPath);
    } else {
        trace(TRACE_WARNING, TAG, "model cache %s %s, and there is no OBJ text %s to rebuild it from",
              cachePath.c_str(), problem.c_str(), objPath);
    }
    return CacheRead::Refused;
}

}  // namespace

std::string objCachePath(const char* objPath) { return std::string(objPath) + ".bin"; }

ObjCacheLayout inspectObjCache(const uint8_t* head, size_t headBytes, uint64_t fileSize, uint32_t& vertexCount,
                               FileStamp& stamp) {
    vertexCount = 0;
    if (headBytes >= 8 && std::memcmp(head, MAGIC, 4) == 0) {
        if (valueAt<uint32_t>(head + 4) != OBJ_CACHE_VERSION) return ObjCacheLayout::OtherVersion;
        if (headBytes < OBJ_CACHE_HEADER_BYTES) return ObjCacheLayout::Damaged;
        const uint32_t n = valueAt<uint32_t>(head + 8);
        // Only models with triangles are cached, so a count of 0 (or not a whole triangle) is damage.
        if (n == 0 || n % 3 != 0 || n > OBJ_MAX_VERTICES || valueAt<uint32_t>(head + 12) != 0 ||
            fileSize != cacheBytes(n, OBJ_CACHE_HEADER_BYTES))
            return ObjCacheLayout::Damaged;
        vertexCount = n;
        stamp.size = valueAt<uint64_t>(head + 16);
        stamp.modifiedNs = valueAt<int64_t>(head + 24);
        return ObjCacheLayout::Current;
    }
    if (headBytes >= 4 && fileSize == cacheBytes(valueAt<uint32_t>(head), HEADERLESS_ARRAYS_AT)) {
        vertexCount = valueAt<uint32_t>(head);
        return ObjCacheLayout::Headerless;
    }
    return ObjCacheLayout::Damaged;
}

ObjCacheLayout decodeObjCache(const uint8_t* data, size_t size, ObjMesh& mesh, FileStamp* stamp) {
    mesh = ObjMesh{};
    uint32_t n = 0;
    FileStamp madeFrom;
    const ObjCacheLayout layout = inspectObjCache(data, size, size, n, madeFrom);
    if (layout != ObjCacheLayout::Current && layout != ObjCacheLayout::Headerless) return layout;
    ByteReader in(data, size);
    in.skip(layout == ObjCacheLayout::Current ? OBJ_CACHE_HEADER_BYTES : HEADERLESS_ARRAYS_AT);
    mesh.vertexCount = n;
    in.array(mesh.positions, 3ull * n);
    in.array(mesh.normals, 3ull * n);
    in.array(mesh.texCoords, 2ull * n);
    if (stamp) *stamp = madeFrom;
    return layout;
}

void encodeObjCache(const ObjMesh& mesh, const FileStamp& source, std::vector<uint8_t>& bytes) {
    bytes.clear();
    bytes.reserve(cacheBytes(mesh.vertexCount, OBJ_CACHE_HEADER_BYTES));
    ByteWriter w(bytes);
    w.bytes(MAGIC, 4);
    w.u32(OBJ_CACHE_VERSION);
    w.u32(mesh.vertexCount);
    w.u32(0);
    w.bytes(&source.size, 8);
    w.bytes(&source.modifiedNs, 8);
    w.array(mesh.positions);
    w.array(mesh.normals);
    w.array(mesh.texCoords);
}

ObjLoadSource loadObjMesh(const char* objPath, ObjMesh& mesh) {
    mesh = ObjMesh{};
    const std::string cachePath = objCachePath(objPath);
    FileStamp textNow;
    const bool haveText = fileStamp(objPath, textNow);
    const CacheRead cache = readCache(cachePath, objPath, haveText ? &textNow : nullptr, mesh);
    if (cache == CacheRead::Loaded) return ObjLoadSource::Cache;
    if (cache == CacheRead::Refused && !haveText) return ObjLoadSource::Nothing;

    std::vector<uint8_t> bytes;
    std::string problem;
    FileStamp textRead;
    if (readFileChecked(std::string_view(objPath), bytes, problem, OBJ_TEXT_LIMIT, &textRead) != ReadFault::None) {
        trace(TRACE_WARNING, TAG, "model %s cannot be read: it %s", objPath, problem.c_str());
        return ObjLoadSource::Nothing;
    }
    if (!parseObjText(reinterpret_cast<const char*>(bytes.data()), bytes.size(), mesh, &problem)) {
        trace(TRACE_WARNING, TAG, "model %s refused: %s", objPath, problem.c_str());
        return ObjLoadSource::Nothing;
    }
    // Without a cache the model still loads; the next run parses the text again.
    encodeObjCache(mesh, textRead, bytes);
    if (!writeWholeFile(cachePath, bytes))
        trace(TRACE_INFO, TAG, "model cache %s cannot be written; %s will be parsed again next time",
              cachePath.c_str(), objPath);
    return ObjLoadSource::Text;
}

}  // namespace zelFramework
