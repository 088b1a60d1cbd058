// What the editor draws over a frame: its bands, texts and menus land where they belong, the rest of
// the picture stays the show's, hiding draws nothing, and the GL state is handed back as found.
#include <GL/glew.h>

#include <cmath>
#include <functional>
#include <vector>

#include "editor_fixture.h"

namespace orvotest {
namespace {

using namespace zelFramework;

// Drawn off screen at a size where the editor's 12-pixel labels keep to their bands as in a window.
constexpr int WIDTH = 1024, HEIGHT = 768;
const float FRAME[3] = {0.3f, 0.5f, 0.3f};

struct Picture {
    std::vector<uint8_t> rgba;
    Rgba at(float x, float y) const {
        const int px = std::min(WIDTH - 1, int(x * WIDTH)), py = std::min(HEIGHT - 1, int(y * HEIGHT));
        const uint8_t* p = &rgba[(size_t(py) * WIDTH + size_t(px)) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    // Pixels in the normalised rectangle for which `test` holds.
    int count(float x0, float y0, float x1, float y1, const std::function<bool(const Rgba&)>& test) const {
        int n = 0;
        for (int py = int(y0 * HEIGHT); py < int(y1 * HEIGHT); ++py)
            for (int px = int(x0 * WIDTH); px < int(x1 * WIDTH); ++px)
                n += test(at((float(px) + 0.5f) / WIDTH, (float(py) + 0.5f) / HEIGHT));
        return n;
    }
};

bool isFrame(const Rgba& c) {
    return std::abs(c.r - int(FRAME[0] * 255 + 0.5f)) <= 1 && std::abs(c.g - int(FRAME[1] * 255 + 0.5f)) <= 1 &&
           std::abs(c.b - int(FRAME[2] * 255 + 0.5f)) <= 1;
}
bool isWhite(const Rgba& c) { return c.r > 200 && c.g > 200 && c.b > 200; }
bool isWaveBlue(const Rgba& c) { return c.b > 150 && c.r < 90 && c.g < 90; }
bool isCurve(const Rgba& c) { return c.r > 180 && c.g > 180 && c.b > 150 && c.b < 200; }
bool isRed(const Rgba& c) { return c.r > 200 && c.g < 60 && c.b < 60; }
bool notFrame(const Rgba& c) { return !isFrame(c); }

class EditorDrawing : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        // A 100 s sine of rising loudness for the waveform, heard in the second channel.
        audio.resize(size_t(EDITOR_SHOW_MS) * 441 / 10 * 2);
        for (size_t i = 0; i < audio.size() / 2; ++i)
            audio[i * 2 + 1] = int16_t(30000.0 * (double(i) / double(audio.size() / 2)) * std::sin(double(i) * 0.05));
    }
    void TearDown() override {
        if (framebuffer) {
            glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
            glDeleteFramebuffersEXT(1, &framebuffer);
            glDeleteRenderbuffersEXT(2, renderbuffers);
        }
        EditorTest::TearDown();
    }
    void bindPicture() {
        if (!framebuffer) {
            glGenFramebuffersEXT(1, &framebuffer);
            glGenRenderbuffersEXT(2, renderbuffers);
            glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
            glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, renderbuffers[0]);
            glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_RGBA8, WIDTH, HEIGHT);
            glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, renderbuffers[0]);
            glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, renderbuffers[1]);
            glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, WIDTH, HEIGHT);
            glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, renderbuffers[1]);
        }
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
        ASSERT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), GLenum(GL_FRAMEBUFFER_COMPLETE_EXT));
        glViewport(0, 0, WIDTH, HEIGHT);
    }
    void startWithAudio() {
        startEditor();
        editor->view.setAudio(audio.data(), uint32_t(audio.size() / 2), 44100);
    }
    Picture drawOverFrame() {
        bindPicture();
        glClearColor(FRAME[0], FRAME[1], FRAME[2], 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        editor->draw();
        glFinish();
        Picture picture{readPixelsRgba(0, 0, WIDTH, HEIGHT)};
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glViewport(0, 0, EDITOR_VIEWPORT, EDITOR_VIEWPORT);  // input maps against this one
        return picture;
    }
    std::vector<int16_t> audio;
    GLuint framebuffer = 0, renderbuffers[2] = {0, 0};
};

