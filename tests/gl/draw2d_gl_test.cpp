// The 2-D routines: where the full-screen quad, gradient, billboards and text land in the window.
#include "gl/bitmap_font.h"
#include "gl/gltk.h"
#include "gl/texture.h"

#include "gl_readback.h"
#include "support/gl_fixture.h"
#include "support/trace_capture.h"

using namespace zelFramework;
using namespace orvotest;

namespace {

constexpr Rgba RED{255, 0, 0, 255}, GREEN{0, 255, 0, 255}, BLUE{0, 0, 255, 255}, WHITE{255, 255, 255, 255};
constexpr Rgba BLACK{0, 0, 0, 0};

// 2 x 2 picture, texture row 0 (the bottom in OpenGL) red, green; row 1 blue, white.
class Draw2D : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        const uint8_t pixels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
        quadrants.create(pixels, 2, 2, GL_RGB, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
        glColor4f(1, 1, 1, 1);
    }
    void TearDown() override {
        quadrants.unbind();
        glDisable(GL_TEXTURE_2D);
        quadrants.release();
    }
    // Colours at the centres of the four screen quadrants: bottom-left, bottom-right, top-left, top-right.
    static std::vector<Rgba> quadrantColours() {
        const int lo = GL_TEST_WIDTH / 4, hi = 3 * GL_TEST_WIDTH / 4;
        return {readPixel(lo, lo), readPixel(hi, lo), readPixel(lo, hi), readPixel(hi, hi)};
    }
    GL_MemTexture quadrants;
};

// Linear filtering on llvmpipe lands a few steps off exact texel colours.
::testing::AssertionResult near(const std::vector<Rgba>& actual, const std::vector<Rgba>& expected) {
    for (size_t i = 0; i < actual.size(); ++i) {
        const Rgba &p = actual[i], &q = expected[i];
        if (std::abs(p.r - q.r) > 6 || std::abs(p.g - q.g) > 6 || std::abs(p.b - q.b) > 6 || p.a != q.a)
            return ::testing::AssertionFailure() << "element " << i << " is " << p << ", expected " << q;
    }
    return ::testing::AssertionSuccess();
}
::testing::AssertionResult near(const Rgba& actual, const Rgba& expected) {
    return near(std::vector<Rgba>{actual}, std::vector<Rgba>{expected});
}

// Text is drawn in window coordinates on a cleared, untextured window.
bool clearForText() {
    if (!ensureGLContext())
        return false;
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    return true;
}

std::vector<int> litColumns(int y) {
    std::vector<uint8_t> pixels = readPixelsRgba(0, y, GL_TEST_WIDTH, 1);
    std::vector<int> lit;
    for (int x = 0; x < GL_TEST_WIDTH; ++x)
        if (pixels[size_t(x) * 4] > 0)
            lit.push_back(x);
    return lit;
}

}  // namespace

