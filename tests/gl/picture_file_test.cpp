// Pictures a user may hand the show that are not what they claim: every refusal names its reason,
// nothing is read past the decoder's buffer, and the texture manager warns about each one.
#include "gl/picture_file.h"
#include "gl/picture_rules.h"
#include "gl/texture_manager.h"

#include "gl_test_files.h"
#include "support/trace_capture.h"

#include <IL/il.h>
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>

using namespace zelFramework;
using namespace orvotest;

namespace {

// An uncompressed true-colour TGA header claiming `width` x `height` at `bits` per pixel.
std::string tgaHeader(uint16_t width, uint16_t height, uint8_t bits) {
    std::string h(18, '\0');
    h[2] = 2;
    h[12] = char(width & 0xFF);
    h[13] = char(width >> 8);
    h[14] = char(height & 0xFF);
    h[15] = char(height >> 8);
    h[16] = char(bits);
    return h;
}

struct Refusal {
    bool ok;
    std::string why;
};

Refusal read(const char* name) {
    DecodedPicture picture;
    std::string why;
    bool ok = readPictureFile(name, picture, why);
    if (!ok) {
        EXPECT_TRUE(picture.pixels.empty()) << name;
    }
    return {ok, why};
}

}  // namespace

TEST(PictureFiles, EachBadFileIsRefusedWithItsReason) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.path() / "folder.png");
    folder.write("text.png", "this is a text file with a picture's name\n");
    folder.write("empty.jpg", "");
    std::vector<uint8_t> rgb(4 * 4 * 3, 77);
    ASSERT_TRUE(writePng(folder.path() / "whole.png", 4, 4, PNG_COLOR_TYPE_RGB, 8, rgb));
    const std::string whole = folder.read("whole.png");
    folder.write("cut.png", whole.substr(0, whole.size() / 2));
    folder.write("header-only.png", whole.substr(0, 12));
    // 62 bytes that claim 65533 x 65533 pixels of 24 bits: 12.9 GB the file does not hold.
    folder.write("huge.tga", tgaHeader(65533, 65533, 24) + std::string(44, '\x11'));
    // A size inside the limits whose pixels are missing.
    folder.write("short.tga", tgaHeader(300, 200, 24) + std::string(44, '\x11'));
    // Colour-mapped TGA is refused: the library's palette conversion reads past the palette.
    std::string mapped = tgaHeader(2, 2, 8);
    mapped[2] = 9;
    folder.write("mapped.tga", mapped + std::string(20, '\x7F'));
    // GIF is refused unread: the library's reader writes outside its buffer for some files.
    folder.write("frame.gif", "GIF89a\x01\x00\x01\x00\x80\x00\x00");

    struct Case {
        const char* file;
        const char* reason;
    } cases[] = {
        {"absent.png", "file not found"},
        {"folder.png", "not a regular file"},
        {"text.png", "not a picture"},
        {"empty.jpg", "empty"},
        {"cut.png", "not a picture"},
        {"header-only.png", "no picture size"},
        {"huge.tga", "65533 x 65533 pixels is larger than the limit"},
        {"short.tga", "truncated"},
        {"frame.gif", "not a picture format the show reads"},
        {"mapped.tga", "a TGA kind the show does not read (type 9, 8 bits"},
    };
    for (const Case& c : cases) {
        Refusal r = read(c.file);
        EXPECT_FALSE(r.ok) << c.file;
        EXPECT_NE(r.why.find(c.reason), std::string::npos) << c.file << ": " << r.why;
    }
    EXPECT_TRUE(read("whole.png").ok);
}

// The decoders fill a buffer that is not cleared first, so a picture that stops before its last
// row must be refused, never handed on with rows of whatever the memory held: cut anywhere, even
// just before its end chunk, a PNG gives false and leaves the caller's picture as it was.
TEST(PictureFiles, APngCutAnywhereIsRefusedAndLeavesThePictureAlone) {
    ScratchFolder folder;
    std::vector<uint8_t> rgb(24 * 16 * 3);
    std::iota(rgb.begin(), rgb.end(), uint8_t(1));
    ASSERT_TRUE(writePng(folder.path() / "whole.png", 24, 16, PNG_COLOR_TYPE_RGB, 8, rgb));
    const std::string file = folder.read("whole.png");
    const std::vector<uint8_t> bytes(file.begin(), file.end());
    DecodedPicture whole;
    std::string why;
    ASSERT_TRUE(decodePicture(bytes, "whole.png", whole, why)) << why;
    EXPECT_EQ(std::vector<uint8_t>(whole.pixels.begin(), whole.pixels.end()), rgb);
    for (size_t cut = 1; cut < bytes.size(); ++cut) {
        DecodedPicture picture{1, 1, 3, PixelBytes{7, 8, 9}};
        EXPECT_FALSE(decodePicture(std::span(bytes.data(), cut), "cut.png", picture, why)) << cut << " bytes";
        EXPECT_EQ(picture.pixels, (PixelBytes{7, 8, 9})) << cut << " bytes";
    }
}

