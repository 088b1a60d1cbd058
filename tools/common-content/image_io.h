#pragma once
// Writing and reading the picture files of the show. No time stamps or other varying chunks are written,
// so the same Image always gives the same bytes.
#include <string>

#include "image.h"

namespace zelFramework::content {

enum class PngChannels { Rgb = 3, Rgba = 4 };

// Creates missing parent folders. Each writer returns false (and says why on stderr) on failure.
bool writePng(const std::string& path, const Image& img, PngChannels channels);
bool writeJpeg(const std::string& path, const Image& img, int quality);
// Reads an 8-bit or 16-bit PNG of any colour type into an Image; false when it cannot.
bool readPng(const std::string& path, Image& out);

// Quantises a channel value the way the writers do (rounded, clamped), for tests and tools.
unsigned char toByte(float v);

}  // namespace zelFramework::content