TEST_F(Draw2D, QuadStandsUprightFlipsScalesAndTurnsAboutTheScreenCentre) {
    quadrants.bind(GL_TEXTURE0);
    drawQuad(false, 1.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(near(quadrantColours(), {RED, GREEN, BLUE, WHITE}));
    drawQuad(true, 1.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(near(quadrantColours(), {BLUE, WHITE, RED, GREEN}));
    // The matrices the caller had are left as they were.
    EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(glInteger(GL_PROJECTION_STACK_DEPTH), 1);

    glClear(GL_COLOR_BUFFER_BIT);
    drawQuad(false, 1.0f, 0.0f, 0.0f, 90.0f);
    EXPECT_TRUE(near(quadrantColours(), {GREEN, WHITE, RED, BLUE}));

    glClear(GL_COLOR_BUFFER_BIT);
    drawQuad(false, 0.5f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(readPixel(10, 10), BLACK);
    EXPECT_EQ(readPixel(245, 245), BLACK);
    EXPECT_TRUE(near(readPixel(96, 96), RED));
    EXPECT_TRUE(near(readPixel(160, 160), WHITE));

    glClear(GL_COLOR_BUFFER_BIT);
    drawQuad(false, 1.0f, 0.25f, 0.0f, 0.0f);  // a quarter of the screen to the right
    EXPECT_EQ(readPixel(32, 64), BLACK);
    EXPECT_TRUE(near(readPixel(96, 32), RED));
}

TEST_F(Draw2D, GradientRunsFromBottomColourToTopColourWithZeroAlpha) {
    const float bottom[3] = {1.0f, 0.0f, 0.0f};
    const float top[3] = {0.0f, 0.0f, 1.0f};
    drawVerticalGradient(bottom, top);
    Rgba low = readPixel(128, 0), high = readPixel(128, GL_TEST_HEIGHT - 1), middle = readPixel(128, 128);
    EXPECT_GE(low.r, 250);
    EXPECT_LE(low.b, 5);
    EXPECT_GE(high.b, 250);
    EXPECT_LE(high.r, 5);
    EXPECT_NEAR(middle.r, 127, 3);
    EXPECT_EQ(low.a, 0);
    EXPECT_EQ(high.a, 0);
}

TEST_F(Draw2D, BillboardFacesTheCameraOnlyWhenItsAxesAreRefreshed) {
    quadrants.bind(GL_TEXTURE0);
    drawBillboard(true, 0.5f, 0.0f, 0.0f, 0.0f);  // identity view: a square over the middle half
    EXPECT_EQ(readPixel(10, 10), BLACK);
    EXPECT_TRUE(near(readPixel(96, 96), BLUE));    // texture (0, 1) at the lower left corner
    EXPECT_TRUE(near(readPixel(160, 160), GREEN)); // texture (1, 0) at the upper right corner

    // Turned view: refreshed axes counter the turn, so the square stays square to the screen...
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(45.0f, 0.0f, 0.0f, 1.0f);
    drawBillboard(true, 0.5f, 0.0f, 0.0f, 0.0f);
    EXPECT_NE(readPixel(70, 70), BLACK);
    // ...while the axes of the last refresh, reused under another turn, give a diamond.
    glClear(GL_COLOR_BUFFER_BIT);
    glRotatef(45.0f, 0.0f, 0.0f, 1.0f);
    drawBillboard(false, 0.5f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(readPixel(70, 70), BLACK);
    EXPECT_NE(readPixel(128, 128), BLACK);
    glLoadIdentity();
}

TEST(DrawText, CallsOneListPerCharacterFromCode32) {
    ASSERT_TRUE(clearForText());
    // A font whose list for code c lights one pixel and moves on by c - 32 pixels, so the lit columns
    // spell out which lists ran and in what order.
    GLuint base = glGenLists(FONT_CODE_COUNT);
    const GLubyte dot = 0x80;
    for (int i = 0; i < FONT_CODE_COUNT; ++i) {
        glNewList(base + GLuint(i), GL_COMPILE);
        glBitmap(1, 1, 0.0f, 0.0f, float(i), 0.0f, &dot);
        glEndList();
    }
    const float x = 10.25f / 128.0f - 1.0f, y = 20.25f / 128.0f - 1.0f;  // window pixel (10, 20)
    drawText(base, x, y, 1, 1, 1, 1, "%d:%d", 3, 4);
    // '3' (advance 19), ':' (advance 26), '4'.
    EXPECT_EQ(litColumns(20), (std::vector<int>{10, 29, 55}));

    glClear(GL_COLOR_BUFFER_BIT);
    // Bytes without a list in the font are dropped instead of calling unrelated lists.
    drawText(base, x, y, 1, 1, 1, 1, "%s", "\x01" "A\xFF\n");
    EXPECT_EQ(litColumns(20), (std::vector<int>{10}));
    GLint listBase = -1;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    EXPECT_EQ(listBase, 0);  // restored
    glDeleteLists(base, FONT_CODE_COUNT);
}

TEST(BitmapFontTest, DejaVuSansRendersPrintableCharactersOnly) {
    ASSERT_TRUE(clearForText());
    BitmapFont font;
    ASSERT_TRUE(createBitmapFont(font, 20));
    EXPECT_NE(font.name.find("DejaVu Sans"), std::string::npos);
    EXPECT_GT(font.advance['W' - 32], font.advance['i' - 32]);
    EXPECT_GT(font.advance[' ' - 32], 0);
    EXPECT_EQ(font.textWidth("Wi\n"), font.advance['W' - 32] + font.advance['i' - 32]);  // no list, no width
    EXPECT_GT(font.ascent, 10);

    drawText(font.listBase, -0.5f, 0.0f, 1, 1, 1, 1, "   ");
    std::vector<uint8_t> all = readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    EXPECT_EQ(std::count(all.begin(), all.end(), uint8_t(255)), 0);
    drawText(font.listBase, -0.5f, 0.0f, 1, 1, 1, 1, "Ag");
    all = readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    EXPECT_GT(std::count(all.begin(), all.end(), uint8_t(255)), 40);
    // 'g' descends below the baseline at window row 128, 'A' does not rise above the ascent.
    std::vector<uint8_t> below = readPixelsRgba(64, 120, 64, 6);
    EXPECT_GT(std::count(below.begin(), below.end(), uint8_t(255)), 0);
    releaseBitmapFont(font);
    EXPECT_FALSE(font.valid());

    TraceCapture capture;
    BitmapFont missing;
    EXPECT_FALSE(createBitmapFont(missing, 20, "/nonexistent/font.ttf"));
    EXPECT_TRUE(capture.contains("ERROR (fontLoader): unable to load the font /nonexistent/font.ttf at 20 pixels"));
    EXPECT_FALSE(missing.valid());
}