TEST(PictureFiles, SizeLimitIsCheckedWithoutWrapping) {
    EXPECT_EQ(pictureSizeProblem(1920, 842), "");
    EXPECT_EQ(pictureSizeProblem(MAX_PICTURE_SIDE, 4096), "");
    EXPECT_NE(pictureSizeProblem(MAX_PICTURE_SIDE + 1, 1), "");
    EXPECT_NE(pictureSizeProblem(MAX_PICTURE_SIDE, MAX_PICTURE_SIDE), "");  // 268 M pixels
    EXPECT_NE(pictureSizeProblem(0, 5), "");
    // 2^32 x 2^32 wraps to 0 in 64 bits: each side is refused on its own first.
    EXPECT_NE(pictureSizeProblem(1ull << 32, 1ull << 32), "");
}

TEST(PictureFiles, HeaderSizeMatchesTheDecodedSizeForEachFormat) {
    std::vector<uint8_t> rgb(7 * 3 * 3);
    std::iota(rgb.begin(), rgb.end(), uint8_t(0));
    ScratchFolder folder;
    ASSERT_TRUE(writePng(folder.path() / "p.png", 7, 3, PNG_COLOR_TYPE_RGB, 8, rgb));
    std::string png = folder.read("p.png");
    std::string tga = tgaHeader(7, 3, 24) + std::string(7 * 3 * 3, '\x40');
    struct Case {
        std::string bytes;
        unsigned type;
    } cases[] = {{png, IL_PNG}, {tga, IL_TGA}};
    for (const Case& c : cases) {
        std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
        ClaimedSize claimed = claimedPictureSize(bytes, c.type);
        ASSERT_TRUE(claimed.known);
        EXPECT_EQ(claimed.width, 7u);
        EXPECT_EQ(claimed.height, 3u);
        DecodedPicture picture;
        std::string why;
        ASSERT_TRUE(decodePicture(bytes, c.type == IL_PNG ? "p.png" : "p.tga", picture, why)) << why;
        EXPECT_EQ(picture.width, 7);
        EXPECT_EQ(picture.height, 3);
        EXPECT_EQ(picture.pixels.size(), size_t(7 * 3 * 3));
    }
    // A JPEG's size sits in its frame header, after any number of other segments.
    const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00,
                            0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x01, 0x2C, 0x02, 0x80, 0x01};
    ClaimedSize j = claimedPictureSize(jpeg, IL_JPG);
    EXPECT_TRUE(j.known);
    EXPECT_EQ(j.width, 640u);
    EXPECT_EQ(j.height, 300u);
}

TEST(PictureRules, FlipRulesAreReadAndBadLinesNamed) {
    ScratchFolder folder;
    folder.write("pictures.txt",
                 "# upright pictures from elsewhere\n"
                 "flip lunavex-logo.png\r\n"
                 "  flip 00-Generic\\kvt_generic_l1.png  \n"
                 "\n"
                 "turn gralle.png\n"
                 "flip\n");
    std::vector<std::string> problems;
    PictureRules rules = readPictureRules("pictures.txt", problems);
    EXPECT_TRUE(rules.flips("lunavex-logo.png"));
    EXPECT_TRUE(rules.flips("00-Generic\\kvt_generic_l1.png"));
    EXPECT_TRUE(rules.flips("00-Generic/kvt_generic_l1.png"));
    EXPECT_FALSE(rules.flips("gralle.png"));
    EXPECT_FALSE(rules.flips("00-Generic\\kvt_generic_l2.png"));
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("pictures.txt line 5: unknown rule \"turn\""), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("line 6: flip without a picture name"), std::string::npos) << problems[1];

    std::vector<std::string> none;
    EXPECT_TRUE(readPictureRules("absent.txt", none).flipped.empty());
    EXPECT_TRUE(none.empty());
}

