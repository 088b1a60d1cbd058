// JPEG pictures decoded with libjpeg directly, from memory. The image library's own JPEG source can
// stop advancing when a segment's length runs past the end of the file (a damaged 72-byte JPEG kept
// it looping for ever); libjpeg's memory source ends such a file cleanly. Like PNG, it keeps no
// global state, so several pictures decode at once on different threads.
#include "gl/picture_file.h"

#include <jpeglib.h>
#include <jerror.h>  // after jpeglib.h, which it needs

#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace zelFramework {
namespace {

const char* const TRUNCATED = "truncated (the file ends before its last pixel)";

struct ErrorTrap {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool endedEarly = false;
};

void failWith(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    (*info->err->format_message)(info, trap->message);
    std::longjmp(trap->jump, 1);
}

// Warnings (damaged data the decoder steps over) are not printed; a file that ends before its
// last pixel is remembered, since its missing part would be a grey guess.
void noteWarning(j_common_ptr info, int level) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) trap->endedEarly = true;
}

struct ScanGuard {
    jpeg_progress_mgr base;
    uint64_t limit = 0;
};

// Every scan walks the whole picture, even a scan of a few bytes: a small file of many scans would
// otherwise cost seconds for each picture.
void countScans(j_common_ptr info) {
    auto* guard = reinterpret_cast<ScanGuard*>(info->progress);
    auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
    if (uint64_t(decoder->input_scan_number) > guard->limit) {
        auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
        std::snprintf(trap->message, sizeof trap->message, "more than %llu scans", (unsigned long long)guard->limit);
        std::longjmp(trap->jump, 1);
    }
}

uint8_t inkToLight(unsigned ink, unsigned black) { return uint8_t((ink * black + 127) / 255); }

// Four-channel JPEGs are CMYK (or YCCK, which the decoder turns into CMYK). Adobe's programs
// store the inks inverted (255 = no ink) and mark the file so; without the mark 0 is no ink.
void cmykRowToRgb(const uint8_t* cmyk, uint8_t* rgb, size_t width, bool inverted) {
    for (size_t x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int c = 0; c < 3; ++c) rgb[c] = inkToLight(inverted ? cmyk[c] : 255u - cmyk[c], k);
    }
}

// Plain function with no objects that need destructors between setjmp and the calls that may jump.
bool decode(jpeg_decompress_struct& info, ErrorTrap& trap, std::span<const uint8_t> bytes, DecodedPicture& out,
            std::string& why, const PictureLimits& limits, std::vector<uint8_t>& row) {
    if (setjmp(trap.jump)) {
        why = trap.endedEarly ? std::string(TRUNCATED)
                              : std::string("not a picture, or a damaged one (") + trap.message + ")";
        return false;
    }
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    // The decoder's own reading of the frame header is what it will allocate for.
    why = pictureSizeProblem(info.image_width, info.image_height, limits);
    if (!why.empty()) return false;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    const size_t width = info.output_width;
    const size_t height = info.output_height;
    if (info.output_components != (cmyk ? 4 : 3)) {
        why = "unexpected JPEG layout after conversion";
        return false;
    }
    out.pixels.resize(width * height * 3);
    row.resize(width * size_t(info.output_components));
    while (info.output_scanline < info.output_height) {
        uint8_t* target = out.pixels.data() + size_t(info.output_scanline) * width * 3;
        JSAMPROW rowPointer = cmyk ? row.data() : target;
        if (jpeg_read_scanlines(&info, &rowPointer, 1) != 1) break;
        if (cmyk) cmykRowToRgb(row.data(), target, width, info.saw_Adobe_marker);
    }
    if (info.output_scanline == info.output_height) jpeg_finish_decompress(&info);
    // A file without its end marker counts as cut, as a PNG without its end chunk does.
    if (trap.endedEarly || info.output_scanline < info.output_height) {
        why = TRUNCATED;
        return false;
    }
    out.width = int(width);
    out.height = int(height);
    out.bytesPerPixel = 3;
    return true;
}

}  // namespace

bool decodeJpeg(std::span<const uint8_t> bytes, DecodedPicture& out, std::string& why, const PictureLimits& limits) {
    jpeg_decompress_struct info{};
    ErrorTrap trap{};
    info.err = jpeg_std_error(&trap.base);
    trap.base.error_exit = failWith;
    trap.base.emit_message = noteWarning;
    ScanGuard guard{};
    guard.base.progress_monitor = countScans;
    guard.limit = limits.maxJpegScans;
    jpeg_create_decompress(&info);
    info.progress = &guard.base;
    DecodedPicture decoded;
    std::vector<uint8_t> row;
    const bool ok = decode(info, trap, bytes, decoded, why, limits, row);
    jpeg_destroy_decompress(&info);
    if (ok) out = std::move(decoded);
    return ok;
}

}  // namespace zelFramework
