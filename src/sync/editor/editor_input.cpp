// How the timeline editor turns mouse and keyboard messages into edits, zoom, transport and
// workspace commands. Every message is also seen by the layers; the editor never consumes one.
#include <algorithm>
#include <cstdio>

#include <GL/glew.h>

#include "app/music.h"
#include "platform/platform.h"
#include "runtime/frame_host.h"
#include "runtime/music_bridge.h"
#include "runtime/show_runtime.h"
#include "sync/controller_set.h"
#include "sync/editor/timeline_editor.h"

namespace zelFramework {

namespace {

// Mouse messages carry client pixels, y downward; the editor works in its normalised space, y up,
// measured against the viewport the picture is drawn into. The bars of a letterboxed picture are
// equal, so the viewport's offset from the bottom is also its offset from the top; a picture
// narrower than the window is offset in x as well, and the mouse follows it there too.
void mousePosition(intptr_t lParam, float& x, float& y) {
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const float width = float(std::max(viewport[2], 1)), height = float(std::max(viewport[3], 1));
    x = (float(mouseX(lParam)) - float(viewport[0])) / width;
    y = 1.0f - (float(mouseY(lParam)) - float(viewport[1])) / height;
}

bool isMouseMessage(uint32_t message) {
    switch (message) {
        case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MOUSEWHEEL: return true;
        default: return false;
    }
}

}  // namespace

void TimelineEditor::handleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (isMouseMessage(message)) mousePosition(lParam, mouseX, mouseY);
    view.controller = current;
    switch (message) {
        case WM_KEYDOWN: onKeyDown(wParam); break;
        case WM_KEYUP:
            if (wParam < keyDown.size()) keyDown[wParam] = false;
            break;
        case WM_MOUSEMOVE: onMouseMove(); break;
        case WM_LBUTTONDOWN: onLeftDown(); break;
        case WM_LBUTTONUP: onLeftUp(); break;
        case WM_RBUTTONDOWN: onRightDown(); break;
        case WM_RBUTTONUP: onRightUp(); break;
        case WM_MBUTTONDOWN: onMiddleDown(); break;
        case WM_MBUTTONUP: onMiddleUp(); break;
        case WM_MOUSEWHEEL: onWheel(wParam); break;
        case WM_CHAR: onChar(wParam); break;
        default: break;
    }
}

void TimelineEditor::onMouseMove() {
    cursorLine = false;
    char status[96];
    std::snprintf(status, sizeof status, "%.2f %.2f - %d", double(mouseX), double(mouseY), int(selectedController));
    statusLine = status;
    hoveredKey = view.keyAt(mouseX, mouseY);

    if (dragMode == DragMode::KeyTime && selectedKeys.size() == 1 && current) {
        float time = dragStartKeyTime + (view.xToTime(mouseX) - dragStartMouseTime);
        if (held(VK_SHIFT)) time = snappedTime(time);
        current->moveKey(int(selectedKeys[0]), time);
        hoveredKey = -1;
        rebuild();
    }
    if (dragMode == DragMode::KeyValue && !selectedKeys.empty() && current) {
        // Every selected key moves by the same amount from where it was, kept within the band.
        const float delta = valueDragDelta(dragBand, mouseY - dragStartY);
        for (size_t i = 0; i < selectedKeys.size() && i < dragStartValues.size(); ++i)
            if (selectedKeys[i] < current->keys.size())
                current->keys[selectedKeys[i]].value =
                    delta == 0.0f ? dragStartValues[i] : dragBand.clampValue(dragStartValues[i] + delta);
        hoveredKey = -1;
        rebuild();
    }
    if (mouseY < TIMELINE_TOP && dragMode == DragMode::None) {
        cursorLine = true;
        timeUnderMouse = view.xToTime(mouseX);
    }
    if (panning) pan();
    if (zoomDragging) {
        zoomEnd = view.xToTime(mouseX);
        view.rangeStart = zoomStart;
        view.rangeEnd = zoomEnd;
        view.rangeActive = true;
    }
    hoverMenus();
}

// One menu open at a time: the open one follows the mouse until it leaves it; only then may the
// header under the mouse open another (the columns of a wide menu cover its neighbours' headers).
void TimelineEditor::hoverMenus() {
    for (MenuList* menu : menus()) {
        if (!menu->open) continue;
        menu->hover(mouseX, mouseY);
        if (menu->open) return;
    }
    for (MenuList* menu : menus()) {
        menu->hover(mouseX, mouseY);
        if (menu->open) return;
    }
}

