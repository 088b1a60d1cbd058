// A timeline editor on a runtime record of its own, in a fresh working folder, with a viewport of
// 1000 x 1000 pixels so that a normalised position (x, y) is the pixel (1000 x, 1000 (1 - y)).
#pragma once

#include <GL/glew.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "support/gl_fixture.h"
#include "support/trace_capture.h"
#include "platform/platform.h"
#include "runtime/show_runtime.h"
#include "sync/controller_set.h"
#include "sync/editor/timeline_editor.h"

namespace orvotest {

// The silent axis of the fixture: 100 s, so a key at t seconds sits at x = t / 100.
constexpr uint32_t EDITOR_SHOW_MS = 100000;
constexpr int EDITOR_VIEWPORT = 1000;
// The key band, and the row of the transport buttons (play at x 0.9, pause 0.933, record 0.966).
constexpr float KEY_BAND = 0.23f, BUTTON_ROW = 0.89f;
// The centre of row i of a menu whose title sits at y 0.95.
inline float rowY(int i) { return 0.95f - (float(i) + 0.5f) / 50.0f; }

class EditorTest : public GLTest {
protected:
    void SetUp() override {
        using namespace zelFramework;
        GLTest::SetUp();
        static int serial = 0;
        folder = std::filesystem::temp_directory_path() /
                 ("orvo_editor_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
        std::filesystem::create_directories(folder / "data");
        std::filesystem::current_path(folder);
        rt.controllers = &set;
        rt.state = RuntimeState::Playing;
        rt.maxEndMs = EDITOR_SHOW_MS;
        glViewport(0, 0, EDITOR_VIEWPORT, EDITOR_VIEWPORT);
        for (uint32_t key : {VK_SHIFT, VK_CONTROL, VK_SPACE, VK_F5, VK_F6}) setKeyDown(key, false);
    }
    void TearDown() override {
        if (editor) editor->shutdown();
        editor.reset();
        std::filesystem::current_path(previousFolder);
        std::filesystem::remove_all(folder);
    }

    // Builds the editor over the current set and activates it.
    void startEditor() {
        editor = std::make_unique<zelFramework::TimelineEditor>(&rt);
        editor->activate();
    }
    // "fade" with keys at 20, 40 and 60 s (x 0.2, 0.4, 0.6) of values 0.2, 0.4 and 0.7, linear.
    zelFramework::Controller* threeKeys() {
        zelFramework::Controller* c = set.get("fade");
        c->addKey(20.0f, 0.2f);
        c->addKey(40.0f, 0.4f);
        c->addKey(60.0f, 0.7f);
        return c;
    }

    void send(uint32_t message, float x, float y, uintptr_t wParam = 0) {
        const int px = int(std::lround(x * EDITOR_VIEWPORT)), py = int(std::lround((1.0f - y) * EDITOR_VIEWPORT));
        editor->handleMessage(message, wParam, zelFramework::makeMouseLParam(px, py));
    }
    void move(float x, float y) { send(zelFramework::WM_MOUSEMOVE, x, y); }
    void leftClick(float x, float y) {
        move(x, y);
        send(zelFramework::WM_LBUTTONDOWN, x, y);
        send(zelFramework::WM_LBUTTONUP, x, y);
    }
    // Opens "WORKSPACE" and clicks the row.
    void pickWorkspace(int row) {
        move(0.05f, 0.955f);
        leftClick(0.05f, rowY(row));
    }
    void press(uint32_t key) {
        zelFramework::setKeyDown(key, true);
        editor->handleMessage(zelFramework::WM_KEYDOWN, key, 1);
    }
    void release(uint32_t key) {
        zelFramework::setKeyDown(key, false);
        editor->handleMessage(zelFramework::WM_KEYUP, key, 1);
    }
    void controlZ() {
        press(zelFramework::VK_CONTROL);
        press('Z');
        release('Z');
        release(zelFramework::VK_CONTROL);
    }
    size_t snapshotFiles() const {
        size_t n = 0;
        if (std::filesystem::exists(folder / "editor"))
            for (const auto& entry : std::filesystem::directory_iterator(folder / "editor")) n += entry.is_regular_file();
        return n;
    }

    TraceCapture capture;
    std::filesystem::path folder, previousFolder = std::filesystem::current_path();
    zelFramework::ShowRuntime rt;
    zelFramework::ControllerSet set;
    std::unique_ptr<zelFramework::TimelineEditor> editor;
};

}  // namespace orvotest
