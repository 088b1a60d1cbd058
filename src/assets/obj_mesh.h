// A model frame as flat, non-indexed per-vertex arrays: vertices 3t, 3t + 1, 3t + 2 form triangle t.
#pragma once

#include <cstdint>
#include <vector>

namespace zelFramework {

struct ObjMesh {
    uint32_t vertexCount = 0;      // N = 3 x number of triangles
    std::vector<float> positions;  // 3 per vertex
    std::vector<float> texCoords;  // 2 per vertex (zero when the file had no "vt" lines)
    std::vector<float> normals;    // 3 per vertex
};

}  // namespace zelFramework
