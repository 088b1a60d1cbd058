// PNG pictures decoded with libpng directly: it keeps no global state, so several pictures can be
// decoded at once on different threads, and it checks its files where the image library does not.
#include "gl/picture_file.h"

#include <png.h>

#include <cstring>

namespace zelFramework {
namespace {

struct Reader {
    std::span<const uint8_t> bytes;
    size_t at = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (length > reader->bytes.size() - reader->at) png_error(png, "truncated");
    std::memcpy(out, reader->bytes.data() + reader->at, length);
    reader->at += length;
}

void quietWarning(png_structp, png_const_charp) {}

// Stores the reason for the caller; the jump back to decode's setjmp follows.
void failWith(png_structp png, png_const_charp message) {
    auto* why = static_cast<std::string*>(png_get_error_ptr(png));
    *why = std::string("not a picture, or a damaged one (") + message + ")";
    png_longjmp(png, 1);
}

// Everything arrives as 8-bit RGB or RGBA, top row first: grey becomes RGB, palettes are expanded,
// transparency becomes an alpha channel, 16-bit channels keep their high byte.
void askForRgb8(png_structp png, png_infop info) {
    const int colorType = png_get_color_type(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// Plain function with no objects that need destructors between setjmp and the calls that may jump.
bool decode(png_structp png, png_infop info, Reader& reader, DecodedPicture& out, std::string& why,
            const PictureLimits& limits, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &reader, readFromMemory);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    why = pictureSizeProblem(width, height, limits);
    if (!why.empty()) return false;
    askForRgb8(png, info);
    const int channels = png_get_channels(png, info);
    if ((channels != 3 && channels != 4) || png_get_rowbytes(png, info) != size_t(width) * size_t(channels)) {
        why = "unexpected PNG layout after conversion";
        return false;
    }
    out.pixels.resize(size_t(width) * size_t(height) * size_t(channels));
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = out.pixels.data() + size_t(y) * size_t(width) * size_t(channels);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    out.width = int(width);
    out.height = int(height);
    out.bytesPerPixel = channels;
    return true;
}

}  // namespace

bool decodePng(std::span<const uint8_t> bytes, DecodedPicture& out, std::string& why, const PictureLimits& limits) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &why, failWith, quietWarning);
    if (!png) {
        why = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        why = "out of memory";
        return false;
    }
    // Limits checked by libpng itself as it reads the header, besides ours after it.
    png_set_user_limits(png, png_uint_32(limits.maxSide), png_uint_32(limits.maxSide));
    Reader reader{bytes, 0};
    DecodedPicture decoded;
    std::vector<png_bytep> rows;
    const bool ok = decode(png, info, reader, decoded, why, limits, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (ok) out = std::move(decoded);
    return ok;
}

}  // namespace zelFramework
