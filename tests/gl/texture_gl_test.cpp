// Uploaded pictures and the white texture, read back from OpenGL.
#include "gl/texture.h"
#include "gl/texture_manager.h"

#include "gl_readback.h"
#include "gl_test_files.h"
#include "support/gl_fixture.h"

#include <png.h>

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