void TimelineEditor::seekTo(float seconds) {
    if (!runtime) return;
    runtime->playTime = seconds;
    showMusicSeek(runtime->music, truncateMs(seconds * 1000.0f));
}

bool TimelineEditor::pickTransport() {
    const int32_t id = transportButtons.hitTest(mouseX, mouseY);
    if (id == BUTTON_NONE) return false;
    // Transport only switches between playing and paused; a show that has not started or has ended
    // stays as it is.
    const bool running = runtime && (runtime->state == RuntimeState::Playing || runtime->state == RuntimeState::Paused);
    if (id == TRANSPORT_PLAY && running) {
        if (showMusicHasStream(runtime->music)) musicSetPausedAll(false);
        runtime->state = RuntimeState::Playing;
    } else if (id == TRANSPORT_PAUSE && running) {
        if (showMusicHasStream(runtime->music)) musicSetPausedAll(true);
        runtime->state = RuntimeState::Paused;
    } else if (id == TRANSPORT_RECORD) {
        if (recordMode) snapshot();
        recordMode = !recordMode;
    }
    return true;
}

void TimelineEditor::pickWorkspace() {
    const int32_t id = workspaceMenu.hitTest(mouseX, mouseY);
    if (id == MENU_NONE) return;
    ControllerSet* set = controllers();
    if (set && id == WORKSPACE_SAVE) saveCurves();
    if (id == WORKSPACE_HELP) stepHelp();
    if (set && id == WORKSPACE_UNDO && undoSnapshot(*set, history)) afterSetReload();
    if (set && id == WORKSPACE_RESET && resetToSyncFile(*set)) afterSetReload();
    workspaceMenu.open = false;
    workspaceMenu.hoveredId = MENU_NONE;
}

void TimelineEditor::pickController(MenuList& menu, MenuList& other) {
    const int32_t id = menu.hitTest(mouseX, mouseY);
    if (id == MENU_NONE || !controllers()) return;
    Controller* picked = controllers()->at(uint32_t(id));
    if (!held(VK_SHIFT)) {
        selectedController = id;
        current = picked;
        // A segment index of the previous controller means nothing on this one.
        selectedSegment = -1;
    } else {
        view.compare = view.compare == picked ? nullptr : picked;
        menu.compareMark = menu.compareMark == id ? MENU_NONE : id;
        other.compareMark = MENU_NONE;
    }
    selectedKeys.clear();
    rebuild();
}

void TimelineEditor::pressTimeAxis() {
    if (mouseY < WAVE_BAND_TOP) {
        selectedSegment = -1;
        rebuild();
        zoomStart = zoomEnd = view.xToTime(mouseX);
        zoomDragging = true;
        view.rangeStart = zoomStart;
        view.rangeEnd = zoomEnd;
        view.rangeActive = true;
    } else if (mouseY < CURVE_BAND_BOTTOM) {
        const int key = view.keyAt(mouseX, mouseY);
        // A key Control-clicked twice stays selected once, so a single key still drags in time.
        if (key >= 0 && std::find(selectedKeys.begin(), selectedKeys.end(), uint32_t(key)) == selectedKeys.end())
            selectedKeys.push_back(uint32_t(key));
        if (key >= 0) focusKey = key;
        if (!selectedKeys.empty()) {
            snapshot();
            cursorLine = false;
            dragMode = DragMode::KeyTime;
            dragStartKeyTime = current ? current->keyTime(int(selectedKeys[0])) : 0.0f;
            dragStartMouseTime = view.xToTime(mouseX);
        }
    } else {
        selectedSegment = -1;
        rebuild();
    }
}

void TimelineEditor::pressSegmentButton() {
    placeSegmentButtons();
    const int32_t id = segmentButtons.hitTest(mouseX, mouseY);
    if (id == BUTTON_NONE || size_t(selectedSegment) >= current->segments.size()) return;
    snapshot();
    ControllerSegment& segment = current->segments[size_t(selectedSegment)];
    if (id <= 3)
        segment.curve = id + 1;
    else
        segment.ends = id - 3;
    rebuild();
}

