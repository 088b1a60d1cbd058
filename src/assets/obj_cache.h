// The binary cache kept beside each OBJ file ("<file>.bin"), and the loading rule that prefers it.
//
// Layout, little-endian: a 32-byte header, then N x 3 floats positions, N x 3 floats normals and
// N x 2 floats texture coordinates (32 + 32N bytes in all). The header: "OBJC", the layout version
// (u32), N (u32), 0 (u32), then the stamp of the OBJ text the cache was made from: its size (u64) and
// modification time (i64, nanoseconds since 1970).
// Caches of the first layout (no header: N, then the same arrays, 4 + 32N bytes) are still read when
// their OBJ text is gone; beside their text they are rebuilt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/obj_mesh.h"
#include "platform/file_read.h"

namespace zelFramework {

constexpr uint32_t OBJ_CACHE_VERSION = 2;
constexpr size_t OBJ_CACHE_HEADER_BYTES = 32;
// OBJ text larger than this is refused before it is read.
constexpr uint64_t OBJ_TEXT_LIMIT = uint64_t(256) << 20;

std::string objCachePath(const char* objPath);

enum class ObjCacheLayout {
    Damaged,  // neither layout, or sizes that disagree with the count
    Current,  // this version, with the stamp of its text
    OtherVersion,
    Headerless,  // the first layout
};

// What the first bytes of a cache file of `fileSize` bytes say it is; `mesh.vertexCount` and
// `stamp` are filled from a current header, `mesh.vertexCount` from a headerless one.
ObjCacheLayout inspectObjCache(const uint8_t* head, size_t headBytes, uint64_t fileSize, uint32_t& vertexCount,
                               FileStamp& stamp);

// Whole caches in memory (the fuzz target and the tests). Decoding takes both layouts.
ObjCacheLayout decodeObjCache(const uint8_t* data, size_t size, ObjMesh& mesh, FileStamp* stamp = nullptr);
void encodeObjCache(const ObjMesh& mesh, const FileStamp& source, std::vector<uint8_t>& bytes);

enum class ObjLoadSource { Nothing, Cache, Text };

// One frame of a model: the cache when it is sound and made from the OBJ text as it is now (or the
// text is gone), read straight into the mesh arrays; otherwise the OBJ text, whose result is then
// written as the new cache. A cache that is damaged, of another layout or older than its text is
// rebuilt with a trace line saying why. A refused OBJ text (not text, a bad statement or index, no
// faces) gives a WARNING naming the file and the reason, an empty mesh and no cache; so does a name
// that is missing or is no ordinary file.
ObjLoadSource loadObjMesh(const char* objPath, ObjMesh& mesh);

}  // namespace zelFramework
