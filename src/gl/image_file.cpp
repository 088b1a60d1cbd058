// The one reader of image files, through DevIL.
#include "gl/texture.h"

#include "app/trace.h"
#include "platform/platform.h"

#include <IL/il.h>

#include <cstring>
#include <string>

namespace zelFramework {
namespace {

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
bool normaliseBoundImage(const char* path) {
    ILint format = ilGetInteger(IL_IMAGE_FORMAT);
    ILint type = ilGetInteger(IL_IMAGE_TYPE);
    if ((format == IL_RGB || format == IL_RGBA) && type == IL_UNSIGNED_BYTE)
        return true;
    ILenum target = formatHasAlpha(format) ? IL_RGBA : IL_RGB;
    if (ilConvertImage(target, IL_UNSIGNED_BYTE))
        return true;
    trace(TRACE_WARNING, "imageLoader", "unable to convert %s (format 0x%X, type 0x%X) to RGB", path,
          unsigned(format), unsigned(type));
    return false;
}

}  // namespace

bool loadImageFile(const char* path, int& width, int& height, int& bytesPerPixel, std::vector<uint8_t>& pixels) {
    static bool libraryStarted = false;
    if (!libraryStarted) {
        ilInit();
        libraryStarted = true;
    }
    if (!path)
        return false;

    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);

    std::string native = nativePath(path).string();
    bool ok = ilLoadImage(native.c_str()) && normaliseBoundImage(path);
    if (ok) {
        int w = ilGetInteger(IL_IMAGE_WIDTH);
        int h = ilGetInteger(IL_IMAGE_HEIGHT);
        int bpp = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
        const ILubyte* data = ilGetData();
        ok = w > 0 && h > 0 && (bpp == 3 || bpp == 4) && data;
        if (ok) {
            size_t size = size_t(w) * size_t(h) * size_t(bpp);
            pixels.assign(data, data + size);
            width = w;
            height = h;
            bytesPerPixel = bpp;
        }
    }
    // The library's copy is never read again; without this every load would keep a decoded picture.
    ilBindImage(0);
    ilDeleteImages(1, &image);
    return ok;
}

}  // namespace zelFramework
