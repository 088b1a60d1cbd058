#include "image_io.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "output_file.h"

namespace zelFramework::content {

unsigned char toByte(float v)
{
    return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

namespace {

std::vector<unsigned char> packRows(const Image& img, int channels)
{
    std::vector<unsigned char> bytes(static_cast<size_t>(img.width) * img.height * channels);
    size_t i = 0;
    for (const Rgba& p : img.pixels) {
        bytes[i++] = toByte(p.r);
        bytes[i++] = toByte(p.g);
        bytes[i++] = toByte(p.b);
        if (channels == 4)
            bytes[i++] = toByte(p.a);
    }
    return bytes;
}

}  // namespace

bool writePng(const std::string& path, const Image& img, PngChannels channels)
{
    FILE* f = toolfiles::openForWriting(path, "content");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        std::fprintf(stderr, "content: PNG encoding failed for %s\n", path.c_str());
        return false;
    }
    int n = static_cast<int>(channels);
    auto bytes = packRows(img, n);
    png_init_io(png, f);
    png_set_IHDR(png, info, img.width, img.height, 8, n == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Level 6 keeps the whole picture set well inside the build's time budget.
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    for (int y = 0; y < img.height; ++y)
        png_write_row(png, &bytes[static_cast<size_t>(y) * img.width * n]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

namespace {

struct JpegErrorTrap {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr info)
{
    auto* trap = reinterpret_cast<JpegErrorTrap*>(info->err);
    std::longjmp(trap->jump, 1);
}

}  // namespace

bool writeJpeg(const std::string& path, const Image& img, int quality)
{
    FILE* f = toolfiles::openForWriting(path, "content");
    if (!f)
        return false;
    auto bytes = packRows(img, 3);
    jpeg_compress_struct cinfo{};
    JpegErrorTrap trap{};
    cinfo.err = jpeg_std_error(&trap.base);
    trap.base.error_exit = jpegFail;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::fclose(f);
        std::fprintf(stderr, "content: JPEG encoding failed for %s\n", path.c_str());
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(img.width);
    cinfo.image_height = static_cast<JDIMENSION>(img.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &bytes[static_cast<size_t>(cinfo.next_scanline) * img.width * 3];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(f) == 0;
}

bool readPng(const std::string& path, Image& out)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> buffer(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    out = Image(static_cast<int>(image.width), static_cast<int>(image.height));
    for (size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = {buffer[i * 4] / 255.0f, buffer[i * 4 + 1] / 255.0f, buffer[i * 4 + 2] / 255.0f,
                         buffer[i * 4 + 3] / 255.0f};
    return true;
}

}  // namespace zelFramework::content
