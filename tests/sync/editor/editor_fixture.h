// A timeline editor on a runtime record of its own, in a fresh working folder, with a viewport of
// 1000 x 1000 pixels so that a normalised position (x, y) is the pixel (1000 x, 1000 (1 - y)).
#pragma once

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
    void SetUp() override;
    void TearDown() override;

    // Builds the editor over the current set and activates it.
    void startEditor();
    // "fade" with keys at 20, 40 and 60 s (x 0.2, 0.4, 0.6) of values 0.2, 0.4 and 0.7, linear.
    zelFramework::Controller* threeKeys();

    void send(uint32_t message, float x, float y, uintptr_t wParam = 0);
    void move(float x, float y) { send(zelFramework::WM_MOUSEMOVE, x, y); }
    void leftClick(float x, float y);
    void pickWorkspace(int row);  // opens "WORKSPACE" and clicks the row
    void press(uint32_t key);
    void release(uint32_t key);
    void controlZ();
    size_t snapshotFiles() const;

    std::unique_ptr<TraceCapture> capture;
    std::filesystem::path folder, previousFolder;
    zelFramework::ShowRuntime rt;
    zelFramework::ControllerSet set;
    std::unique_ptr<zelFramework::TimelineEditor> editor;
};

}  // namespace orvotest
