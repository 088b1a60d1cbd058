// Feeds arbitrary bytes to the model cache reader. Whatever it accepts must encode back to the same bytes.
#include <cstdlib>
#include <vector>

#include "assets/obj_cache.h"

using namespace zelFramework;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ObjMesh mesh;
    if (!decodeObjCache(data, size, mesh)) {
        if (mesh.vertexCount != 0 || !mesh.positions.empty()) std::abort();
        return 0;
    }
    std::vector<uint8_t> again;
    encodeObjCache(mesh, again);
    if (again != std::vector<uint8_t>(data, data + size)) std::abort();
    return 0;
}
