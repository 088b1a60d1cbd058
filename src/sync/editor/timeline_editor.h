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
#include "sync/beat_grid.h"
#include "sync/editor/button_group.h"
#include "sync/editor/editor_layout.h"
#include "sync/editor/key_clipboard.h"
#include "sync/editor/menu_list.h"
#include "sync/editor/timeline_view.h"
#include "sync/editor/typed_entry.h"
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
    // `bpm` above 0 gives the beat grid for this run, over any tempo stored with the curves.
    explicit TimelineEditor(ShowRuntime* runtime, float bpm = 0.0f);
    ~TimelineEditor() override;

    void activate() override;
    void draw() override;
    void handleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void shutdown() override;
    void keysReplaced() override { afterSetReload(); }

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
    float transportY = 0.87f;  // the buttons' row: lower where the time above them needs the room

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

    // Keyboard editing: the number field, the clipboard, and the key the last click landed on (the
    // target of typed values and copies when no key is Control-selected).
    TypedEntry entry;
    KeyClipboard clipboard;
    int focusKey = -1;
    // Panning with the middle button: where the drag began and the window it began with.
    bool panning = false;
    float panStartX = 0.0f;
    uint32_t panStartVisible = 0, panEndVisible = 0;
    float commandLineBpm = 0.0f;
    BeatGrid grid;
    bool helpShown = false;
    // The help's page on view, and how many pages it had when last drawn (a small picture holds
    // fewer lines); F1 turns to the next page, and closes the help after the last.
    size_t helpPage = 0, helpPages = 1;
    bool readoutShown = false;
    // A line for the author after save (or a refused entry), shown for a few seconds.
    std::string notice;
    uint64_t noticeUntil = 0;
    // Frame rate of the readout, counted over half-second windows.
    float fpsTime = 0.0f, fps = 0.0f;
    int fpsFrames = 0;

    // The keys that typed values, copies and time entries act on.
    std::vector<uint32_t> targetKeys() const;
    void showNotice(const std::string& text);
    // The time a paste or a loop refers to: under the mouse on the time axis, else the show time.
    float cursorTime() const;
    // F1 and WORKSPACE > help: open the help, turn to its next page, or close it after the last.
    void stepHelp();
    // Where the help panel goes on the current picture, with each of its pages.
    HelpLayout helpLayout() const;

private:
    ControllerSet* controllers() const;
    void loadButtons();
    void fillMenus();
    void placeSegmentButtons();
    void rebuild();
    void snapshot();
    void forgetKeySelection();
    void afterSetReload();
    void readBeatGrid();

    // Drawing.
    void pollHideKeys();
    void pollRecordTap();
    void drawTexts();

    void drawPanels();
    void drawHelp();
    std::array<MenuList*, EDITOR_MENU_COUNT> menus();
    void placeMenus(bool draw);
    void hoverMenus();
    void drawReadout();
    void countFrame();
    void scaleFonts();

    // Input.
    void onKeyDown(uintptr_t key);
    bool onEditingKey(uintptr_t key);
    void onEntryKey(uintptr_t key);
    void onChar(uintptr_t c);
    void applyEntry();
    void undo();
    void redo();
    void copySelection();
    void paste();
    void toggleLoop();
    void onWheel(uintptr_t wParam);
    void onMiddleUp();
    void pan();
    float snappedTime(float time) const;
    void saveCurves();
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
void attachTimelineEditor(ShowRuntime& runtime, float bpm = 0.0f);

}  // namespace zelFramework
