// The width and height a picture file claims, read from its header: the only thing trusted before
// the decoder allocates anything for the picture.
#include "gl/picture_file.h"

#include <IL/il.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

namespace zelFramework {
namespace {

uint64_t le16(std::span<const uint8_t> b, size_t at) { return uint64_t(b[at]) | uint64_t(b[at + 1]) << 8; }
uint64_t be16(std::span<const uint8_t> b, size_t at) { return uint64_t(b[at]) << 8 | uint64_t(b[at + 1]); }
uint64_t be32(std::span<const uint8_t> b, size_t at) { return be16(b, at) << 16 | be16(b, at + 2); }

ClaimedSize claimed(uint64_t width, uint64_t height) { return {true, width, height, {}}; }

// A header too short to hold the size claims nothing the decoder could use: it is refused as
// "known" with 0 x 0, which the size check turns into a clear reason.
const ClaimedSize TRUNCATED{true, 0, 0, {}};

bool startsWith(std::span<const uint8_t> b, std::string_view magic) {
    return b.size() >= magic.size() && std::equal(magic.begin(), magic.end(), b.begin(),
                                                  [](char m, uint8_t c) { return uint8_t(m) == c; });
}

ClaimedSize wrongSignature(const char* format) {
    return {true, 0, 0, std::string("not a picture (no ") + format + " signature)"};
}

ClaimedSize pngSize(std::span<const uint8_t> b) {
    if (!startsWith(b, "\x89PNG\r\n\x1a\n")) return wrongSignature("PNG");
    if (b.size() < 24) return TRUNCATED;
    return claimed(be32(b, 16), be32(b, 20));
}

// The frame header (SOFn) holds the size; markers before it are skipped by their lengths.
ClaimedSize jpegSize(std::span<const uint8_t> b) {
    if (!startsWith(b, "\xFF\xD8")) return wrongSignature("JPEG");
    size_t at = 2;
    while (at + 4 <= b.size()) {
        if (b[at] != 0xFF) return TRUNCATED;
        const uint8_t marker = b[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > b.size()) return TRUNCATED;
            return claimed(be16(b, at + 7), be16(b, at + 5));
        }
        const uint64_t length = be16(b, at + 2);
        if (length < 2) return TRUNCATED;
        at += 2 + size_t(length);
    }
    return TRUNCATED;
}

// TGA has no signature. Uncompressed pictures (types 1 to 3) must hold all their pixels: the
// decoder would otherwise hand back a picture whose missing part is whatever its buffer held.
ClaimedSize tgaSize(std::span<const uint8_t> b) {
    if (b.size() < 18) return TRUNCATED;
    ClaimedSize size = claimed(le16(b, 12), le16(b, 14));
    const unsigned imageType = b[2];
    const unsigned bits = b[16];
    // Only true-colour (24 or 32 bits) and grey (8 bits) pictures, plain or run-length coded: the
    // library's palette conversion reads outside the palette for colour-mapped files.
    const bool trueColour = (imageType == 2 || imageType == 10) && (bits == 24 || bits == 32);
    const bool grey = (imageType == 3 || imageType == 11) && bits == 8;
    if (!trueColour && !grey) {
        size.problem = "a TGA kind the show does not read (type " + std::to_string(imageType) + ", " +
                       std::to_string(bits) + " bits; only 24- or 32-bit colour and 8-bit grey)";
        return size;
    }
    if (imageType == 2 || imageType == 3) {
        const uint64_t paletteBytes = b[1] ? le16(b, 5) * ((uint64_t(b[7]) + 7) / 8) : 0;
        const uint64_t pixelBytes = size.width * size.height * ((uint64_t(b[16]) + 7) / 8);
        if (18 + uint64_t(b[0]) + paletteBytes + pixelBytes > b.size())
            size.problem = "truncated (the file ends before its last pixel)";
    }
    return size;
}

}  // namespace

ClaimedSize claimedPictureSize(std::span<const uint8_t> bytes, unsigned type) {
    switch (type) {
    case IL_PNG: return pngSize(bytes);
    case IL_JPG: return jpegSize(bytes);
    case IL_TGA: return tgaSize(bytes);
    default: return {};
    }
}

std::string pictureSizeProblem(uint64_t width, uint64_t height, const PictureLimits& limits) {
    char text[160];
    if (width == 0 || height == 0) {
        std::snprintf(text, sizeof text, "no picture size in its header (%llu x %llu)", (unsigned long long)width,
                      (unsigned long long)height);
        return text;
    }
    // Each side is checked before the product, which then cannot wrap.
    if (width > limits.maxSide || height > limits.maxSide || width * height > limits.maxPixels) {
        std::snprintf(text, sizeof text, "%llu x %llu pixels is larger than the limit (%llu per side, %.3g million pixels)",
                      (unsigned long long)width, (unsigned long long)height, (unsigned long long)limits.maxSide,
                      double(limits.maxPixels) / (1024.0 * 1024.0));
        return text;
    }
    return {};
}

}  // namespace zelFramework
