// The timeline editor: an authoring overlay drawn over the running show. It shows the soundtrack's
// waveform on a zoomable time axis with the keys and curve of one controller, lets the user key, drag,
// delete and record keys, shape segments, play, pause and seek the music, and save, undo and reset the
// sync data. The runtime attaches it through its editor pointer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gl/bitmap_font.h"
#include "runtime/show_editor.h"
#include "sync/editor/button_group.h"
#include "sync/editor/menu_list.h"
#include "sync/editor/timeline_view.h"
#include "sync/snapshots.h"

namespace zelFramework {

struct Controller;
class ControllerSet;
struct ShowRuntime;

enum class DragMode : int { None = 0, KeyTime = 1, KeyValue = 2 };

// Transport button ids.
enum : int32_t { TRANSPORT_PLAY = 0, TRANSPORT_PAUSE = 1, TRANSPORT_RECORD = 2 };
// "WORKSPACE" menu ids.
enum : int32_t { WORKSPACE_SAVE = 0, WORKSPACE_UNDO = 1, WORKSPACE_RESET = 2, WORKSPACE_HELP = 3 };
// Controllers listed under "CONTROLLERS"; the rest go under "CONTROLLERS 2".
constexpr uint32_t CONTROLLERS_PER_MENU = 40;

class TimelineEditor : public ShowEditor {
public:
    explicit TimelineEditor(ShowRuntime* runtime);
    ~TimelineEditor() override;

    void activate() override;
    void draw() override;
    void handleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void shutdown() override;

    // The fields below are the editor's state; tests read them after synthesised input.
    ShowRuntime* runtime = nullptr;
    TimelineView view;
    Controller* current = nullptr;
    BitmapFont smallFont, largeFont;
    int hoveredKey = -1;
    std::vector<uint32_t> selectedKeys;
    int32_t selectedController = 0;
    int32_t selectedSegment = -1;
    bool cursorLine = false;
    float timeUnderMouse = 0.0f;
    float mouseX = 0.0f, mouseY = 0.0f;
    std::array<bool, 256> keyDown{};
    bool recordMode = false;
    float zoomStart = 0.0f, zoomEnd = 0.0f;
    bool zoomDragging = false;
    SnapshotHistory history;

    MenuList workspaceMenu, layersMenu, controllersMenu, controllers2Menu;
    ButtonGroup segmentButtons, transportButtons;

    bool hidden = false;
    bool recordTapHeld = false;
    DragMode dragMode = DragMode::None;
    // A drag moves keys by how far the mouse went since the press, never to where the mouse is, so a
    // press without movement changes nothing. The band stays as it was at the press meanwhile.
    float dragStartY = 0.0f;
    std::vector<float> dragStartValues;  // of every selected key, in selection order
    float dragStartKeyTime = 0.0f, dragStartMouseTime = 0.0f;
    ValueBand dragBand;
    std::string statusLine;

private:
    ControllerSet* controllers() const;
    void loadButtons();
    void fillMenus();
    void placeSegmentButtons();
    void rebuild();
    void snapshot();
    void forgetKeySelection();
    void afterSetReload();

    // Drawing.
    void pollHideKeys();
    void pollRecordTap();
    void drawTexts();

    // Input.
    void onKeyDown(uintptr_t key);
    void onMouseMove();
    void onLeftDown();
    void onLeftUp();
    void onRightDown();
    void onRightUp();
    void onMiddleDown();
    bool held(uint32_t key) const { return key < keyDown.size() && keyDown[key]; }
    bool pickTransport();
    void pickWorkspace();
    void pickController(MenuList& menu, MenuList& other);
    void pressTimeAxis();
    void pressSegmentButton();
    void seekTo(float seconds);
    void insertKeyKeepingShape(float time);
};

}  // namespace zelFramework

namespace zelFramework {

// Gives the runtime a timeline editor (replacing none); the runtime activates, draws, feeds and shuts
// it down from then on, and deletes it at exit.
void attachTimelineEditor(ShowRuntime& runtime);

}  // namespace zelFramework
