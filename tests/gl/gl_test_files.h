// Helpers for the GL resource tests: PNG files written with libpng, JPEG files with libjpeg, and a scratch folder that is
// the current directory for as long as it lives.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orvotest {

// Writes `pixels` (rows top-down, tightly packed, big-endian for 16-bit depths) as a PNG of the given
// libpng colour type (PNG_COLOR_TYPE_GRAY, _GRAY_ALPHA, _RGB, _RGBA) and bit depth (8 or 16).
bool writePng(const std::filesystem::path& path, int width, int height, int colorType, int bitDepth,
              const std::vector<uint8_t>& pixels);

// What encodeJpeg writes: `components` 1 (grey), 3 (RGB, stored as YCbCr) or 4 (CMYK, stored as is).
struct JpegForm {
    int components = 3;
    bool progressive = false;
    bool adobeMarker = true;  // for CMYK: the mark that says the inks are stored inverted
    int quality = 95;
};

// `pixels` (rows top-down, tightly packed) as the bytes of a JPEG file written by libjpeg.
std::string encodeJpeg(int width, int height, const std::vector<uint8_t>& pixels, const JpegForm& form = {});

// A fresh folder under the system temp folder; the process works inside it until destruction.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Writes a file (folders made as needed) relative to the scratch folder.
    void write(const std::string& relative, const std::string& bytes) const;
    std::string read(const std::string& relative) const;

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

}  // namespace orvotest
