// JPEG files as other programs write them, and as they arrive cut or built to cost a lot: each
// decodes to the right RGB pixels or is refused with its reason, and none keeps the reader busy.
#include "gl/picture_file.h"

#include "gl_test_files.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace zelFramework;
using namespace orvotest;

namespace {

std::span<const uint8_t> asBytes(const std::string& file) {
    return {reinterpret_cast<const uint8_t*>(file.data()), file.size()};
}

struct Decoded {
    bool ok = false;
    std::string why;
    DecodedPicture picture;
};

Decoded decode(const std::string& file, const PictureLimits& limits = {}) {
    Decoded d;
    d.ok = decodePicture(asBytes(file), "picture.jpg", d.picture, d.why, limits);
    return d;
}

// A smooth picture with detail in every channel, so that each scan of a progressive file matters.
std::vector<uint8_t> gradient(int width, int height, int components) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c) pixels.push_back(uint8_t((x * 7 + y * 3 + c * 60) % 256));
    return pixels;
}

std::vector<uint8_t> flat(int width, int height, std::vector<uint8_t> colour) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), colour.begin(), colour.end());
    return pixels;
}

std::string fromHex(const char* hex) {
    std::string bytes;
    for (; hex[0] && hex[1]; hex += 2) bytes += char(std::stoi(std::string(hex, 2), nullptr, 16));
    return bytes;
}

std::string segment(uint8_t marker, const std::string& body) {
    const size_t length = body.size() + 2;
    return std::string{'\xFF', char(marker), char(length >> 8), char(length & 0xFF)} + body;
}

// A one-component progressive frame of `width` x `height` whose scans hold no data: a DC scan, then
// `acScans` scans of the AC coefficients. Each is 10 bytes, and each walks the whole picture.
std::string emptyProgressiveScans(int width, int height, int acScans) {
    std::string file = "\xFF\xD8";
    file += segment(0xDB, std::string(1, '\0') + std::string(64, '\x01'));
    file += segment(0xC2, std::string{8, char(height >> 8), char(height & 0xFF), char(width >> 8),
                                      char(width & 0xFF), 1, 1, 0x11, 0});
    const std::string oneCode = std::string(1, '\x01') + std::string(15, '\0');
    file += segment(0xC4, std::string(1, '\x00') + oneCode + std::string(1, '\x00'));
    file += segment(0xC4, std::string(1, '\x10') + oneCode + std::string(1, '\x01'));
    file += segment(0xDA, std::string{1, 1, 0x00, 0, 0, 0});
    for (int i = 0; i < acScans; ++i) file += segment(0xDA, std::string{1, 1, 0x00, 1, 63, 0});
    return file + "\xFF\xD9";
}

void expectNear(const DecodedPicture& picture, std::vector<int> rgb, const char* what) {
    ASSERT_EQ(picture.bytesPerPixel, 3) << what;
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        ASSERT_NEAR(int(picture.pixels[i]), rgb[i % 3], 3) << what << ", byte " << i;
}

}  // namespace

// A segment whose length runs past the end of the file once made the reader loop for ever; a file
// cut anywhere is refused instead.
TEST(BadFiles, AJpegCutAnywhereIsRefusedAndNeverHangs) {
    const std::string whole = encodeJpeg(40, 24, gradient(40, 24, 3));
    ASSERT_TRUE(decode(whole).ok) << decode(whole).why;

    // 72 bytes a fuzzer found: a frame header, a stray byte, then an APP3 segment claiming 1,280
    // bytes where 43 follow.
    const std::string segmentPastTheEnd = fromHex(
        "ffd8ffffc00011080040004003016a6966310311aa603fffe305000000000000000af5f1fcf6f6f524f8ff8c0000"
        "000040c00011080040004003016a6966310311aa603fffe36300");
    Decoded d = decode(segmentPastTheEnd);
    EXPECT_FALSE(d.ok);
    EXPECT_NE(d.why.find("truncated"), std::string::npos) << d.why;
    EXPECT_TRUE(d.picture.pixels.empty());

    for (size_t cut : {size_t(2), size_t(20), whole.size() / 3, whole.size() / 2, whole.size() - 2}) {
        Decoded c = decode(whole.substr(0, cut));
        EXPECT_FALSE(c.ok) << "cut at " << cut;
        EXPECT_FALSE(c.why.empty()) << "cut at " << cut;
        EXPECT_TRUE(c.picture.pixels.empty()) << "cut at " << cut;
    }
    EXPECT_NE(decode(whole.substr(0, whole.size() / 2)).why.find("truncated"), std::string::npos);
}

