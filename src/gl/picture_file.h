// Reading picture files safely: what a file claims before it is decoded, the limits every picture
// must keep, and decoding into tightly packed 8-bit RGB or RGBA rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/uninitialised_allocator.h"

namespace zelFramework {

// The largest picture accepted: no side above 16384 pixels (the largest texture drivers make) and no
// more than 64 million pixels (256 MB as RGBA). Anything larger is refused before it is decoded.
constexpr int MAX_PICTURE_SIDE = 16384;
constexpr uint64_t MAX_PICTURE_PIXELS = 64ull * 1024 * 1024;
// Every scan of a JPEG costs a pass over the whole picture, however few bytes it has. Encoders
// write up to a dozen or two (a progressive colour picture from libjpeg has 10); a file with more
// than this is refused as it is read.
constexpr uint64_t MAX_JPEG_SCANS = 100;
struct PictureLimits {
    uint64_t maxSide = MAX_PICTURE_SIDE;
    uint64_t maxPixels = MAX_PICTURE_PIXELS;
    uint64_t maxJpegScans = MAX_JPEG_SCANS;
};

// Picture files above this size are refused unread.
constexpr uint64_t MAX_PICTURE_FILE_BYTES = 256ull * 1024 * 1024;

// Decoded pictures are tens of megabytes that the decoder or the resampler writes in full right
// after allocating them; a zero fill first would cost a pass over the memory for nothing.
using PixelBytes = std::vector<uint8_t, UninitialisedAllocator<uint8_t>>;

struct DecodedPicture {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;  // 3 or 4
    PixelBytes pixels;      // rows top first, tightly packed; every byte written by the decoder
};

// The size a picture file says it has, read from its header without decoding anything.
struct ClaimedSize {
    bool known = false;  // false for formats whose header is not read here
    uint64_t width = 0;  // 0 x 0 when the header is too short to say
    uint64_t height = 0;
    // Empty, or why the bytes cannot be a picture of this format (wrong signature, pixels missing).
    std::string problem;
};

// `type` is the image library's type code for the bytes (from the name's extension or the contents).
ClaimedSize claimedPictureSize(std::span<const uint8_t> bytes, unsigned type);

// Empty when a picture of that size may be decoded, else the reason it may not.
std::string pictureSizeProblem(uint64_t width, uint64_t height, const PictureLimits& limits = {});

// Decodes the bytes of a PNG, JPEG or TGA file; `name` picks the format by its extension, as the
// file's own name would (the signature decides when the extension is not a picture's). Safe to call
// from any thread. On false `why` says what is wrong and `out` is
// left as it was.
// `limits` are the show's own unless a caller (the fuzz test) needs them tighter.
bool decodePicture(std::span<const uint8_t> bytes, const std::string& name, DecodedPicture& out, std::string& why,
                   const PictureLimits& limits = {});

// The decoders decodePicture picks from, for bytes whose header it has checked: PNG through libpng
// and JPEG through libjpeg (any number at once; a JPEG always arrives as RGB), TGA through the
// image library (`type` its type code; one at a time, behind a lock).
bool decodePng(std::span<const uint8_t> bytes, DecodedPicture& out, std::string& why, const PictureLimits& limits);
bool decodeJpeg(std::span<const uint8_t> bytes, DecodedPicture& out, std::string& why, const PictureLimits& limits);
bool decodeWithImageLibrary(std::span<const uint8_t> bytes, unsigned type, DecodedPicture& out, std::string& why,
                            const PictureLimits& limits);

// The checks decodePicture makes before decoding: size of the file, a format it reads, the header's
// signature and claimed size within the limits. On false `why` says what is wrong.
bool pictureHeaderAllows(std::span<const uint8_t> bytes, const std::string& name, std::string& why,
                         const PictureLimits& limits = {});

// Reads a picture file's bytes unchecked except for being a regular file within the file size limit.
bool readPictureBytes(const char* path, std::vector<uint8_t>& bytes, std::string& why);

// Reads and decodes a picture file (name relative to the current folder, '\' separators allowed).
// On false `why` names the reason: missing, not a regular file, too large, not a picture.
bool readPictureFile(const char* path, DecodedPicture& out, std::string& why);

// Turns the rows over in place (the first row becomes the last).
void flipPictureRows(DecodedPicture& picture);

// The picture at `width` x `height` (each at most its own size): every new pixel is the average of
// the area of the original it covers, colour weighted by alpha. Drawn over that area it shows what a
// well-filtered draw of the original would; the same size gives the picture unchanged.
DecodedPicture resamplePicture(const DecodedPicture& picture, int width, int height);

// The smaller levels of a mipmapped texture, level 1 onwards: each half the size of the one before
// (rounded down, at least 1 pixel) down to 1 x 1, each the area average of the level before.
std::vector<DecodedPicture> smallerLevels(const DecodedPicture& picture);

// For a mipmapped picture never drawn over more than `width` x `height` pixels: a draw reads no level
// larger than the smallest level that still covers that area in both directions, so the levels above
// it are dropped and it becomes the picture, its smaller levels after it unchanged. Every draw then
// shows the pixels it showed before (exactly where the dropped levels' sides were even).
void dropUnreadLevels(DecodedPicture& picture, std::vector<DecodedPicture>& smaller, int width, int height);

}  // namespace zelFramework