TEST_F(EditorDrawing, TheOverlayFillsItsBandsAndLeavesTheRestToTheShow) {
    Controller* c = set.get("fade");
    c->addKey(10.0f, 0.0f);
    c->addKey(50.0f, 1.0f);
    c->addKey(90.0f, 0.5f);
    set.get("other");
    startWithAudio();
    rt.playTime = 30.0f;
    c->update(30.0f);
    const Picture picture = drawOverFrame();
    EXPECT_TRUE(drainGLErrors().empty());

    // The waveform, louder to the right.
    EXPECT_GT(picture.count(0.8f, 0.0f, 1.0f, 0.18f, isWaveBlue), 40);
    EXPECT_GT(picture.count(0.0f, 0.0f, 1.0f, 0.18f, isWaveBlue), picture.count(0.0f, 0.0f, 0.2f, 0.18f, isWaveBlue));
    // Key boxes at 10, 50 and 90 s.
    for (float x : {0.1f, 0.5f, 0.9f}) {
        const Rgba box = picture.at(x, 0.23f);
        EXPECT_GT(box.b, 150) << "key box at x " << x << ": " << box;
        EXPECT_LT(box.r, 80) << "key box at x " << x;
    }
    // The curve rises through the curve band: low at 20 s, at the top near 50 s.
    EXPECT_GT(picture.count(0.15f, 0.25f, 0.25f, 0.30f, isCurve), 0);
    EXPECT_GT(picture.count(0.45f, 0.37f, 0.55f, 0.41f, isCurve), 0);
    EXPECT_EQ(picture.count(0.15f, 0.33f, 0.25f, 0.40f, isCurve), 0);
    // The current-time cursor at 30 s in the cursor blue, and the white value point beside it.
    EXPECT_GT(picture.count(0.29f, 0.05f, 0.31f, 0.15f, [](const Rgba& p) { return p.b > 150 && p.g > 80 && p.r < 80; }), 10);
    EXPECT_GT(picture.count(0.29f, 0.25f, 0.31f, 0.40f, isWhite), 0);
    // Ruler labels and the menu titles in white; "runtime" and the show time at the right.
    EXPECT_GT(picture.count(0.0f, 0.19f, 1.0f, 0.24f, isWhite), 20);
    EXPECT_GT(picture.count(0.02f, 0.94f, 0.12f, 0.98f, isWhite), 10);
    EXPECT_GT(picture.count(0.32f, 0.94f, 0.52f, 0.98f, isWhite), 10);
    EXPECT_GT(picture.count(0.9f, 0.94f, 1.0f, 1.0f, isWhite), 10);
    // Between the menus and the timeline the show's own picture is untouched.
    EXPECT_EQ(picture.count(0.05f, 0.45f, 0.85f, 0.85f, notFrame), 0);
    // Under the timeline the frame is darkened, not replaced.
    const Rgba dimmed = picture.at(0.75f, 0.3f);
    EXPECT_LT(dimmed.g, 128);
    EXPECT_GT(dimmed.g, 40);
    // No record mode, no red banner.
    EXPECT_EQ(picture.count(0.4f, 0.97f, 0.8f, 1.0f, isRed), 0);
}

TEST_F(EditorDrawing, RecordModeAndSegmentButtonsShowF5HidesAndF6BringsBack) {
    Controller* c = set.get("fade");
    c->addKey(10.0f, 0.0f);
    c->addKey(50.0f, 1.0f);
    startWithAudio();
    editor->recordMode = true;
    editor->selectedSegment = 0;
    Picture picture = drawOverFrame();
    EXPECT_GT(picture.count(0.42f, 0.96f, 0.9f, 1.0f, isRed), 10);
    // The eleven segment buttons hang over the first key (x 0.1) from y 0.445 up.
    EXPECT_GT(picture.count(0.095f, 0.445f, 0.2f, 0.7f, notFrame), 300);
    // Length and span of the segment above them.
    EXPECT_GT(picture.count(0.1f, 0.68f, 0.6f, 0.74f, [](const Rgba& p) { return p.r > 100 && p.r == p.g; }), 10);

    setKeyDown(VK_F5, true);
    EXPECT_EQ(drawOverFrame().count(0.0f, 0.0f, 1.0f, 1.0f, notFrame), 0);
    setKeyDown(VK_F5, false);
    EXPECT_EQ(drawOverFrame().count(0.0f, 0.0f, 1.0f, 1.0f, notFrame), 0);  // stays hidden after F5 is let go
    send(WM_MBUTTONDOWN, 0.7f, 0.21f);  // hidden, it still takes input
    EXPECT_EQ(c->keys.size(), 3u);
    setKeyDown(VK_F5, true);
    setKeyDown(VK_F6, true);  // F6 wins
    EXPECT_GT(drawOverFrame().count(0.0f, 0.0f, 1.0f, 0.18f, isWaveBlue), 40);
}

TEST_F(EditorDrawing, WithoutControllersOnlyTheAxisAndMenusDraw) {
    startWithAudio();
    rt.playTime = 30.0f;
    const Picture picture = drawOverFrame();
    EXPECT_EQ(editor->current, nullptr);
    EXPECT_GT(picture.count(0.0f, 0.0f, 1.0f, 0.18f, isWaveBlue), 40);
    EXPECT_EQ(picture.count(0.0f, 0.25f, 1.0f, 0.40f, [](const Rgba& p) { return isCurve(p) || isWhite(p); }), 0);
    EXPECT_GT(picture.count(0.29f, 0.05f, 0.31f, 0.15f, [](const Rgba& p) { return p.b > 150 && p.g > 80; }), 10);
    // Nothing to key, drag or insert into, and so no snapshot either.
    move(0.4f, 0.23f);
    send(WM_LBUTTONDOWN, 0.4f, 0.23f);
    send(WM_MBUTTONDOWN, 0.4f, 0.21f);
    EXPECT_EQ(editor->dragMode, DragMode::None);
    EXPECT_EQ(snapshotFiles(), 0u);
}

TEST_F(EditorDrawing, TheShowsGLStateAndControllerValuesAreHandedBack) {
    Controller* c = set.get("fade");
    c->addKey(0.0f, 0.0f);
    c->addKey(100.0f, 1.0f);
    c->value = 0.25f;
    startWithAudio();
    bindPicture();
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2.0, 2.0, -2.0, 2.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.5f, 0.0f, 0.0f);
    editor->draw();

    GLfloat projection[16], modelview[16];
    GLboolean depthMask = GL_FALSE;
    GLint matrixMode = 0;
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_FLOAT_EQ(projection[0], 0.5f);
    EXPECT_FLOAT_EQ(modelview[12], 0.5f);
    EXPECT_TRUE(depthMask && glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_BLEND));
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    EXPECT_TRUE(drainGLErrors().empty());
    glDisable(GL_DEPTH_TEST);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

    // Drawing the curve leaves the value the layers read; paused, the edited controller follows its
    // edits at the standing time.
    EXPECT_FLOAT_EQ(c->value, 0.25f);
    rt.state = RuntimeState::Paused;
    rt.playTime = 40.0f;
    drawOverFrame();
    EXPECT_FLOAT_EQ(c->value, 0.4f);
}

}  // namespace
}  // namespace orvotest
