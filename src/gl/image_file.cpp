// The one reader of picture files: it checks each file's header and claimed size before anything
// is decoded, then hands PNG to libpng, JPEG to libjpeg and TGA to the image library (DevIL).
#include "gl/picture_file.h"
#include "gl/texture.h"

#include "platform/file_read.h"
#include "platform/platform.h"

#include <IL/il.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

namespace zelFramework {
namespace {

// The image library keeps one process-wide "current image": two decodes at once would write into
// each other, so every use of it holds this lock.
std::mutex& libraryLock() {
    static std::mutex lock;
    return lock;
}

bool formatHasAlpha(ILint format) {
    switch (format) {
    case IL_RGBA:
    case IL_BGRA:
    case IL_LUMINANCE_ALPHA:
    case IL_ALPHA:
        return true;
    case IL_COLOUR_INDEX: {
        ILint palette = ilGetInteger(IL_PALETTE_TYPE);
        return palette == IL_PAL_RGBA32 || palette == IL_PAL_BGRA32;
    }
    default:
        return false;
    }
}

// Callers upload 3 or 4 bytes per pixel as GL_RGB / GL_RGBA. Anything else the library may hand us
// (grey, grey with alpha, palette, 16-bit or float channels, blue-first order) would otherwise be
// registered as a texture with nothing, or the wrong bytes, in it; convert it to what they expect.
bool normaliseBoundImage(std::string& why) {
    ILint format = ilGetInteger(IL_IMAGE_FORMAT);
    ILint type = ilGetInteger(IL_IMAGE_TYPE);
    if ((format == IL_RGB || format == IL_RGBA) && type == IL_UNSIGNED_BYTE)
        return true;
    ILenum target = formatHasAlpha(format) ? IL_RGBA : IL_RGB;
    if (ilConvertImage(target, IL_UNSIGNED_BYTE))
        return true;
    char text[96];
    std::snprintf(text, sizeof text, "cannot convert format 0x%X, type 0x%X to RGB", unsigned(format), unsigned(type));
    why = text;
    return false;
}

// Copies the bound image out, trusting nothing the library says: the size it reports must fit the
// limits and the buffer it really holds, computed without wrapping.
bool copyBoundImage(DecodedPicture& out, std::string& why, const PictureLimits& limits) {
    const ILint w = ilGetInteger(IL_IMAGE_WIDTH);
    const ILint h = ilGetInteger(IL_IMAGE_HEIGHT);
    const ILint bpp = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
    const ILubyte* data = ilGetData();
    if (w <= 0 || h <= 0 || (bpp != 3 && bpp != 4) || !data) {
        why = "the decoder gave no usable picture";
        return false;
    }
    why = pictureSizeProblem(uint64_t(w), uint64_t(h), limits);
    if (!why.empty()) return false;
    const uint64_t needed = uint64_t(w) * uint64_t(h) * uint64_t(bpp);
    const uint64_t held = uint64_t(uint32_t(ilGetInteger(IL_IMAGE_SIZE_OF_DATA)));
    if (held < needed) {
        why = "the decoder's buffer is smaller than the picture it claims (damaged file)";
        return false;
    }
    out.pixels.assign(data, data + size_t(needed));
    out.width = w;
    out.height = h;
    out.bytesPerPixel = bpp;
    return true;
}

// The format of a file of this name: by its extension, as the image library would pick it, else by
// the signature of its contents (TGA has none, so it needs its extension).
ILenum pictureType(std::span<const uint8_t> bytes, const std::string& name) {
    const ILenum type = ilTypeFromExt(name.c_str());  // compares the extension only
    if (type != IL_TYPE_UNKNOWN) return type;
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) == 0) return IL_PNG;
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return IL_JPG;
    return IL_TYPE_UNKNOWN;
}

// Empty when the header allows decoding, else why not. A signature that does not fit says more than
// its missing size; otherwise the size comes first.
std::string headerProblem(const ClaimedSize& claimed, const PictureLimits& limits) {
    const bool sized = claimed.width != 0 || claimed.height != 0;
    std::string why = sized || claimed.problem.empty() ? pictureSizeProblem(claimed.width, claimed.height, limits)
                                                       : claimed.problem;
    return why.empty() ? claimed.problem : why;
}

}  // namespace

