#include "editor_fixture.h"

#include <GL/glew.h>
#include <unistd.h>

#include <cmath>

namespace orvotest {

using namespace zelFramework;

void EditorTest::SetUp() {
    GLTest::SetUp();
    capture = std::make_unique<TraceCapture>();
    previousFolder = std::filesystem::current_path();
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

void EditorTest::TearDown() {
    if (editor) editor->shutdown();
    editor.reset();
    std::filesystem::current_path(previousFolder);
    std::filesystem::remove_all(folder);
    capture.reset();
}

void EditorTest::startEditor() {
    editor = std::make_unique<TimelineEditor>(&rt);
    editor->activate();
}

Controller* EditorTest::threeKeys() {
    Controller* c = set.get("fade");
    c->addKey(20.0f, 0.2f);
    c->addKey(40.0f, 0.4f);
    c->addKey(60.0f, 0.7f);
    return c;
}

void EditorTest::send(uint32_t message, float x, float y, uintptr_t wParam) {
    const int px = int(std::lround(x * EDITOR_VIEWPORT));
    const int py = int(std::lround((1.0f - y) * EDITOR_VIEWPORT));
    editor->handleMessage(message, wParam, makeMouseLParam(px, py));
}

void EditorTest::leftClick(float x, float y) {
    move(x, y);
    send(WM_LBUTTONDOWN, x, y);
    send(WM_LBUTTONUP, x, y);
}

void EditorTest::pickWorkspace(int row) {
    move(0.05f, 0.955f);
    leftClick(0.05f, rowY(row));
}

void EditorTest::press(uint32_t key) {
    setKeyDown(key, true);
    editor->handleMessage(WM_KEYDOWN, key, 1);
}

void EditorTest::release(uint32_t key) {
    setKeyDown(key, false);
    editor->handleMessage(WM_KEYUP, key, 1);
}

void EditorTest::controlZ() {
    press(VK_CONTROL);
    press('Z');
    release('Z');
    release(VK_CONTROL);
}

size_t EditorTest::snapshotFiles() const {
    if (!std::filesystem::exists(folder / "editor")) return 0;
    size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "editor")) n += entry.is_regular_file();
    return n;
}

}  // namespace orvotest
