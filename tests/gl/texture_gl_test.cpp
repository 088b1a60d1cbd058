// Uploaded pictures and the white texture, read back from OpenGL.
#include "gl/texture.h"
#include "gl/texture_manager.h"

#include "gl_readback.h"
#include "gl_test_files.h"
#include "support/gl_fixture.h"
#include "support/trace_capture.h"

#include <png.h>

#include <filesystem>
#include <numeric>

using namespace zelFramework;
using namespace orvotest;

namespace {

std::vector<uint8_t> textureBytes(GLuint id, GLenum format, int width, int height) {
    int channels = format == GL_RGB ? 3 : 4;
    std::vector<uint8_t> bytes(size_t(width) * size_t(height) * size_t(channels));
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, bytes.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return bytes;
}

}  // namespace

using Textures = GLTest;

TEST_F(Textures, WhiteTextureIsOneEightByEightWhiteObject) {
    GL_Texture* white = GL_TextureManager::getWhiteTexture();
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(GL_TextureManager::getWhiteTexture(), white);
    EXPECT_EQ(white->width, 8);
    EXPECT_EQ(white->height, 8);
    EXPECT_EQ(white->format, GLenum(GL_RGB));
    std::vector<uint8_t> bytes = textureBytes(white->textureId, GL_RGBA, 8, 8);
    EXPECT_EQ(bytes, std::vector<uint8_t>(8 * 8 * 4, 255));
    EXPECT_EQ(GL_TextureManager::getTexture("__whiteorvotex__", GL_REPEAT, GL_REPEAT), white);
}

TEST_F(Textures, OddWidthRgbPictureUploadsWithExactPixels) {
    ScratchFolder folder;
    std::vector<uint8_t> pixels(5 * 4 * 3);
    std::iota(pixels.begin(), pixels.end(), uint8_t(3));
    ASSERT_TRUE(writePng(folder.path() / "odd.png", 5, 4, PNG_COLOR_TYPE_RGB, 8, pixels));

    GLint alignmentBefore = glInteger(GL_UNPACK_ALIGNMENT);
    GL_Texture* texture = GL_TextureManager::getTexture("odd.png", GL_REPEAT, GL_REPEAT);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->width, 5);
    EXPECT_EQ(texture->height, 4);
    EXPECT_EQ(texture->format, GLenum(GL_RGB));
    EXPECT_EQ(textureBytes(texture->textureId, GL_RGB, 5, 4), pixels);
    EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), alignmentBefore);
    EXPECT_TRUE(drainGLErrors().empty());
}

