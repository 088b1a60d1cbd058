// The flash table file: the points of the stadium's camera flashes, read by the stadium layer.
// Layout (little-endian): u32 count N, then N x (x, y, z) as 32-bit floats; nothing else. The layer
// multiplies every point by 10 to place it in the stadium scene.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry.h"

namespace zelFramework::scenegen {

constexpr const char* kFlashTableName = "data\\flashtable.bin";
constexpr size_t kFlashTableSize = 11155;

std::vector<uint8_t> encodeFlashTable(const std::vector<Vec3>& points);
bool writeFlashTable(const std::vector<Vec3>& points, const std::string& path);

}  // namespace zelFramework::scenegen
