// The binary cache kept beside each OBJ file ("<file>.bin"), and the loading rule that prefers it.
// Layout, little-endian, no header: N (u32), N x 3 floats positions, N x 3 floats normals, N x 2 floats
// texture coordinates; 4 + 32N bytes in all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/obj_mesh.h"

namespace zelFramework {

std::string objCachePath(const char* objPath);

// True when the bytes are exactly one cache (their size is 4 + 32N for the N they start with).
bool decodeObjCache(const uint8_t* data, size_t size, ObjMesh& mesh);
void encodeObjCache(const ObjMesh& mesh, std::vector<uint8_t>& bytes);

enum class ObjLoadSource { Nothing, Cache, Text };

// One frame of a model: the cache when there is a sound one (whatever the age of the OBJ file),
// otherwise the OBJ text, whose result is then written as the new cache. A cache whose size does not
// match its count is ignored with a WARNING and rebuilt. A refused OBJ text (bad face index) gives a
// WARNING naming the file and line, an empty mesh and no cache; with neither file nothing is read
// or written.
ObjLoadSource loadObjMesh(const char* objPath, ObjMesh& mesh);

}  // namespace zelFramework
