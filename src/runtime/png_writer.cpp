#include "runtime/png_writer.h"

#include <png.h>
#include <zlib.h>

#include <cstdio>

#include "app/trace.h"

namespace zelFramework {

namespace {

// libpng reports fatal errors by longjmp; this keeps the jump inside one plain function with no
// objects that need destructors.
bool encode(FILE* file, int width, int height, const uint8_t* rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    // Fast compression: a capture writes thousands of frames while the show renders on every core.
    // Each row is stored as its difference to the pixel on its left or to the row above, whichever is
    // smaller, and compressed as runs: about a third of the time of zlib's level 3 with all five row
    // filters tried, for files of about the same size on the show's frames. No time stamp, so files
    // are reproducible.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB | PNG_FILTER_UP);
    png_set_compression_strategy(png, Z_RLE);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = size_t(width) * 3;
    for (int y = height - 1; y >= 0; --y) png_write_row(png, const_cast<png_bytep>(rows + size_t(y) * stride));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool encodePngFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rows, std::string& why) {
    const std::string quoted = "\"" + path + "\"";
    if (width <= 0 || height <= 0 || rows.size() < size_t(width) * size_t(height) * 3) {
        why = "no picture to write to " + quoted;
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        why = "cannot write " + quoted;
        return false;
    }
    bool ok = encode(file, width, height, rows.data());
    ok = std::fclose(file) == 0 && ok;
    if (!ok) why = "writing " + quoted + " failed";
    return ok;
}

bool writePngBottomUp(const std::string& path, int width, int height, const std::vector<uint8_t>& rows) {
    std::string why;
    const bool ok = encodePngFile(path, width, height, rows, why);
    if (!ok) trace(TRACE_WARNING, "capture", "%s", why.c_str());
    return ok;
}

}  // namespace zelFramework