void TimelineEditor::onLeftDown() {
    entry.cancel();
    if (!held(VK_CONTROL)) selectedKeys.clear();
    if (held(VK_TAB)) {
        seekTo(view.xToTime(mouseX));
        return;
    }
    // A click that lands on a button or a menu row does only that, even where an open menu hangs
    // over the time axis.
    if (pickTransport()) {
        rebuild();
        return;
    }
    const bool onMenu = workspaceMenu.hitTest(mouseX, mouseY) != MENU_NONE ||
                        controllersMenu.hitTest(mouseX, mouseY) != MENU_NONE ||
                        controllers2Menu.hitTest(mouseX, mouseY) != MENU_NONE;
    pickWorkspace();
    pickController(controllersMenu, controllers2Menu);
    pickController(controllers2Menu, controllersMenu);
    if (onMenu) {
        rebuild();
        return;
    }
    if (selectedSegment < 0 || !current || mouseY <= CURVE_BAND_BOTTOM)
        pressTimeAxis();
    else
        pressSegmentButton();
    if (mouseY > CURVE_BAND_BOTTOM && mouseY < TIMELINE_TOP && current)
        selectedSegment = current->segmentAt(view.xToTime(mouseX));
    rebuild();
}

void TimelineEditor::onLeftUp() {
    if (!held(VK_CONTROL)) selectedKeys.clear();
    if (current && selectedSegment >= 0) {
        const float from = view.timeToX(current->keyTime(selectedSegment)) - 0.01f;
        const float to = view.timeToX(current->nextKeyTime(selectedSegment)) + 0.01f;
        if (!(mouseX >= from && mouseX <= to)) {
            selectedSegment = -1;
            rebuild();
        }
    }
    if (zoomDragging) {
        view.rangeStart = zoomStart;
        view.rangeEnd = zoomEnd;
        view.zoomToRange();
        timeUnderMouse = view.xToTime(mouseX);
        zoomDragging = false;
    }
    dragMode = DragMode::None;
}

void TimelineEditor::onRightDown() {
    if (held(VK_BACK)) {
        snapshot();
        const int key = view.keyAt(mouseX, mouseY);
        if (key >= 0 && current) current->removeKey(key);
        hoveredKey = -1;
        focusKey = -1;
        selectedSegment = -1;
        // The indices after the removed key now name other keys.
        selectedKeys.clear();
        rebuild();
        return;
    }
    if (mouseY <= WAVE_BAND_TOP) {
        view.showWholeSong();
        rebuild();
        view.rangeActive = false;
        return;
    }
    if (selectedKeys.empty() && hoveredKey >= 0) selectedKeys.push_back(uint32_t(hoveredKey));
    if (hoveredKey >= 0) focusKey = hoveredKey;
    if (!selectedKeys.empty() && current) {
        snapshot();
        cursorLine = false;
        dragMode = DragMode::KeyValue;
        dragStartY = mouseY;
        dragBand = view.band;
        dragStartValues.clear();
        for (uint32_t index : selectedKeys) dragStartValues.push_back(current->keyValue(int(index)));
    }
}

void TimelineEditor::onRightUp() {
    if (dragMode == DragMode::KeyValue && selectedKeys.size() == 1) selectedKeys.clear();
    dragMode = DragMode::None;
}

// The new key takes the curve's value at its time, and the half after it keeps the shape of the
// segment it splits (a plain insertion would give it the shape of the controller's first segment).
void TimelineEditor::insertKeyKeepingShape(float time) {
    const float shown = current->value;
    current->update(time);
    const float value = current->value;
    const int split = current->segmentAt(time);
    const bool hadSplit = split >= 0 && size_t(split) < current->segments.size();
    const ControllerSegment splitShape = hadSplit ? current->segments[size_t(split)] : ControllerSegment{};
    const size_t before = current->keys.size();
    current->addKey(time, value);
    if (current->keys.size() != before && hadSplit) {
        // The new key is the last one at or before its time.
        size_t index = 0;
        for (size_t i = 0; i < current->keys.size(); ++i)
            if (current->keys[i].time <= time) index = i;
        if (index < current->segments.size()) current->segments[index] = splitShape;
    }
    current->value = shown;
}

void TimelineEditor::onMiddleDown() {
    // Above and below the key row a middle drag pans the axis; on the key row a click adds a key.
    const bool onKeyRow = mouseY > 0.2f && mouseY < CURVE_BAND_BOTTOM;
    selectedSegment = -1;
    rebuild();
    selectedKeys.clear();
    if (!onKeyRow && mouseY < TIMELINE_TOP) {
        panning = true;
        panStartX = mouseX;
        panStartVisible = view.visibleStart;
        panEndVisible = view.visibleEnd;
        return;
    }
    if (view.keyAt(mouseX, mouseY) < 0 && current && onKeyRow) {
        snapshot();
        insertKeyKeepingShape(view.xToTime(mouseX));
        hoveredKey = view.keyAt(mouseX, mouseY);
        focusKey = hoveredKey;
    }
    rebuild();
}

}  // namespace zelFramework
