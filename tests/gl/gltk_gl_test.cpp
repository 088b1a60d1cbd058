// The blur toolkit, observed through the pixels it leaves in its destination.
#include "gl/fbo_texture.h"
#include "gl/gltk.h"
#include "gl/shader.h"
#include "gl/unfiltered_reads.h"

#include "gl_readback.h"
#include "gl_test_files.h"
#include "toolkit_scratch.h"
#include "support/gl_fixture.h"
#include "support/trace_capture.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

using namespace zelFramework;
using namespace orvotest;

namespace {

// The picture size of the tests: a tenth of the scratch targets, same aspect, so one source pixel
// becomes a 10 x 10 block in the scratch picture.
constexpr int W = 64, H = 36;

std::vector<uint8_t> targetPixels(GL_FBOTexture& target) {
    return framebufferPixels(target.framebufferId, 0, 0, target.width, target.height);
}

uint8_t redAt(const std::vector<uint8_t>& pixels, int x, int y) { return pixels[(size_t(y) * W + size_t(x)) * 4]; }

void fill(GL_FBOTexture& target, float grey) {
    target.begin();
    glClearColor(grey, grey, grey, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    target.end();
    glClearColor(0, 0, 0, 0);
}

// Black with one white pixel in the middle.
void dot(GL_FBOTexture& target) {
    fill(target, 0.0f);
    target.begin();
    glEnable(GL_SCISSOR_TEST);
    glScissor(W / 2, H / 2, 1, 1);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
    target.end();
}

int litCount(const std::vector<uint8_t>& pixels) {
    int count = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        count += pixels[i] > 0;
    return count;
}

// What n passes with `exponent` do to a flat 8-bit grey: each pass raises it and stores 8 bits.
int flatAfterPasses(int value, float exponent, int passes) {
    for (int k = 0; k < passes; ++k)
        value = int(std::lround(255.0 * std::pow(value / 255.0, double(exponent))));
    return value;
}

class Toolkit : public GLTest {
protected:
    static void SetUpTestSuite() {
        ASSERT_NE(ensureGLContext(), nullptr);
        capture = std::make_unique<TraceCapture>();
        folder = startToolkitInScratchFolder();
        initLog = capture->text();
    }
    static void TearDownTestSuite() {
        gltkShutdown();
        folder.reset();
        capture.reset();
    }
    void SetUp() override {
        GLTest::SetUp();
        a.create(1, 8, W, H, GL_RGBA, false);
        b.create(1, 8, W, H, GL_RGBA, false);
    }
    void TearDown() override {
        a.release();
        b.release();
        EXPECT_TRUE(drainGLErrors().empty());
    }
    static inline std::unique_ptr<TraceCapture> capture;
    static inline std::unique_ptr<ScratchFolder> folder;
    static inline std::string initLog;
    GL_FBOTexture a, b;
};

}  // namespace

TEST_F(Toolkit, InitBuildsFourProgramsAndFindsEveryCachedUniform) {
    for (const char* name : {"gltkBlurShader", "gltkBlurThresholdShader", "gltkSmartBlurShader", "gltkBokehBlurShader"})
        EXPECT_NE(initLog.find(std::string("INFO (shaderCompiler): (") + name + ") - shader created!"),
                  std::string::npos) << name << "\n" << initLog;
    EXPECT_EQ(initLog.find("WARNING"), std::string::npos) << initLog;
    EXPECT_EQ(initLog.find("ERROR"), std::string::npos) << initLog;
    ASSERT_NE(gltkBlurTarget(1), nullptr);
    EXPECT_EQ(gltkBlurTarget(1)->width, 640);
    EXPECT_EQ(gltkBlurTarget(1)->height, 360);
}

TEST_F(Toolkit, BlurAtIntensityZeroKeepsThePictureAtOneSpreadsAWhitePixel) {
    fill(a, 0.4f);
    size_t depth = GL_FBOTexture::fboStack().size();
    gltkBlur(&a, &b, 0.0f, 1.0f);
    std::vector<uint8_t> flat = targetPixels(b);
    for (size_t i = 0; i < flat.size(); i += 4)
        ASSERT_NEAR(flat[i], 102, 1) << "pixel " << i / 4;
    // The caller's program, target, stack and texture unit are left alone.
    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(GL_FBOTexture::fboStack().size(), depth);
    // Passes that read whole texels bind a sampler of their own; a glow (a power) runs every kind.
    gltkBlur(&a, &b, 0.5f, 1.2f);
    EXPECT_EQ(glInteger(GL_SAMPLER_BINDING), 0) << "unit 0 would go on reading every texture unfiltered";

    dot(a);
    std::vector<uint8_t> sharp = targetPixels(a);
    gltkBlur(&a, &a, 0.0f, 1.0f);
    EXPECT_EQ(targetPixels(a), sharp);
    gltkBlur(&a, &a, 1.0f, 1.0f);
    std::vector<uint8_t> blurred = targetPixels(a);
    EXPECT_LT(redAt(blurred, W / 2, H / 2), 255);
    EXPECT_GT(redAt(blurred, W / 2 + 2, H / 2), 0);
    EXPECT_GT(redAt(blurred, W / 2, H / 2 + 1), 0);
    EXPECT_GT(redAt(blurred, W / 2 - 1, H / 2 - 1), 0);
    EXPECT_EQ(redAt(blurred, 2, 2), 0);  // far corner untouched
    EXPECT_GT(litCount(blurred), 9);
}

TEST_F(Toolkit, CopiesReadUnfilteredOnlyAtTheirOwnSize) {
    // Left half red, right half blue: a copy at the picture's size keeps the seam sharp, a larger
    // one blends across it, so its reads must have stayed filtered.
    a.begin();
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, W / 2, H);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(W / 2, 0, W / 2, H);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
    a.end();
    a.copyTo(&b);
    EXPECT_EQ(targetPixels(b), targetPixels(a));
    GL_FBOTexture larger;
    larger.create(1, 8, W * 2 + 6, H * 2, GL_RGBA, false);
    a.copyTo(&larger);
    const std::vector<uint8_t> big = framebufferPixels(larger.framebufferId, W - 2, H, 8, 1);
    int blended = 0;
    for (size_t i = 0; i < big.size(); i += 4) blended += big[i] > 0 && big[i + 2] > 0;
    EXPECT_GT(blended, 0) << "a copy to another size lost its filter";
    larger.release();
    EXPECT_EQ(glInteger(GL_SAMPLER_BINDING), 0);
}