TEST(PictureRules, FlipTurnsRowsOver) {
    DecodedPicture p{2, 3, 3, {}};
    p.pixels.resize(2 * 3 * 3);
    std::iota(p.pixels.begin(), p.pixels.end(), uint8_t(0));
    flipPictureRows(p);
    EXPECT_EQ(p.pixels, (PixelBytes{12, 13, 14, 15, 16, 17, 6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5}));
}

TEST(TextureRegistry, EveryPictureThatCannotBeLoadedIsNamedInAWarning) {
    ScratchFolder folder;
    folder.write("text.png", "not a picture");
    folder.write("huge.tga", tgaHeader(65533, 65533, 24) + std::string(44, '\x11'));
    TraceCapture capture;
    EXPECT_EQ(GL_TextureManager::getTexture("missing-warned.png"), nullptr);
    EXPECT_EQ(GL_TextureManager::getTexture("text.png"), nullptr);
    EXPECT_EQ(GL_TextureManager::getTexture("huge.tga"), nullptr);
    EXPECT_TRUE(capture.contains("WARNING (textureManager): cannot load picture \"missing-warned.png\": file not found"))
        << capture.text();
    EXPECT_TRUE(capture.contains("\"text.png\": not a picture")) << capture.text();
    EXPECT_TRUE(capture.contains("\"huge.tga\": 65533 x 65533 pixels is larger than the limit")) << capture.text();
    // Render targets are asked for by name before they are published: no file is expected there.
    capture.clear();
    EXPECT_EQ(GL_TextureManager::getTexture("RE:notYetPublished"), nullptr);
    EXPECT_FALSE(capture.contains("WARNING")) << capture.text();
}

// PNG and JPEG pictures are decoded with libpng and libjpeg so that several decode at once; every
// picture of the show must arrive byte for byte as the image library decodes it.
TEST(PictureFiles, ShowPicturesDecodeAlikeThroughBothDecoders) {
    const std::filesystem::path resources = ORVO_RESOURCES_DIR;
    std::error_code error;
    if (!std::filesystem::is_directory(resources, error)) GTEST_SKIP() << "no generated resources at " << resources;
    int compared[2] = {0, 0};
    for (const auto& entry : std::filesystem::recursive_directory_iterator(resources, error)) {
        const bool png = entry.path().extension() == ".png";
        if (!png && entry.path().extension() != ".jpg") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.data()), file.size());
        DecodedPicture ours, library;
        std::string whyOurs, whyLibrary;
        const bool decoded = png ? decodePng(bytes, ours, whyOurs, {}) : decodeJpeg(bytes, ours, whyOurs, {});
        ASSERT_TRUE(decoded) << entry.path() << ": " << whyOurs;
        ASSERT_TRUE(decodeWithImageLibrary(bytes, png ? IL_PNG : IL_JPG, library, whyLibrary, {}))
            << entry.path() << ": " << whyLibrary;
        EXPECT_EQ(ours.width, library.width) << entry.path();
        EXPECT_EQ(ours.height, library.height) << entry.path();
        EXPECT_EQ(ours.bytesPerPixel, library.bytesPerPixel) << entry.path();
        EXPECT_TRUE(ours.pixels == library.pixels) << entry.path();
        ++compared[png ? 0 : 1];
    }
    EXPECT_GT(compared[0], 0);
    EXPECT_GT(compared[1], 0);
}

// A kept picture holds the average of what each of its pixels covers: a thin line between the
// sampled spots still shows (linear filtering at pixel centres lost it), a fractional footprint
// shares its edge pixel, and see-through pixels do not darken the colour of what is drawn.
TEST(PictureFiles, ResampledPictureAveragesWhatEachPixelCovers) {
    DecodedPicture row{6, 1, 3, {}};
    for (uint8_t v : {0, 30, 60, 90, 120, 150}) row.pixels.insert(row.pixels.end(), {v, uint8_t(255 - v), 7});
    EXPECT_EQ(resamplePicture(row, 2, 1).pixels, (PixelBytes{30, 225, 7, 120, 135, 7}));
    EXPECT_EQ(resamplePicture(row, 3, 1).pixels, (PixelBytes{15, 240, 7, 75, 180, 7, 135, 120, 7}));
    // Never enlarged, and the same size is the same picture.
    EXPECT_EQ(resamplePicture(row, 12, 1).width, 6);
    EXPECT_EQ(resamplePicture(row, 6, 1).pixels, row.pixels);

    DecodedPicture line{6, 1, 3, PixelBytes(18, 0)};
    line.pixels[9] = line.pixels[10] = line.pixels[11] = 255;  // pixel 3 of 6, missed by both centres
    EXPECT_EQ(resamplePicture(line, 2, 1).pixels, (PixelBytes{0, 0, 0, 85, 85, 85}));

    DecodedPicture three{3, 1, 3, {0, 0, 0, 90, 90, 90, 180, 180, 180}};
    EXPECT_EQ(resamplePicture(three, 2, 1).pixels, (PixelBytes{30, 30, 30, 150, 150, 150}));

    DecodedPicture column{1, 4, 4, {}};
    for (int y = 0; y < 4; ++y) column.pixels.insert(column.pixels.end(), {255, 255, 255, uint8_t(y == 2 ? 0 : 255)});
    column.pixels[8] = column.pixels[9] = column.pixels[10] = 0;  // see-through, painted black
    EXPECT_EQ(resamplePicture(column, 1, 2).pixels, (PixelBytes{255, 255, 255, 255, 255, 255, 255, 128}));
}

