// Writes 8-bit RGB pictures as PNG files, byte for byte the same for the same pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelFramework {

// `rows` holds height rows of width x 3 bytes, the bottom row first (as OpenGL reads them); the file
// shows the top row first. False (with a WARNING trace line) when the file cannot be written.
bool writePngBottomUp(const std::string& path, int width, int height, const std::vector<uint8_t>& rows);

// The same file without the trace line: on false `why` names the file and the reason. Safe to call
// from any thread.
bool encodePngFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rows, std::string& why);

}  // namespace zelFramework
