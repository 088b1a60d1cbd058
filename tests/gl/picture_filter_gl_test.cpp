// Pictures drawn smaller than they are, as the corner logo and the zooming slides are: with mipmaps a
// thin-lined picture shrinks to the tone of its lines instead of losing them between the sampled
// spots, and drawn at its own size it still shows exactly its own pixels.
#include "gl/picture_file.h"
#include "gl/texture.h"
#include "gl/texture_manager.h"

#include "gl_readback.h"
#include "gl_test_files.h"
#include "support/gl_fixture.h"

#include <png.h>

#include <algorithm>

using namespace zelFramework;
using namespace orvotest;

namespace {

constexpr int SIDE = 240;  // the picture
constexpr int SHRUNK = SIDE / 8;

// Black with 1-pixel white lines one texel off every fourth column and row, like a logo's thin
// outline: 7 of every 16 texels are lit, and a draw at an eighth whose pixel centres fall between
// texels 8i+3 and 8i+4 never touches one.
DecodedPicture thinLines() {
    DecodedPicture p{SIDE, SIDE, 3, PixelBytes(size_t(SIDE) * SIDE * 3, 0)};
    for (int y = 0; y < SIDE; ++y)
        for (int x = 0; x < SIDE; ++x)
            if (x % 4 == 1 || y % 4 == 1)
                for (int c = 0; c < 3; ++c) p.pixels[(size_t(y) * SIDE + size_t(x)) * 3 + size_t(c)] = 255;
    return p;
}

// The texture drawn over a pixel-aligned `side` x `side` square at the window's bottom left.
std::vector<uint8_t> drawSquare(GL_MemTexture& texture, int side) {
    glViewport(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, GL_TEST_WIDTH, 0, GL_TEST_HEIGHT, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    texture.bind(GL_TEXTURE0);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(0, 0);
    glTexCoord2f(1, 0), glVertex2f(float(side), 0);
    glTexCoord2f(1, 1), glVertex2f(float(side), float(side));
    glTexCoord2f(0, 1), glVertex2f(0, float(side));
    glEnd();
    texture.unbind();
    glDisable(GL_TEXTURE_2D);
    return readPixelsRgba(0, 0, side, side);
}

struct Tone {
    double mean = 0;
    int lowest = 255, highest = 0;
};

Tone redTone(const std::vector<uint8_t>& rgba) {
    Tone t;
    for (size_t i = 0; i < rgba.size(); i += 4) {
        t.mean += rgba[i];
        t.lowest = std::min<int>(t.lowest, rgba[i]);
        t.highest = std::max<int>(t.highest, rgba[i]);
    }
    t.mean /= double(rgba.size() / 4);
    return t;
}

}  // namespace

using PictureFilter = GLTest;

TEST_F(PictureFilter, MipmappedPictureShrinksToTheToneOfItsLinesAndIsItselfAtItsSize) {
    const DecodedPicture picture = thinLines();
    const std::vector<DecodedPicture> levels = smallerLevels(picture);
    std::vector<PictureLevel> smaller;
    for (const DecodedPicture& l : levels) smaller.push_back({l.pixels.data(), l.width, l.height});
    GL_MemTexture plain, mipmapped;
    plain.create(picture.pixels.data(), SIDE, SIDE, GL_RGB, GL_REPEAT, GL_REPEAT);
    mipmapped.create(picture.pixels.data(), SIDE, SIDE, GL_RGB, GL_REPEAT, GL_REPEAT, smaller);

    const std::vector<uint8_t> atSize = drawSquare(mipmapped, SIDE);
    int largest = 0;
    for (size_t i = 0; i < size_t(SIDE) * SIDE; ++i)
        largest = std::max(largest, std::abs(int(atSize[i * 4]) - int(picture.pixels[i * 3])));
    EXPECT_LE(largest, 1) << "drawn at its size the mipmapped picture must show its own pixels";

    const double lit = 255.0 * 7.0 / 16.0;
    const Tone filtered = redTone(drawSquare(mipmapped, SHRUNK));
    EXPECT_NEAR(filtered.mean, lit, 6.0);
    EXPECT_LE(filtered.highest - filtered.lowest, 8);
    // The same picture without mipmaps loses its lines altogether: what the test guards against.
    EXPECT_LT(redTone(drawSquare(plain, SHRUNK)).mean, lit / 2);

    plain.release();
    mipmapped.release();
    EXPECT_TRUE(drainGLErrors().empty());
}

// A picture asked for as drawn smaller gets its whole mipmap chain and trilinear reading; any other
// picture (a slide drawn at the picture's size) keeps plain linear filtering and one level.
TEST_F(PictureFilter, OnlyPicturesDrawnSmallerGetMipmaps) {
    ScratchFolder folder;
    std::vector<uint8_t> pixels(size_t(20) * 12 * 4, 200);
    ASSERT_TRUE(writePng(folder.path() / "logo.png", 20, 12, PNG_COLOR_TYPE_RGBA, 8, pixels));
    ASSERT_TRUE(writePng(folder.path() / "wall.png", 20, 12, PNG_COLOR_TYPE_RGBA, 8, pixels));
    GL_Texture* logo = GL_TextureManager::getTexture("logo.png", GL_REPEAT, GL_REPEAT, {.drawnSmaller = true});
    GL_Texture* wall = GL_TextureManager::getTexture("wall.png", GL_REPEAT, GL_REPEAT);
    ASSERT_NE(logo, nullptr);
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(textureParameter(logo->textureId, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(textureParameter(logo->textureId, GL_TEXTURE_MAX_LEVEL), 4);  // 10x6, 5x3, 2x1, 1x1
    GLint smallestWidth = 0;
    glBindTexture(GL_TEXTURE_2D, logo->textureId);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 4, GL_TEXTURE_WIDTH, &smallestWidth);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(smallestWidth, 1);
    EXPECT_EQ(textureParameter(wall->textureId, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(wall->textureId, GL_TEXTURE_MAX_LEVEL), 0);
    EXPECT_TRUE(drainGLErrors().empty());
}

// A mipmapped picture whose file changes while the show runs gets the levels of its new contents:
// the old ones no longer fit a picture of another size, and a texture with levels that do not fit
// draws nothing at all where it is drawn smaller.
TEST_F(PictureFilter, ReloadedMipmappedPictureGetsTheLevelsOfItsNewContents) {
    ScratchFolder folder;
    ASSERT_TRUE(writePng(folder.path() / "badge.png", 20, 12, PNG_COLOR_TYPE_RGB, 8, std::vector<uint8_t>(20 * 12 * 3, 40)));
    GL_Texture* badge = GL_TextureManager::getTexture("badge.png", GL_REPEAT, GL_REPEAT, {.drawnSmaller = true});
    ASSERT_NE(badge, nullptr);
    ASSERT_TRUE(writePng(folder.path() / "badge.png", 8, 8, PNG_COLOR_TYPE_RGB, 8, std::vector<uint8_t>(8 * 8 * 3, 220)));
    EXPECT_EQ(GL_TextureManager::reloadPicture("badge.png"), 1);
    EXPECT_EQ(badge->width, 8);
    EXPECT_EQ(textureParameter(badge->textureId, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(textureParameter(badge->textureId, GL_TEXTURE_MAX_LEVEL), 3);  // 4x4, 2x2, 1x1
    std::vector<uint8_t> smallest(3);
    glBindTexture(GL_TEXTURE_2D, badge->textureId);
    glGetTexImage(GL_TEXTURE_2D, 3, GL_RGB, GL_UNSIGNED_BYTE, smallest.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(smallest, (std::vector<uint8_t>{220, 220, 220}));
    EXPECT_TRUE(drainGLErrors().empty());
}