// The mipmap chain halves each side (rounded down, at least 1) to 1 x 1, each level the average of
// the one before, an odd side included.
TEST(PictureFiles, SmallerLevelsHalveDownToOnePixelAndKeepTheAverage) {
    DecodedPicture odd{5, 3, 3, PixelBytes(45, 200)};
    for (size_t i = 0; i < 15; i += 2) odd.pixels[i * 3] = 0;  // a pattern in red, even pixels dark
    const std::vector<DecodedPicture> levels = smallerLevels(odd);
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].width, 2);
    EXPECT_EQ(levels[0].height, 1);
    EXPECT_EQ(levels[1].width, 1);
    EXPECT_EQ(levels[1].height, 1);
    EXPECT_EQ(levels[1].pixels[1], 200);
    EXPECT_EQ(levels[1].pixels[2], 200);
    EXPECT_NEAR(levels[1].pixels[0], 200.0 * 7.0 / 15.0, 1.0);  // 7 of the 15 pixels are not dark

    const std::vector<DecodedPicture> tall = smallerLevels(DecodedPicture{1, 8, 3, PixelBytes(24, 9)});
    ASSERT_EQ(tall.size(), 3u);
    EXPECT_EQ(tall[2].width, 1);
    EXPECT_EQ(tall[2].height, 1);
    EXPECT_EQ(tall[2].pixels, (PixelBytes{9, 9, 9}));
    EXPECT_TRUE(smallerLevels(DecodedPicture{1, 1, 4, {1, 2, 3, 4}}).empty());
}

// A picture never drawn over more than a given area keeps the smallest level that still covers it
// in both directions, and every level below it as it was; a level too small in either direction
// must stay, or draws would read a blurrier level than before.
TEST(PictureFiles, OnlyLevelsLargerThanEveryDrawAreDropped) {
    DecodedPicture whole{40, 24, 3, PixelBytes(40 * 24 * 3)};
    for (size_t i = 0; i < whole.pixels.size(); ++i) whole.pixels[i] = uint8_t(i * 7 % 251);
    const std::vector<DecodedPicture> levels = smallerLevels(whole);  // 20x12, 10x6, 5x3, 2x1, 1x1
    ASSERT_EQ(levels.size(), 5u);
    struct Case {
        int width, height;
        int kept;  // index of the level that becomes the picture, -1 for the picture itself
    } cases[] = {{10, 6, 1}, {11, 6, 0}, {10, 7, 0}, {20, 12, 0}, {21, 1, -1}, {40, 24, -1},
                 {0, 0, -1}, {1, 1, 4}, {2, 1, 3}, {3, 3, 2}};
    for (const Case& c : cases) {
        DecodedPicture picture = whole;
        std::vector<DecodedPicture> smaller = levels;
        dropUnreadLevels(picture, smaller, c.width, c.height);
        const DecodedPicture& expected = c.kept < 0 ? whole : levels[size_t(c.kept)];
        EXPECT_EQ(picture.width, expected.width) << c.width << " x " << c.height;
        EXPECT_EQ(picture.height, expected.height) << c.width << " x " << c.height;
        EXPECT_EQ(picture.pixels, expected.pixels) << c.width << " x " << c.height;
        ASSERT_EQ(smaller.size(), levels.size() - size_t(c.kept + 1)) << c.width << " x " << c.height;
        for (size_t i = 0; i < smaller.size(); ++i)
            EXPECT_EQ(smaller[i].pixels, levels[size_t(c.kept + 1) + i].pixels) << c.width << " x " << c.height;
    }
}
