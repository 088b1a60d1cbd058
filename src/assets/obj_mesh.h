// A model frame as flat, non-indexed per-vertex arrays: vertices 3t, 3t + 1, 3t + 2 form triangle t.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/uninitialised_allocator.h"

namespace zelFramework {

using FloatArray = std::vector<float, UninitialisedAllocator<float>>;

struct ObjMesh {
    uint32_t vertexCount = 0;  // N = 3 x number of triangles
    FloatArray positions;      // 3 per vertex
    FloatArray texCoords;      // 2 per vertex (zero where the file gave none)
    FloatArray normals;        // 3 per vertex
};

}  // namespace zelFramework
