// Feeds arbitrary bytes to the flash table reader. An accepted table holds exactly the points its
// bytes carry; a refused one is empty.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "show/flash_table.h"

using namespace zelFramework;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<FlashPoint> points = {{1, 2, 3}};
    if (!decodeFlashTable({data, size}, points)) {
        if (!points.empty()) std::abort();
        return 0;
    }
    if (size != 4 + 12 * points.size()) std::abort();
    for (size_t i = 0; i < points.size(); ++i) {
        float xyz[3];
        std::memcpy(xyz, data + 4 + 12 * i, 12);
        if (std::memcmp(xyz, &points[i].x, 4) || std::memcmp(xyz + 1, &points[i].y, 4) ||
            std::memcmp(xyz + 2, &points[i].z, 4))
            std::abort();
    }
    return 0;
}
