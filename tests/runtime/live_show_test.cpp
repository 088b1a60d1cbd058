// The runtime on real OpenGL: matrices per layer, the loading picture, the F10 graph and capture.
#include <gtest/gtest.h>
#include <png.h>

#include <GL/glew.h>

#include <filesystem>

#include "fake_layer.h"
#include "gl/texture.h"
#include "gl/texture_manager.h"
#include "runtime/capture_host.h"
#include "runtime/gl_loading_host.h"
#include "runtime/step_clock_host.h"
#include "runtime/test_composition.h"
#include "support/gl_fixture.h"

namespace zelFramework::testing {
namespace {

using orvotest::GLTest;

// A step-clock host that lets the test look at each finished picture before it is presented.
class InspectingHost : public StepClockHost {
public:
    using StepClockHost::StepClockHost;
    std::function<void(uint32_t)> inspect;

protected:
    void onFrame(uint32_t showMs) override {
        if (inspect) inspect(showMs);
    }
};

class LiveShowTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        resetRuntime();
        setDebugOutputHook([](const char*) {});
    }
    void TearDown() override {
        setDebugOutputHook({});
        for (uint32_t key = 0; key < 256; ++key) setKeyDown(key, false);
        resetRuntime();
    }
    CallLog log;
};

// A layer that leaves its matrices in a mess, and one that notes what it is handed.
struct MessyLayer : FakeLayer {
    using FakeLayer::FakeLayer;
    void render() override {
        glMatrixMode(GL_PROJECTION);
        glOrtho(-3, 3, -3, 3, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glTranslatef(5.0f, 0.0f, 0.0f);
        glMatrixMode(GL_PROJECTION);  // and the wrong matrix current
    }
};
// Projection and modelview (32 floats) and, when the modelview is current, its stack depth (else -1).
using MatrixState = std::array<float, 33>;
struct MatrixProbe : FakeLayer {
    MatrixProbe(CallLog& log, std::vector<MatrixState>& out) : FakeLayer("probe", log), seen(out) {}
    void render() override {
        MatrixState m{};
        glGetFloatv(GL_PROJECTION_MATRIX, m.data());
        glGetFloatv(GL_MODELVIEW_MATRIX, m.data() + 16);
        GLint depth = 0, mode = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        m[32] = mode == GL_MODELVIEW ? float(depth) : -1.0f;
        seen.push_back(m);
    }
    std::vector<MatrixState>& seen;
};

TEST_F(LiveShowTest, EveryLayerStartsFromIdentityMatrices) {
    std::vector<MatrixState> seen;
    registerLayer(new MessyLayer("messy", log), "messy");
    registerLayer(new MatrixProbe(log, seen), "probe");
    scheduleLayer("messy", 1, 0, 200);
    scheduleLayer("probe", 2, 0, 200);
    GLLoadingHost loading(window());
    loadShowOn(loading);
    ASSERT_EQ(runtime().state, RuntimeState::Ready);
    InspectingHost host(window(), 10);
    runShowOn(host, window());
    ASSERT_EQ(seen.size(), 3u);
    for (const MatrixState& m : seen) {
        for (int i = 0; i < 32; ++i) EXPECT_FLOAT_EQ(m[size_t(i)], (i % 16) % 5 == 0 ? 1.0f : 0.0f) << i;
        EXPECT_EQ(m[32], 2.0f);  // the modelview pushed once, and current
    }
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);  // every push popped
}

TEST_F(LiveShowTest, TheLoadingPictureShowsAtTheFadeBrightnessOrBlack) {
    static const std::vector<uint8_t> white(16 * 16 * 3, 0xFF);
    GL_MemTexture* texture = new GL_MemTexture();
    texture->create(white.data(), 16, 16, GL_RGB, GL_REPEAT, GL_REPEAT);
    GL_TextureManager::addTexture("loading.jpg", texture);
    GLLoadingHost host(window());
    ASSERT_EQ(host.loadingImage(), texture);

    // Draw into a target of our own so the picture can be read after the host presents.
    GLuint fbo = 0, colour = 0;
    glGenFramebuffers(1, &fbo);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 64, 64);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glViewport(0, 0, 64, 64);

    host.drawLoadingFrame(texture, 0.5f);
    EXPECT_NEAR(orvotest::readPixel(32, 32).r, 128, 2);
    host.drawLoadingFrame(nullptr, 0.5f);
    EXPECT_EQ(orvotest::readPixel(32, 32).r, 0);

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &fbo);
    glDeleteRenderbuffers(1, &colour);
}

TEST_F(LiveShowTest, F10DarkensTheLeftQuarterAndShowsTheFrameRate) {
    composeTestShow();
    runtime().span.toMs = 1000;
    runtime().state = RuntimeState::Ready;
    setKeyDown(VK_F10, true);
    std::vector<std::pair<orvotest::Rgba, orvotest::Rgba>> samples;  // (left quarter, right half)
    InspectingHost host(window(), 4);
    host.inspect = [&](uint32_t) { samples.push_back({orvotest::readPixel(10, 128), orvotest::readPixel(200, 128)}); };
    runShowOn(host, window());
    ASSERT_GE(samples.size(), 4u);
    const auto& [left, right] = samples.back();
    EXPECT_LT(int(left.r) + left.g + left.b, (int(right.r) + right.g + right.b) / 2);
    EXPECT_EQ(windowTitle(window()), "FPS:  4");  // the step clock runs 4 frames a second
}

// Reads a PNG into RGB bytes; empty on failure.
std::vector<uint8_t> readPng(const std::string& path, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    width = int(image.width);
    height = int(image.height);
    return pixels;
}

long brightness(const std::vector<uint8_t>& pixels) {
    long sum = 0;
    for (uint8_t v : pixels) sum += v;
    return sum;
}

// That a second run writes the same bytes is proven on the whole program; here, what the frames show.
TEST_F(LiveShowTest, CaptureWritesTheSpanFrameByFrame) {
    const std::string dir = (std::filesystem::temp_directory_path() / "orvo_runtime_capture").string();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    composeTestShow();
    runtime().span = {true, 3.8, 4300};  // across the flash at 4.0 s
    runtime().state = RuntimeState::Ready;
    CaptureHost host(window(), 10, dir);
    runShowOn(host, window());
    host.finishProgress();  // the last frames are still being written until then
    EXPECT_EQ(host.written(), 6);  // 3.8, 3.9, ... 4.3 s
    EXPECT_TRUE(std::filesystem::exists(CaptureHost::framePath(dir, 5)));
    EXPECT_FALSE(std::filesystem::exists(CaptureHost::framePath(dir, 6)));

    int w = 0, h = 0;
    const std::vector<uint8_t> before = readPng(CaptureHost::framePath(dir, 1), w, h);
    ASSERT_EQ(w, orvotest::GL_TEST_WIDTH);
    ASSERT_EQ(h, orvotest::GL_TEST_HEIGHT);
    const std::vector<uint8_t> flash = readPng(CaptureHost::framePath(dir, 2), w, h);
    // The gradient is not black, the flash is brighter.
    EXPECT_GT(brightness(before), 0);
    EXPECT_GT(brightness(flash), brightness(before) * 3 / 2);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zelFramework::testing
