// Feeds arbitrary bytes to the picture decoder as each format it reads (PNG, JPEG, TGA), and as BMP,
// PSD and GIF, which it must always refuse. The first byte picks the format (by the name's extension, as a file of that name
// would be read); the rest is the file. A success must describe exactly the pixels it returns and
// keep the size limits.
#include <cstdlib>
#include <iterator>
#include <string>

#include "gl/picture_file.h"

using namespace zelFramework;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const NAMES[] = {"fuzz.png", "fuzz.jpg", "fuzz.tga", "fuzz.bmp", "fuzz.psd", "fuzz.gif"};
    if (size < 1) return 0;
    const std::string name = NAMES[data[0] % std::size(NAMES)];
    DecodedPicture picture;
    std::string why;
    // Tighter than the show's limits, so that one input costs milliseconds, not seconds, under the
    // sanitizers; the checks are the same code.
    const PictureLimits limits{4096, 1024 * 1024};
    const bool ok = decodePicture({data + 1, size - 1}, name, picture, why, limits);
    if (ok && (name == "fuzz.bmp" || name == "fuzz.psd" || name == "fuzz.gif")) std::abort();
    if (!ok) {
        if (why.empty() || !picture.pixels.empty()) std::abort();
        return 0;
    }
    if (picture.bytesPerPixel != 3 && picture.bytesPerPixel != 4) std::abort();
    if (name == "fuzz.jpg" && picture.bytesPerPixel != 3) std::abort();  // JPEG has no alpha
    if (!pictureSizeProblem(uint64_t(picture.width), uint64_t(picture.height), limits).empty()) std::abort();
    if (picture.pixels.size() != size_t(picture.width) * size_t(picture.height) * size_t(picture.bytesPerPixel))
        std::abort();
    // Touch every byte, so a buffer shorter than it claims shows up under the address checker.
    unsigned sum = 0;
    for (uint8_t b : picture.pixels) sum += b;
    return int(sum & 0);
}
