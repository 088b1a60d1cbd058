#include "sync/editor/timeline_editor.h"

#include <algorithm>
#include <cmath>

#include "app/music.h"
#include "gl/gltk.h"
#include "gl/texture_manager.h"
#include "platform/platform.h"
#include "runtime/frame_host.h"
#include "runtime/music_bridge.h"
#include "runtime/show_runtime.h"
#include "sync/controller_set.h"
#include "sync/editor/editor_gl.h"
#include "sync/editor/editor_layout.h"

namespace zelFramework {

namespace {

// Fonts follow the picture's height (a 1000-pixel picture gets the 16-pixel small font that fills a
// menu row of 1/50), but never shrink below what reads.
constexpr float SMALL_FONT_PER_HEIGHT = 0.016f;
constexpr int SMALL_FONT_MIN = 10, SMALL_FONT_MAX = 40;
constexpr float LARGE_FONT_SCALE = 1.8f;

int smallFontPixels(int viewportHeight) {
    return std::clamp(int(std::lround(float(viewportHeight) * SMALL_FONT_PER_HEIGHT)), SMALL_FONT_MIN, SMALL_FONT_MAX);
}

int viewportHeight() {
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return std::max(viewport[3], 1);
}
// Without a decoded soundtrack the axis still spans the show, silent, at the usual rate.
constexpr uint32_t SILENT_RATE = 44100;
constexpr uint32_t SILENT_MINIMUM_MS = 1000;

struct ButtonPlace {
    const char* picture;
    float x, y;
};

constexpr ButtonPlace SEGMENT_BUTTONS[] = {
    {"editor//button-linear.png", 0.0f, 0.23f},         {"editor//button-smoothstep.png", 0.0f, 0.17f},
    {"editor//button-exponential.png", 0.0f, 0.11f},    {"editor//button-minexponential.png", 0.0f, 0.05f},
    {"editor//button-man-valval.png", 0.038f, 0.05f},   {"editor//button-man-valzero.png", 0.038f, 0.11f},
    {"editor//button-man-valone.png", 0.038f, 0.17f},   {"editor//button-man-zeroval.png", 0.038f, 0.23f},
    {"editor//button-man-oneval.png", 0.066f, 0.23f},   {"editor//button-man-oneone.png", 0.066f, 0.17f},
    {"editor//button-man-zerozero.png", 0.066f, 0.11f},
};

constexpr ButtonPlace TRANSPORT_BUTTONS[] = {
    {"editor//button-play.png", 0.0f, 0.0f},
    {"editor//button-pause.png", 0.033f, 0.0f},
    {"editor//button-record.png", 0.066f, 0.0f},
};

int viewportWidth() {
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return std::max(viewport[2], 1);
}

constexpr float TRANSPORT_X = 0.9f, TRANSPORT_Y = 0.87f;
constexpr float SEGMENT_BUTTONS_Y = 0.4f;

}  // namespace

TimelineEditor::TimelineEditor(ShowRuntime* rt, float bpm) : runtime(rt), commandLineBpm(bpm) {}

TimelineEditor::~TimelineEditor() = default;

ControllerSet* TimelineEditor::controllers() const { return runtime ? runtime->controllers : nullptr; }

void TimelineEditor::loadButtons() {
    segmentButtons.buttons.clear();
    transportButtons.buttons.clear();
    int32_t id = 0;
    for (const ButtonPlace& b : SEGMENT_BUTTONS)
        segmentButtons.add(id++, GL_TextureManager::getTexture(b.picture, GL_REPEAT, GL_REPEAT), b.x, b.y);
    id = 0;
    for (const ButtonPlace& b : TRANSPORT_BUTTONS)
        transportButtons.add(id++, GL_TextureManager::getTexture(b.picture, GL_REPEAT, GL_REPEAT), b.x, b.y);
    transportButtons.setOffset(TRANSPORT_X, TRANSPORT_Y);
}

void TimelineEditor::fillMenus() {
    workspaceMenu.entries.clear();
    workspaceMenu.add(WORKSPACE_SAVE, "save");
    workspaceMenu.add(MENU_NONE, "-------");
    workspaceMenu.add(WORKSPACE_UNDO, "undo");
    workspaceMenu.add(MENU_NONE, "-------");
    workspaceMenu.add(WORKSPACE_RESET, "reset");
    workspaceMenu.add(MENU_NONE, "-------");
    workspaceMenu.add(WORKSPACE_HELP, "help");
    layersMenu.entries.clear();

    controllersMenu.entries.clear();
    controllers2Menu.entries.clear();
    if (const ControllerSet* set = controllers()) {
        for (uint32_t i = 0; i < set->count(); ++i)
            (i < CONTROLLERS_PER_MENU ? controllersMenu : controllers2Menu).add(int32_t(i), set->nameAt(i));
    }
    placeMenus(false);
}

std::array<MenuList*, EDITOR_MENU_COUNT> TimelineEditor::menus() {
    return {&workspaceMenu, &layersMenu, &controllersMenu, &controllers2Menu};
}

// Headers where the font and the picture's width put them; input works from activation on, before
// the first draw. Drawing places them again, for a picture that changed size.
void TimelineEditor::placeMenus(bool draw) {
    const int width = viewportWidth();
    const auto places = menuHeaderPlaces(smallFont, width);
    const int32_t marked[EDITOR_MENU_COUNT] = {MENU_NONE, MENU_NONE, selectedController, selectedController};
    for (size_t i = 0; i < EDITOR_MENU_COUNT; ++i) {
        MenuList& menu = *menus()[i];
        const MenuHeaderPlace& p = places[i];
        if (draw)
            menu.draw(smallFont, p.title, marked[i], p.x, p.y, p.width, width);
        else {
            menu.place(p.x, p.y, p.width);
            menu.fitList(smallFont, width);
        }
    }
}

void TimelineEditor::scaleFonts() {
    const int height = viewportHeight();
    const int small = smallFontPixels(height);
    if (smallFont.valid() && smallFont.pixelSize == small) return;
    releaseBitmapFont(smallFont);
    releaseBitmapFont(largeFont);
    createBitmapFont(smallFont, small);
    createBitmapFont(largeFont, int(std::lround(float(small) * LARGE_FONT_SCALE)));
    view.font = &smallFont;
    const float row = std::max(MENU_ROW_HEIGHT, float(smallFont.ascent + smallFont.descent) / float(height));
    for (MenuList* menu : menus()) menu->rowHeight = row;
}

void TimelineEditor::activate() {
    scaleFonts();

    const MusicState* music = runtime ? runtime->music : nullptr;
    const DecodedAudio* audio = showMusicHasStream(music) ? musicAudio(music->stream) : nullptr;
    if (audio && audio->frameCount() > 0) {
        view.setAudio(audio->frames(), uint32_t(audio->frameCount()), uint32_t(audio->rate));
    } else {
        const uint32_t ms = std::max(runtime ? runtime->maxEndMs : 0u, SILENT_MINIMUM_MS);
        view.setAudio(nullptr, uint32_t(uint64_t(ms) * SILENT_RATE / 1000), SILENT_RATE);
    }

    loadButtons();
    fillMenus();
    for (MenuList* menu : menus()) {
        menu->open = false;
        menu->hoveredId = MENU_NONE;
        menu->compareMark = MENU_NONE;
    }
    hoveredKey = -1;
    selectedController = 0;
    const ControllerSet* set = controllers();
    current = set && set->count() > 0 ? set->at(0) : nullptr;
    readBeatGrid();
    rebuild();
}

// The tempo of --bpm wins; else the one stored with the curves, if any.
void TimelineEditor::readBeatGrid() {
    grid = BeatGrid{};
    if (commandLineBpm > 0.0f)
        grid = BeatGrid{commandLineBpm, 0.0f};
    else if (const ControllerSet* set = controllers())
        grid = storedBeatGrid(*set).value_or(BeatGrid{});
    view.grid = grid;
}

void TimelineEditor::rebuild() {
    view.controller = current;
    view.band = dragMode == DragMode::KeyValue ? dragBand : valueBandFor(current);
    view.selectedKeys = selectedKeys;
    view.selectedSegment = selectedSegment;
    view.rebuild();
}

void TimelineEditor::snapshot() {
    // A new edit starts a new line of history: what undo replaced cannot come back any more.
    history.redoList.clear();
    if (const ControllerSet* set = controllers()) takeSnapshot(*set, history);
}

void TimelineEditor::forgetKeySelection() {
    selectedKeys.clear();
    hoveredKey = -1;
    focusKey = -1;
    selectedSegment = -1;
}

// Undo and reset replace every key, so indices into the old keys mean nothing any more, and a file
// may bring controllers the menus do not list yet.
void TimelineEditor::afterSetReload() {
    fillMenus();
    forgetKeySelection();
    readBeatGrid();
    rebuild();
}

void TimelineEditor::placeSegmentButtons() {
    if (current && selectedSegment >= 0)
        segmentButtons.setOffset(view.timeToX(current->keyTime(selectedSegment)), SEGMENT_BUTTONS_Y);
}

void TimelineEditor::pollHideKeys() {
    if (isKeyDown(VK_F5)) hidden = true;
    if (isKeyDown(VK_F6)) hidden = false;
}

// Each press of Space drops one key of value 0 at the music's position; the values come later.
void TimelineEditor::pollRecordTap() {
    if (!isKeyDown(VK_SPACE)) {
        recordTapHeld = false;
        return;
    }
    if (recordTapHeld) return;
    recordTapHeld = true;
    if (!runtime || !current) return;
    // Without a stream the show clock stands in for the music, as it does for the frame loop.
    const uint32_t ms = showMusicHasStream(runtime->music) ? showMusicPositionMs(runtime->music)
                                                            : truncateMs(runtime->playTime * 1000.0f);
    current->addKey(float(ms) / 1000.0f, 0.0f);
}

void TimelineEditor::drawTexts() {
    const GLuint small = smallFont.listBase, large = largeFont.listBase;
    const float lineStep = float(smallFont.ascent + smallFont.descent + 2) / float(viewportHeight());
    if (current && hoveredKey >= 0) {
        const float x = view.timeToX(current->keyTime(hoveredKey));
        const float y = TIMELINE_TOP + 0.01f;
        drawText(small, x - 0.025f, y + lineStep, 0.6f, 0.6f, 0.6f, 1.0f, "time: %.03fs", double(current->keyTime(hoveredKey)));
        drawText(small, x - 0.025f, y, 0.6f, 0.6f, 0.6f, 1.0f, "value: %.03f", double(current->keyValue(hoveredKey)));
    }
    if (current && selectedSegment >= 0) {
        const float from = current->keyTime(selectedSegment), to = current->nextKeyTime(selectedSegment);
        const float x = view.timeToX(from);
        segmentButtons.draw(x, SEGMENT_BUTTONS_Y);
        drawText(small, x, 0.69f + lineStep, 0.6f, 0.6f, 0.6f, 1.0f, "length: %.03fs", double(to - from));
        drawText(small, x, 0.69f, 0.6f, 0.6f, 0.6f, 1.0f, "from: %.03fs - to: %0.3fs", double(from), double(to));
    }
    if (cursorLine) {
        beginBlend();
        drawVerticalLine(mouseX, 0.0f, TIMELINE_TOP, {0.2f, 0.1f, 0.7f, 0.5f}, {0.2f, 0.1f, 0.7f, 0.9f});
        endBlend();
        drawText(small, mouseX - 0.008f, 0.24f, 1.0f, 1.0f, 1.0f, 1.0f, "%.4fs", double(timeUnderMouse));
    }
    if (zoomDragging)
        drawText(small, view.timeToX(zoomStart) - 0.008f, 0.24f, 0.5f, 0.5f, 1.0f, 1.0f, "%.4fs", double(zoomStart));
    // From the top down in whole font lines, so the labels stay apart however large the fonts are.
    const float height = float(viewportHeight());
    const float smallLine = float(smallFont.ascent + smallFont.descent + 2) / height;
    const float largeLine = float(largeFont.ascent + largeFont.descent + 2) / height;
    const float runtimeY = std::min(0.98f, 1.0f - float(smallFont.ascent + 2) / height);
    // The right-hand texts start under the transport buttons, or as far left as they need to end
    // inside a narrow picture.
    const int width = viewportWidth();
    const auto rightAligned = [&](const BitmapFont& font, const char* text) {
        return keepInsideRight(0.9f, font.textWidth(text), width);
    };
    drawText(small, rightAligned(smallFont, "runtime"), runtimeY, 1.0f, 1.0f, 1.0f, 1.0f, "runtime");
    const double showTime = runtime ? runtime->startOffset + runtime->playTime : 0.0;
    char timeText[32];
    std::snprintf(timeText, sizeof timeText, "%0.3fs", showTime);
    const float timeY = std::min(0.95f, runtimeY - largeLine);
    drawText(large, rightAligned(largeFont, timeText), timeY, 1.0f, 1.0f, 1.0f, 1.0f, "%s", timeText);
    // The buttons (0.06 high) go under the time, lower than usual where the fonts are large for the
    // picture, and the status line under them.
    transportY = std::min(TRANSPORT_Y, timeY - float(largeFont.descent + 2) / height - 0.065f);
    drawText(small, rightAligned(smallFont, statusLine.c_str()), std::min(0.8f, transportY - smallLine), 1.0f, 1.0f,
             1.0f, 1.0f, "%s", statusLine.c_str());
    if (recordMode) drawText(small, 0.43f, runtimeY, 1.0f, 0.0f, 0.0f, 1.0f, ">>>RECORD MODE<<<");
}

void TimelineEditor::draw() {
    scaleFonts();
    countFrame();
    if (runtime) {
        view.now = runtime->startOffset + runtime->playTime;
        // The frame loop leaves controllers alone while paused; the one being edited follows its edits
        // at the standing time so that the picture previews them.
        if (current && runtime->state == RuntimeState::Paused) current->update(float(frameShowMs(*runtime)) / 1000.0f);
    }
    rebuild();
    pollHideKeys();
    if (hidden) return;
    if (recordMode) pollRecordTap();

    // Layers leave all kinds of state behind; the overlay draws with its own and gives theirs back.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glUseProgram(0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glDepthMask(GL_FALSE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);

    pushNormalisedSpace();
    drawTexts();
    popNormalisedSpace();

    view.drawOverlay();

    pushNormalisedSpace();
    // The panels go over the time axis, the menus over everything.
    drawPanels();
    transportButtons.draw(TRANSPORT_X, transportY);
    placeMenus(true);
    popNormalisedSpace();
    glDepthMask(GL_TRUE);
    glPopAttrib();
}

void TimelineEditor::shutdown() {
    deleteSnapshots(history);
    releaseBitmapFont(smallFont);
    releaseBitmapFont(largeFont);
    view.release();
    selectedKeys.clear();
    view.selectedKeys.clear();
}

void attachTimelineEditor(ShowRuntime& rt, float bpm) {
    delete rt.editor;
    rt.editor = new TimelineEditor(&rt, bpm);
}

}  // namespace zelFramework
