#include "show/flash_table.h"

#include "app/trace.h"
#include "assets/byte_io.h"

namespace zelFramework {

namespace {

std::vector<FlashPoint>& table() {
    static std::vector<FlashPoint> points;
    return points;
}

bool& loaded() {
    static bool done = false;
    return done;
}

}  // namespace

bool decodeFlashTable(std::span<const uint8_t> bytes, std::vector<FlashPoint>& points) {
    points.clear();
    ByteReader in(bytes.data(), bytes.size());
    uint32_t count = 0;
    if (!in.u32(count) || uint64_t(in.remaining()) != uint64_t(count) * 12u) return false;
    points.resize(count);
    for (FlashPoint& p : points) {
        in.f32(p.x);
        in.f32(p.y);
        in.f32(p.z);
    }
    return true;
}

void reloadFlashTable() {
    loaded() = true;
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readWholeFile(FLASH_TABLE_FILE, bytes, why)) {
        table().clear();
        trace(TRACE_WARNING, "stadium", "flash table %s %s; the stadium shows no flashes", FLASH_TABLE_FILE,
              why.c_str());
        return;
    }
    if (!decodeFlashTable(bytes, table()))
        trace(TRACE_WARNING, "stadium", "flash table %s is damaged; the stadium shows no flashes", FLASH_TABLE_FILE);
}

const std::vector<FlashPoint>& flashTable() {
    if (!loaded()) reloadFlashTable();
    return table();
}

}  // namespace zelFramework
