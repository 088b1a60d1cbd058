// Wavefront OBJ text as other programs write it: "v", "vt" and "vn" lines, and faces of three or more
// corners written as p, p/t, p//n or p/t/n, with absolute (1-based) or relative (negative) indices.
// Polygons are cut into a fan of triangles from their first corner; corners without a normal take
// the normal of their face. Groups, objects, materials, smoothing groups, lines, points and every
// other statement are read past, as is everything after a "#". Carriage returns count as blanks, so
// CRLF files read like LF files, and a line ending in '\' goes on in the next line.
// The show's own models (triangles as p/t/n) read exactly as they always have.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "assets/obj_mesh.h"

namespace zelFramework {

// No model of the show comes near this; it keeps a hostile file from asking for gigabytes.
constexpr uint32_t OBJ_MAX_VERTICES = 30'000'000;

// Parses OBJ text held in memory and expands its faces into `mesh`. False, with `mesh` empty and
// `problem` saying why, for text that is not a model: UTF-16 or binary data, a statement that cannot
// be read, an index of 0 or outside its list, no face at all, or more than OBJ_MAX_VERTICES.
// Problems in one place name the line ("line 12: ...").
bool parseObjText(const char* text, size_t size, ObjMesh& mesh, std::string* problem = nullptr);

}  // namespace zelFramework
