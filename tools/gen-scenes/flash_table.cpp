#include "flash_table.h"

#include "assets/byte_io.h"

namespace zelFramework::scenegen {

std::vector<uint8_t> encodeFlashTable(const std::vector<Vec3>& points) {
    std::vector<uint8_t> bytes;
    ByteWriter w(bytes);
    w.u32(uint32_t(points.size()));
    for (Vec3 p : points) {
        w.f32(p.x);
        w.f32(p.y);
        w.f32(p.z);
    }
    return bytes;
}

bool writeFlashTable(const std::vector<Vec3>& points, const std::string& path) {
    return writeWholeFile(path, encodeFlashTable(points));
}

}  // namespace zelFramework::scenegen