bool decodeWithImageLibrary(std::span<const uint8_t> bytes, unsigned type, DecodedPicture& out, std::string& why,
                            const PictureLimits& limits) {
    std::lock_guard<std::mutex> hold(libraryLock());
    static bool libraryStarted = false;
    if (!libraryStarted) {
        ilInit();
        libraryStarted = true;
    }
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    DecodedPicture decoded;
    bool ok = ilLoadL(type, bytes.data(), ILuint(bytes.size()));
    if (!ok) why = "not a picture, or a damaged one (the decoder refused it)";
    ok = ok && normaliseBoundImage(why) && copyBoundImage(decoded, why, limits);
    // The library's copy is never read again; without this every load would keep a decoded picture.
    ilBindImage(0);
    ilDeleteImages(1, &image);
    while (ilGetError() != IL_NO_ERROR) {
    }
    if (ok) out = std::move(decoded);
    return ok;
}

bool pictureHeaderAllows(std::span<const uint8_t> bytes, const std::string& name, std::string& why,
                         const PictureLimits& limits) {
    if (bytes.empty()) {
        why = "the file is empty";
        return false;
    }
    if (bytes.size() > MAX_PICTURE_FILE_BYTES) {
        why = "the file is larger than the limit for pictures";
        return false;
    }
    const ILenum type = pictureType(bytes, name);
    if (type == IL_TYPE_UNKNOWN) {
        why = "not a picture (unknown format)";
        return false;
    }
    const ClaimedSize claimed = claimedPictureSize(bytes, type);
    // Only formats whose header is checked here reach a decoder: the image library's readers of other
    // formats trust their files (its GIF and BMP readers read and write past their buffers for some
    // files), and their memory could not be bounded before decoding.
    if (!claimed.known) {
        why = "not a picture format the show reads (PNG, JPEG, TGA)";
        return false;
    }
    why = headerProblem(claimed, limits);
    return why.empty();
}

bool decodePicture(std::span<const uint8_t> bytes, const std::string& name, DecodedPicture& out, std::string& why,
                   const PictureLimits& limits) {
    if (!pictureHeaderAllows(bytes, name, why, limits)) return false;
    const ILenum type = pictureType(bytes, name);
    if (type == IL_PNG) return decodePng(bytes, out, why, limits);
    if (type == IL_JPG) return decodeJpeg(bytes, out, why, limits);
    return decodeWithImageLibrary(bytes, type, out, why, limits);
}

bool readPictureBytes(const char* path, std::vector<uint8_t>& bytes, std::string& why) {
    if (!path) {
        why = "no file name";
        return false;
    }
    // The shared checked read; only its reasons are put in the words the picture warnings use.
    std::string problem;
    switch (readFileChecked(std::string_view(path), bytes, problem, MAX_PICTURE_FILE_BYTES)) {
        case ReadFault::None: return true;
        case ReadFault::Missing: why = "file not found"; break;
        case ReadFault::NotAFile: why = "not a regular file"; break;
        case ReadFault::TooLarge: why = "the file is larger than the limit for pictures (256 MB)"; break;
        case ReadFault::Unreadable: why = "it " + problem; break;
    }
    return false;
}

bool readPictureFile(const char* path, DecodedPicture& out, std::string& why) {
    std::vector<uint8_t> bytes;
    return readPictureBytes(path, bytes, why) && decodePicture(bytes, nativePath(path).string(), out, why);
}

void flipPictureRows(DecodedPicture& picture) {
    const size_t stride = size_t(picture.width) * size_t(picture.bytesPerPixel);
    if (stride == 0 || picture.pixels.size() < stride * size_t(picture.height)) return;
    uint8_t* top = picture.pixels.data();
    uint8_t* bottom = top + stride * size_t(picture.height - 1);
    for (; top < bottom; top += stride, bottom -= stride) std::swap_ranges(top, top + stride, bottom);
}

bool loadImageFile(const char* path, int& width, int& height, int& bytesPerPixel, std::vector<uint8_t>& pixels) {
    DecodedPicture picture;
    std::string why;
    if (!readPictureFile(path, picture, why)) return false;
    width = picture.width;
    height = picture.height;
    bytesPerPixel = picture.bytesPerPixel;
    pixels.assign(picture.pixels.begin(), picture.pixels.end());
    return true;
}

}  // namespace zelFramework