TEST_F(Toolkit, UnfilteredReadsBindTheirUnitsForTheirScopeOnly) {
    ASSERT_NE(unfilteredSampler(), 0u) << "the test renderer has sampler objects";
    auto samplerOn = [](int unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        const GLint bound = glInteger(GL_SAMPLER_BINDING);
        glActiveTexture(GL_TEXTURE0);
        return bound;
    };
    {
        UnfilteredReads reads(0b101u, true);
        EXPECT_EQ(samplerOn(0), GLint(unfilteredSampler()));
        EXPECT_EQ(samplerOn(1), 0);
        EXPECT_EQ(samplerOn(2), GLint(unfilteredSampler()));
    }
    for (int unit : {0, 1, 2}) EXPECT_EQ(samplerOn(unit), 0) << unit;
    {
        UnfilteredReads reads(1u, false);  // a pass off the texel grid
        EXPECT_EQ(samplerOn(0), 0);
    }
}

TEST_F(Toolkit, AGlowDrawsTheSameAfterItsProgramsWereDroppedAndBuiltAgain) {
    auto kernelBuilds = [] {
        const std::string log = capture->text();
        int n = 0;
        for (size_t at = log.find("(gltkBlurKernel) - shader created"); at != std::string::npos;
             at = log.find("(gltkBlurKernel) - shader created", at + 1))
            ++n;
        return n;
    };
    dot(a);
    gltkBlur(&a, &b, 0.3f, 1.2f);
    const std::vector<uint8_t> first = targetPixels(b);
    const int builds = kernelBuilds();
    // Enough other blurs that the glow's programs sit idle long enough to be dropped.
    for (int k = 0; k < 70; ++k) gltkBlur(&a, &b, 0.05f, 1.0f);
    gltkBlur(&a, &b, 0.3f, 1.2f);
    EXPECT_GT(kernelBuilds(), builds + 1) << "the glow's programs were kept, so the rebuild went untried";
    EXPECT_EQ(targetPixels(b), first);
}

TEST_F(Toolkit, AnIntensityOrExponentThatIsNoNumberLeavesThePictureUnblurred) {
    dot(a);
    const std::vector<uint8_t> sharp = targetPixels(a);
    for (const float bad : {std::nanf(""), INFINITY, 1.0e9f, -1.0e9f}) {
        gltkBlur(&a, &b, bad, 1.2f);
        EXPECT_EQ(targetPixels(b), sharp) << bad;
        gltkBlur(&a, &b, 0.3f, std::isnan(bad) ? bad : -INFINITY);
        EXPECT_EQ(targetPixels(b), sharp) << bad;
    }
}

