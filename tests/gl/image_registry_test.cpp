// Reading picture files and the name registry, without a GL context: only successful loads upload.
#include "gl/texture.h"
#include "gl/texture_manager.h"
#include "gl/shader_scramble.h"

#include "gl_test_files.h"

#include <gtest/gtest.h>
#include <png.h>

#include <numeric>

using namespace zelFramework;
using namespace orvotest;

namespace {

struct LoadedImage {
    bool ok = false;
    int width = -1, height = -1, bytesPerPixel = -1;
    std::vector<uint8_t> pixels;
};

LoadedImage load(const char* path) {
    LoadedImage image;
    image.ok = loadImageFile(path, image.width, image.height, image.bytesPerPixel, image.pixels);
    return image;
}

// A 1 x 1 uncompressed 24-bit TGA: the file, and the library, keep the pixel as blue, green, red.
std::string tgaPixel(uint8_t blue, uint8_t green, uint8_t red) {
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = 1;
    tga[14] = 1;
    tga[16] = 24;
    return tga + std::string{char(blue), char(green), char(red)};
}

}  // namespace

TEST(LoadImageFile, EveryPictureKindArrivesAsTightRgbOrRgbaRows) {
    ScratchFolder folder;
    std::vector<uint8_t> odd(5 * 3 * 3), rgba(2 * 2 * 4);
    std::iota(odd.begin(), odd.end(), uint8_t(1));
    std::iota(rgba.begin(), rgba.end(), uint8_t(10));
    struct Case {
        const char* file;
        int width, height, colorType, bitDepth;
        std::vector<uint8_t> stored;
        int bytesPerPixel;
        std::vector<uint8_t> loaded;
    } cases[] = {
        // 5 pixels x 3 bytes = 15-byte rows: not a multiple of 4.
        {"five.png", 5, 3, PNG_COLOR_TYPE_RGB, 8, odd, 3, odd},
        {"l1.png", 2, 2, PNG_COLOR_TYPE_RGBA, 8, rgba, 4, rgba},
        {"grey.png", 3, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 100, 255}, 3, {0, 0, 0, 100, 100, 100, 255, 255, 255}},
        {"greyalpha.png", 2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {50, 7, 200, 255}, 4, {50, 50, 50, 7, 200, 200, 200, 255}},
        // 16 bits per channel (big-endian in the file): the high byte survives.
        {"deep.png", 1, 1, PNG_COLOR_TYPE_RGB, 16, {0x12, 0x00, 0xAB, 0xFF, 0xFF, 0xFF}, 3, {0x12, 0xAB, 0xFF}},
    };
    std::filesystem::create_directory(folder.path() / "Endscreen");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        // Backslash names reach the file in a subfolder.
        ASSERT_TRUE(writePng(folder.path() / "Endscreen" / c.file, c.width, c.height, c.colorType, c.bitDepth, c.stored));
        LoadedImage image = load(("Endscreen\\" + std::string(c.file)).c_str());
        ASSERT_TRUE(image.ok);
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.bytesPerPixel, c.bytesPerPixel);
        EXPECT_EQ(image.pixels, c.loaded);
    }
    // Blue-first pictures arrive in red-green-blue order.
    folder.write("pixel.tga", tgaPixel(10, 20, 30));
    LoadedImage tga = load("pixel.tga");
    ASSERT_TRUE(tga.ok);
    EXPECT_EQ(tga.bytesPerPixel, 3);
    EXPECT_EQ(tga.pixels, (std::vector<uint8_t>{30, 20, 10}));
}

TEST(LoadImageFile, MissingOrUndecodableFileSetsNothing) {
    ScratchFolder folder;
    folder.write("broken.png", "\x89PNG\r\n\x1a\n garbage that is not a picture");
    folder.write("empty.jpg", "");
    for (const char* name : {"absent.png", "broken.png", "empty.jpg"}) {
        LoadedImage image = load(name);
        EXPECT_FALSE(image.ok) << name;
        EXPECT_EQ(image.width, -1) << name;
        EXPECT_EQ(image.bytesPerPixel, -1) << name;
        EXPECT_TRUE(image.pixels.empty()) << name;
    }
}

TEST(TextureRegistry, FailedLookupLeavesAnEmptyEntryThatPublishingFills) {
    ScratchFolder folder;
    size_t before = GL_TextureManager::entryCount();
    EXPECT_EQ(GL_TextureManager::getTexture("RE:fboAO-test", GL_REPEAT, GL_REPEAT), nullptr);
    EXPECT_EQ(GL_TextureManager::getTexture("RE:fboAO-test", GL_REPEAT, GL_REPEAT), nullptr);
    EXPECT_EQ(GL_TextureManager::entryCount(), before + 1);

    GL_MemTexture first, second;
    EXPECT_FALSE(GL_TextureManager::addTexture("RE:fboAO-test", &first));  // stored
    EXPECT_TRUE(GL_TextureManager::addTexture("RE:fboAO-test", &second));  // already taken
    EXPECT_EQ(GL_TextureManager::getTexture("RE:fboAO-test", GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE), &first);
}

TEST(TextureRegistry, KeysAreByteExact) {
    GL_MemTexture doubled;
    EXPECT_FALSE(GL_TextureManager::addTexture("editor//button-key.png", &doubled));
    // No path or case normalisation: these are other names, tried as files and not found.
    EXPECT_EQ(GL_TextureManager::getTexture("editor/button-key.png", GL_REPEAT, GL_REPEAT), nullptr);
    EXPECT_EQ(GL_TextureManager::getTexture("EDITOR//button-key.png", GL_REPEAT, GL_REPEAT), nullptr);
    EXPECT_EQ(GL_TextureManager::getTexture("editor//button-key.png", GL_REPEAT, GL_REPEAT), &doubled);

    // Bytes above 127 are ordinary key bytes.
    GL_MemTexture high;
    EXPECT_FALSE(GL_TextureManager::addTexture("\xC3\xA9t\xC3\xA9.png", &high));
    EXPECT_EQ(GL_TextureManager::getTexture("\xC3\xA9t\xC3\xA9.png", GL_REPEAT, GL_REPEAT), &high);
}

TEST(ShaderScramble, TwiceRestoresEveryLengthAndOnceChangesTheText) {
    for (size_t length = 0; length <= 100; ++length) {
        std::vector<uint8_t> text(length);
        for (size_t i = 0; i < length; ++i)
            text[i] = uint8_t('a' + (i * 7) % 26);
        std::vector<uint8_t> copy = text;
        scrambleShaderText(copy.data(), copy.size());
        if (length > 0) {
            EXPECT_NE(copy, text) << length;
        }
        scrambleShaderText(copy.data(), copy.size());
        EXPECT_EQ(copy, text) << length;
    }
}