TEST_F(Textures, FirstRequestsWrapModesWin) {
    ScratchFolder folder;
    ASSERT_TRUE(writePng(folder.path() / "noise.png", 2, 1, PNG_COLOR_TYPE_GRAY, 8, {40, 220}));
    GL_Texture* clamped = GL_TextureManager::getTexture("noise.png", GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    ASSERT_NE(clamped, nullptr);
    EXPECT_EQ(GL_TextureManager::getTexture("noise.png", GL_REPEAT, GL_REPEAT), clamped);
    EXPECT_EQ(textureParameter(clamped->textureId, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(textureParameter(clamped->textureId, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
}

TEST_F(Textures, BindOnUnitOneThenUnbindLeavesUnitOneActiveAndEmpty) {
    uint8_t pixel[4] = {1, 2, 3, 4};
    GL_MemTexture texture;
    texture.create(pixel, 1, 1, GL_RGBA, GL_REPEAT, GL_REPEAT);
    texture.bind(GL_TEXTURE0 + 1);
    EXPECT_EQ(GLuint(glInteger(GL_TEXTURE_BINDING_2D)), texture.textureId);
    texture.unbind();
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    texture.release();
    EXPECT_EQ(texture.textureId, 0u);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
}

// An upright picture meant for a slot that maps the first row to the bottom: one line in the rules
// file turns it on loading, and pictures without a rule keep their rows exactly as stored.
TEST_F(Textures, FlipRuleTurnsOnlyTheNamedPicture) {
    ScratchFolder folder;
    const std::vector<uint8_t> rows = {1, 2, 3, 4, 5, 6, 7, 8, 9};  // 1 x 3 RGB: three rows
    std::filesystem::create_directory(folder.path() / "sub");
    ASSERT_TRUE(writePng(folder.path() / "sub" / "upright.png", 1, 3, PNG_COLOR_TYPE_RGB, 8, rows));
    ASSERT_TRUE(writePng(folder.path() / "stored.png", 1, 3, PNG_COLOR_TYPE_RGB, 8, rows));
    folder.write("pictures.txt", "flip sub/upright.png\n");

    GL_Texture* turned = GL_TextureManager::getTexture("sub\\upright.png");
    GL_Texture* kept = GL_TextureManager::getTexture("stored.png");
    ASSERT_NE(turned, nullptr);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(textureBytes(turned->textureId, GL_RGB, 1, 3), (std::vector<uint8_t>{7, 8, 9, 4, 5, 6, 1, 2, 3}));
    EXPECT_EQ(textureBytes(kept->textureId, GL_RGB, 1, 3), rows);
}

// Pictures decoded on the worker threads become the same textures as pictures loaded in place; a
// picture that is refused before decoding still gives null, one damaged inside gets a transparent
// pixel and a WARNING, and a picture with a fit is kept at the size it is drawn at.
TEST_F(Textures, BackgroundLoadingGivesTheSameTextures) {
    ScratchFolder folder;
    constexpr int COUNT = 6;
    for (int i = 0; i < COUNT; ++i) {
        const int w = 3 + i, h = 2 + 2 * i;
        std::vector<uint8_t> pixels(size_t(w * h * (i % 2 ? 4 : 3)));
        std::iota(pixels.begin(), pixels.end(), uint8_t(i * 17));
        const int type = i % 2 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
        ASSERT_TRUE(writePng(folder.path() / ("bg" + std::to_string(i) + ".png"), w, h, type, 8, pixels));
        ASSERT_TRUE(writePng(folder.path() / ("fg" + std::to_string(i) + ".png"), w, h, type, 8, pixels));
    }
    std::vector<uint8_t> wide(size_t(12 * 6 * 3));
    std::iota(wide.begin(), wide.end(), uint8_t(0));
    ASSERT_TRUE(writePng(folder.path() / "wide.png", 12, 6, PNG_COLOR_TYPE_RGB, 8, wide));
    const std::string good = folder.read("bg0.png");
    std::string damaged = good;
    for (size_t i = 41; i < damaged.size() - 12; ++i) damaged[i] = char(0x5A);  // the pixel data
    folder.write("damaged.png", damaged);

    orvotest::TraceCapture capture;
    GL_TextureManager::startBackgroundLoading(2);
    GL_Texture* background[COUNT];
    for (int i = 0; i < COUNT; ++i) background[i] = GL_TextureManager::getTexture(("bg" + std::to_string(i) + ".png").c_str());
    GL_Texture* fitted = GL_TextureManager::getTexture("wide.png", GL_REPEAT, GL_REPEAT, PictureFit{4, 2});
    GL_Texture* broken = GL_TextureManager::getTexture("damaged.png");
    EXPECT_EQ(GL_TextureManager::getTexture("absent-background.png"), nullptr);
    GL_TextureManager::finishBackgroundLoading();

    for (int i = 0; i < COUNT; ++i) {
        GL_Texture* inPlace = GL_TextureManager::getTexture(("fg" + std::to_string(i) + ".png").c_str());
        ASSERT_NE(background[i], nullptr);
        ASSERT_NE(inPlace, nullptr);
        EXPECT_EQ(background[i]->width, inPlace->width);
        EXPECT_EQ(background[i]->height, inPlace->height);
        EXPECT_EQ(background[i]->format, inPlace->format);
        EXPECT_EQ(textureBytes(background[i]->textureId, inPlace->format, inPlace->width, inPlace->height),
                  textureBytes(inPlace->textureId, inPlace->format, inPlace->width, inPlace->height)) << i;
    }
    ASSERT_NE(fitted, nullptr);
    EXPECT_EQ(fitted->width, 4);
    EXPECT_EQ(fitted->height, 2);
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(broken->width, 1);
    EXPECT_EQ(textureBytes(broken->textureId, GL_RGBA, 1, 1), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_TRUE(capture.contains("cannot load picture \"damaged.png\"")) << capture.text();
    EXPECT_TRUE(capture.contains("cannot load picture \"absent-background.png\": file not found")) << capture.text();
    EXPECT_TRUE(drainGLErrors().empty());
}