TEST(BadFiles, AJpegOfManyEmptyScansIsRefusedAsItIsRead) {
    // The limit counts the DC scan too: 1 + 99 scans pass, 1 + 100 do not.
    Decoded atLimit = decode(emptyProgressiveScans(512, 256, int(MAX_JPEG_SCANS) - 1));
    EXPECT_TRUE(atLimit.ok) << atLimit.why;
    EXPECT_EQ(atLimit.picture.width, 512);
    Decoded over = decode(emptyProgressiveScans(512, 256, int(MAX_JPEG_SCANS)));
    EXPECT_FALSE(over.ok);
    EXPECT_NE(over.why.find("more than 100 scans"), std::string::npos) << over.why;
    // A caller may ask for fewer.
    PictureLimits strict;
    strict.maxJpegScans = 5;
    EXPECT_FALSE(decode(emptyProgressiveScans(16, 16, 5), strict).ok);
    EXPECT_TRUE(decode(emptyProgressiveScans(16, 16, 4), strict).ok);
}

// The decoder's own reading of the frame is checked too, not only what the header scan found.
TEST(BadFiles, AJpegLargerThanTheLimitIsRefusedBeforeDecoding) {
    const std::string file = encodeJpeg(300, 20, gradient(300, 20, 3));
    const PictureLimits narrow{256, 1024 * 1024, MAX_JPEG_SCANS};
    DecodedPicture picture;
    std::string why;
    EXPECT_FALSE(decodeJpeg(asBytes(file), picture, why, narrow));
    EXPECT_NE(why.find("300 x 20 pixels is larger than the limit"), std::string::npos) << why;
    EXPECT_TRUE(decodeJpeg(asBytes(file), picture, why, {})) << why;
}

// Progressive coding only reorders the same coefficients: both forms give the same pixels, and the
// image library's reading of the baseline file gives them too (what the show drew before).
TEST(JpegFiles, ProgressiveAndBaselineFilesGiveTheSamePixels) {
    const std::vector<uint8_t> pixels = gradient(37, 23, 3);
    const std::string baseline = encodeJpeg(37, 23, pixels);
    JpegForm progressive;
    progressive.progressive = true;
    const std::string layered = encodeJpeg(37, 23, pixels, progressive);
    ASSERT_NE(baseline, layered);
    Decoded a = decode(baseline), b = decode(layered);
    ASSERT_TRUE(a.ok && b.ok) << a.why << b.why;
    EXPECT_EQ(a.picture.width, 37);
    EXPECT_EQ(a.picture.height, 23);
    EXPECT_EQ(a.picture.pixels.size(), size_t(37 * 23 * 3));
    EXPECT_TRUE(a.picture.pixels == b.picture.pixels);
    DecodedPicture library;
    std::string why;
    ASSERT_TRUE(decodeWithImageLibrary(asBytes(baseline), IL_JPG, library, why, {})) << why;
    EXPECT_TRUE(library.pixels == a.picture.pixels);
}

TEST(JpegFiles, GreyAndCmykPicturesArriveAsRgb) {
    JpegForm grey;
    grey.components = 1;
    Decoded g = decode(encodeJpeg(16, 16, flat(16, 16, {200}), grey));
    ASSERT_TRUE(g.ok) << g.why;
    expectNear(g.picture, {200, 200, 200}, "grey");

    // Adobe's inverted inks: 255 is no ink. Full cyan leaves green and blue.
    JpegForm adobe;
    adobe.components = 4;
    adobe.quality = 100;
    Decoded cyan = decode(encodeJpeg(16, 16, flat(16, 16, {0, 255, 255, 255}), adobe));
    ASSERT_TRUE(cyan.ok) << cyan.why;
    expectNear(cyan.picture, {0, 255, 255}, "Adobe cyan");
    Decoded halfBlack = decode(encodeJpeg(16, 16, flat(16, 16, {255, 255, 255, 127}), adobe));
    expectNear(halfBlack.picture, {127, 127, 127}, "Adobe half black");

    // Without the mark, 0 is no ink.
    JpegForm plain = adobe;
    plain.adobeMarker = false;
    Decoded magenta = decode(encodeJpeg(16, 16, flat(16, 16, {0, 255, 0, 0}), plain));
    ASSERT_TRUE(magenta.ok) << magenta.why;
    expectNear(magenta.picture, {255, 0, 255}, "plain magenta");
}
