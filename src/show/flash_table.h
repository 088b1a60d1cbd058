// The points of the stadium's camera flashes, read once from "data\flashtable.bin": a u32 count, then
// that many (x, y, z) triples of 32-bit floats, little-endian. The stadium scales them by 10.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zelFramework {

struct FlashPoint {
    float x, y, z;
};

constexpr const char* FLASH_TABLE_FILE = "data\\flashtable.bin";

// The table in `bytes`; false (and an empty table) when the count does not match the bytes.
bool decodeFlashTable(std::span<const uint8_t> bytes, std::vector<FlashPoint>& points);

// The process-wide table, read on first use. A missing or damaged file leaves it empty with one
// WARNING, and the stadium then shows no flashes.
const std::vector<FlashPoint>& flashTable();

// Reads the table again from the file (tests point the resources folder elsewhere).
void reloadFlashTable();

}  // namespace zelFramework
