// The Wavefront OBJ subset the show's exporter writes: "v", "vn", "vt" and triangles given as
// position/texture/normal index triples. "#", "mtllib" and "o" lines are skipped, every other token is
// ignored, and carriage returns count as absent, so CRLF files read like LF files.
#pragma once

#include <cstddef>
#include <string>

#include "assets/obj_mesh.h"

namespace zelFramework {

// Parses OBJ text held in memory and expands its faces into `mesh`. A face index of 0, a negative
// index or one beyond its list refuses the whole model: false, `mesh` empty, and `problem` says which
// line ("line 12: ...").
bool parseObjText(const char* text, size_t size, ObjMesh& mesh, std::string* problem = nullptr);

}  // namespace zelFramework
