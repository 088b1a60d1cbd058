// Feeds arbitrary text to the OBJ reader. A refused model must come back empty with a reason; an
// accepted one must have at least one triangle and arrays that agree with its vertex count.
#include <cstdlib>
#include <string>

#include "assets/obj_parser.h"

using namespace zelFramework;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ObjMesh mesh;
    std::string problem;
    const bool ok = parseObjText(reinterpret_cast<const char*>(data), size, mesh, &problem);
    const size_t n = mesh.vertexCount;
    if (!ok && (n != 0 || !mesh.positions.empty() || problem.empty())) std::abort();
    if (ok && (n == 0 || n % 3 != 0 || mesh.positions.size() != 3 * n || mesh.normals.size() != 3 * n ||
               mesh.texCoords.size() != 2 * n))
        std::abort();
    return 0;
}