// The blur added onto a picture is the picture plus the blur at the weight: onto a picture smaller
// and larger than the scratch, with and without a power, and at a weight above 1, which takes more
// than one draw.
TEST_F(Toolkit, ABlurAddedOntoAPictureIsThePicturePlusTheBlurAtTheWeight) {
    GL_FBOTexture large, largeBlur;
    large.create(1, 8, 1280, 720, GL_RGBA, false);
    largeBlur.create(1, 8, 1280, 720, GL_RGBA, false);
    struct Case {
        GL_FBOTexture *picture, *blur;
        float exponent, weight;
    };
    for (const Case& c : {Case{&a, &b, 1.2f, 0.3f}, Case{&a, &b, 1.0f, 0.3f}, Case{&a, &b, 1.2f, 1.6f},
                          Case{&large, &largeBlur, 1.2f, 0.3f}, Case{&large, &largeBlur, 1.0f, 1.6f}}) {
        const int w = c.picture->width, h = c.picture->height;
        c.picture->begin();
        glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(w / 3, h / 3, w / 8, h / 8);
        glClearColor(0.5f, 0.4f, 0.3f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 0);
        c.picture->end();
        const std::vector<uint8_t> before = targetPixels(*c.picture);
        gltkBlur(c.picture, c.blur, 0.3f, c.exponent);
        const std::vector<uint8_t> blur = targetPixels(*c.blur);
        gltkBlurAdded(c.picture, c.picture, 0.3f, c.exponent, c.weight);
        const std::vector<uint8_t> after = targetPixels(*c.picture);
        int largest = 0;
        for (size_t i = 0; i < after.size(); i += 4)
            for (size_t k = 0; k < 3; ++k) {
                const double expected = std::min(255.0, before[i + k] + double(c.weight) * blur[i + k]);
                largest = std::max(largest, int(std::lround(std::abs(after[i + k] - expected))));
            }
        EXPECT_LE(largest, 2) << w << " wide, exponent " << c.exponent << ", weight " << c.weight;
        EXPECT_EQ(glInteger(GL_BLEND), 0);
        EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    }
    large.release();
    largeBlur.release();
}

TEST_F(Toolkit, PassCountFollowsIntensityOneElevenTwentyOne) {
    // Every pass raises the picture to the exponent, so a flat grey reveals how many passes ran.
    const float exponent = 1.05f;
    struct Case { float intensity; int passes; };
    for (Case c : {Case{0.0f, 1}, Case{0.5f, 11}, Case{1.0f, 21}}) {
        fill(a, 128.0f / 255.0f);
        gltkBlur(&a, &b, c.intensity, exponent);
        int expected = flatAfterPasses(128, exponent, c.passes);
        std::vector<uint8_t> pixels = targetPixels(b);
        EXPECT_NEAR(redAt(pixels, W / 2, H / 2), expected, 2) << "intensity " << c.intensity;
        EXPECT_NEAR(redAt(pixels, 0, 0), expected, 2) << "intensity " << c.intensity;
        // One pass more or fewer would be told apart.
        EXPECT_GT(std::abs(flatAfterPasses(128, exponent, c.passes + 1) - expected), 2);
    }
}

TEST_F(Toolkit, SpreadBlurSkipsTinyInPlaceIntensityAndWidensWithIntensity) {
    dot(a);
    std::vector<uint8_t> sharp = targetPixels(a);
    gltkSpreadBlur(&a, &a, 0.005f, 1.0f);
    EXPECT_EQ(targetPixels(a), sharp);

    // Into another target at intensity 0: only the resampling through the scratch picture remains.
    gltkSpreadBlur(&a, &b, 0.0f, 1.0f);
    std::vector<uint8_t> resampled = targetPixels(b);
    EXPECT_GE(redAt(resampled, W / 2, H / 2), 200);
    EXPECT_EQ(redAt(resampled, W / 2 + 2, H / 2), 0);

    gltkSpreadBlur(&a, &b, 0.25f, 1.0f);
    std::vector<uint8_t> narrow = targetPixels(b);
    gltkSpreadBlur(&a, &b, 1.0f, 1.0f);
    std::vector<uint8_t> wide = targetPixels(b);
    EXPECT_LT(redAt(wide, W / 2, H / 2), redAt(narrow, W / 2, H / 2));
    EXPECT_GT(litCount(wide), litCount(narrow));
    EXPECT_GT(redAt(wide, W / 2 + 1, H / 2), 0);
    EXPECT_EQ(redAt(wide, W / 2 + 5, H / 2), 0);  // the disc ends at its radius

    // Quality changes how the disc is sampled, not its size.
    gltkSpreadBlur(&a, &b, 1.0f, 0.25f);
    std::vector<uint8_t> coarse = targetPixels(b);
    EXPECT_NE(coarse, wide);

    // In place, the source is read from the scratch copy, so the blur is the same as into another target.
    gltkSpreadBlur(&a, &a, 1.0f, 1.0f);
    EXPECT_EQ(targetPixels(a), wide);
}
