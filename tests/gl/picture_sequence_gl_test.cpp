// A picture sequence read back from OpenGL: each frame it shows must be the texture a loaded
// picture of that file would be, through the one texture object, and a frame that cannot be read
// must leave the last good one on screen rather than a blank or a crash.
#include "gl/picture_sequence.h"

#include "gl_readback.h"
#include "gl_test_files.h"
#include "support/gl_fixture.h"
#include "support/trace_capture.h"

#include <png.h>

#include <numeric>

using namespace zelFramework;
using namespace orvotest;

namespace {

std::vector<uint8_t> texturePixels(const GL_Texture& texture) {
    const int channels = texture.format == GL_RGB ? 3 : 4;
    std::vector<uint8_t> bytes(size_t(texture.width) * size_t(texture.height) * size_t(channels));
    glBindTexture(GL_TEXTURE_2D, texture.textureId);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, texture.format, GL_UNSIGNED_BYTE, bytes.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return bytes;
}

// Frame i: 10 x 6 pixels of its own ramp, RGB, except frame 2, which has alpha.
void writeFrame(const ScratchFolder& folder, int i) {
    const bool alpha = i == 2;
    std::vector<uint8_t> pixels(size_t(10 * 6 * (alpha ? 4 : 3)));
    std::iota(pixels.begin(), pixels.end(), uint8_t(40 * i));
    ASSERT_TRUE(writePng(folder.path() / ("frame" + std::to_string(i) + ".png"), 10, 6,
                         alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, 8, pixels));
}

}  // namespace

using PictureSequences = GLTest;

// Shrunk to the drawn size (as the hosts' video is), every frame must map the same pixels as the
// picture loaded on its own with that fit: a wrong fit, a frame off by one or a stale upload shows.
TEST_F(PictureSequences, EachFrameIsTheLoadedPictureAndAFailedOneKeepsTheLast) {
    ScratchFolder folder;
    for (int i = 0; i < 3; ++i) writeFrame(folder, i);
    std::string damaged = folder.read("frame0.png");
    for (size_t i = 41; i < damaged.size() - 12; ++i) damaged[i] = char(0x5A);  // the pixel data
    folder.write("damaged.png", damaged);
    const PictureFit fit{7, 4};
    std::vector<std::vector<uint8_t>> expected;
    for (int i = 0; i < 3; ++i) {
        folder.write("alone" + std::to_string(i) + ".png", folder.read("frame" + std::to_string(i) + ".png"));
        GL_Texture* alone = GL_TextureManager::getTexture(("alone" + std::to_string(i) + ".png").c_str(), GL_REPEAT,
                                                          GL_REPEAT, fit);
        ASSERT_NE(alone, nullptr);
        ASSERT_EQ(alone->width, 7);
        ASSERT_EQ(alone->height, 4);
        expected.push_back(texturePixels(*alone));
    }
    const size_t entriesBefore = GL_TextureManager::entryCount();

    TraceCapture capture;
    GL_PictureSequence sequence;
    sequence.open({"frame0.png", "frame1.png", "frame2.png", "absent.png", "damaged.png"}, fit, GL_CLAMP_TO_EDGE,
                  GL_REPEAT);
    EXPECT_EQ(capture.count("cannot load picture \"absent.png\": file not found"), 1) << capture.text();
    EXPECT_FALSE(capture.contains("damaged.png")) << "its header is sound; only decoding finds the damage";
    GL_Texture* texture = sequence.texture();
    const GLuint id = texture->textureId;
    EXPECT_EQ(sequence.shown(), 0u);
    EXPECT_EQ(texturePixels(*texture), expected[0]);
    EXPECT_EQ(textureParameter(id, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);

    for (size_t i : {2u, 1u, 2u, 0u}) {
        sequence.show(i);
        EXPECT_EQ(sequence.shown(), i);
        EXPECT_EQ(texture->format, GLenum(i == 2 ? GL_RGBA : GL_RGB)) << i;
        EXPECT_EQ(texturePixels(*texture), expected[i]) << i;
    }

    sequence.show(1);
    for (int tries = 0; tries < 3; ++tries) {
        sequence.show(3);
        sequence.show(4);
        sequence.show(99);
    }
    EXPECT_EQ(sequence.shown(), 1u);
    EXPECT_EQ(texturePixels(*texture), expected[1]);
    EXPECT_EQ(capture.count("cannot load picture \"damaged.png\""), 1) << capture.text();
    EXPECT_EQ(capture.count("absent.png"), 1) << capture.text();

    EXPECT_EQ(texture->textureId, id);
    EXPECT_EQ(textureParameter(id, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(GL_TextureManager::entryCount(), entriesBefore) << "frames are not registered as pictures";
    EXPECT_TRUE(drainGLErrors().empty());
}

// A frame file rewritten while the show runs (the --watch reload) shows at once when it is on
// screen, and one that could not be read before is tried again when it is next asked for.
TEST_F(PictureSequences, AReloadedFrameFileShowsAtOnceAndABrokenOneIsTriedAgain) {
    ScratchFolder folder;
    for (int i = 0; i < 3; ++i) writeFrame(folder, i);
    TraceCapture capture;
    GL_PictureSequence sequence;
    sequence.open({"frame0.png", "frame1.png", "later.png"}, {}, GL_REPEAT, GL_REPEAT);
    ASSERT_TRUE(capture.contains("later.png"));
    sequence.show(1);
    const std::vector<uint8_t> frame1 = texturePixels(*sequence.texture());

    folder.write("frame1.png", folder.read("frame2.png"));
    EXPECT_EQ(GL_TextureManager::reloadPicture("./frame1.png"), 1);
    EXPECT_EQ(sequence.shown(), 1u);
    EXPECT_EQ(sequence.texture()->format, GLenum(GL_RGBA));
    EXPECT_NE(texturePixels(*sequence.texture()), frame1);

    folder.write("frame1.png", "not a picture");
    EXPECT_EQ(GL_TextureManager::reloadPicture("frame1.png"), 0);
    EXPECT_EQ(sequence.shown(), 1u) << "the last good picture stays";
    EXPECT_EQ(sequence.texture()->format, GLenum(GL_RGBA));

    sequence.show(2);
    EXPECT_EQ(sequence.shown(), 1u);
    folder.write("later.png", folder.read("frame0.png"));
    EXPECT_EQ(GL_TextureManager::reloadPicture("later.png"), 0) << "not on screen";
    sequence.show(2);
    EXPECT_EQ(sequence.shown(), 2u);
    EXPECT_EQ(sequence.texture()->format, GLenum(GL_RGB));
    EXPECT_TRUE(drainGLErrors().empty());
}

// Without a readable first frame the texture is one transparent pixel, which the scene's opaque
// pass leaves out, until a readable frame is shown.
TEST_F(PictureSequences, AnUnreadableFirstFrameGivesOneClearPixel) {
    ScratchFolder folder;
    writeFrame(folder, 1);
    TraceCapture capture;
    GL_PictureSequence sequence;
    sequence.open({"missing.png", "frame1.png"}, {}, GL_REPEAT, GL_REPEAT);
    EXPECT_TRUE(capture.contains("missing.png")) << capture.text();
    EXPECT_EQ(sequence.shown(), sequence.size());
    ASSERT_EQ(sequence.texture()->width, 1);
    EXPECT_EQ(texturePixels(*sequence.texture()), (std::vector<uint8_t>{0, 0, 0, 0}));
    sequence.show(1);
    EXPECT_EQ(sequence.shown(), 1u);
    EXPECT_EQ(sequence.texture()->width, 10);
    EXPECT_TRUE(drainGLErrors().empty());
}
