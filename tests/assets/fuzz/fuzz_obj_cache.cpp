// Feeds arbitrary bytes to the model cache reader. A cache of the current layout that it accepts must
// encode back to the same bytes; a headerless one must hold the same arrays; a refused one leaves an
// empty mesh. The header inspection used on files must agree with the whole-buffer decoding.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "assets/obj_cache.h"

using namespace zelFramework;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ObjMesh mesh;
    FileStamp stamp;
    const ObjCacheLayout layout = decodeObjCache(data, size, mesh, &stamp);
    uint32_t n = 0;
    FileStamp inspected;
    if (inspectObjCache(data, size < OBJ_CACHE_HEADER_BYTES ? size : OBJ_CACHE_HEADER_BYTES, size, n, inspected) !=
        layout)
        std::abort();
    if (layout != ObjCacheLayout::Current && layout != ObjCacheLayout::Headerless) {
        if (mesh.vertexCount != 0 || !mesh.positions.empty()) std::abort();
        return 0;
    }
    if (n != mesh.vertexCount || mesh.positions.size() != 3ull * n || mesh.texCoords.size() != 2ull * n) std::abort();
    std::vector<uint8_t> again;
    encodeObjCache(mesh, stamp, again);
    if (layout == ObjCacheLayout::Current) {
        if (!(inspected == stamp) || again != std::vector<uint8_t>(data, data + size)) std::abort();
    } else if (size < 4 || again.size() - OBJ_CACHE_HEADER_BYTES != size - 4 ||
               std::memcmp(again.data() + OBJ_CACHE_HEADER_BYTES, data + 4, size - 4) != 0) {
        std::abort();
    }
    return 0;
}
