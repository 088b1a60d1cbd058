// Moving about the axis (wheel zoom about the pointer, middle-drag panning), snapping to the beat
// grid, ruler labels spaced for the zoom, and fonts and menu rows that follow the picture's height.
#include "editor_fixture.h"

#include "sync/editor/ruler_spacing.h"

namespace orvotest {
namespace {

using namespace zelFramework;

class EditorNavigationTest : public EditorTest {
protected:
    void wheel(float x, float y, int notches) {
        const uintptr_t wParam = uintptr_t(uint16_t(int16_t(notches * 120))) << 16;
        send(WM_MOUSEWHEEL, x, y, wParam);
    }
    float visibleSeconds() const {
        return float(editor->view.visibleEnd - editor->view.visibleStart) / float(editor->view.sampleRate);
    }
};

TEST_F(EditorNavigationTest, TheWheelZoomsAboutThePointerAndAMiddleDragPans) {
    threeKeys();
    startEditor();
    move(0.25f, 0.3f);
    const float anchor = editor->view.xToTime(0.25f);
    wheel(0.25f, 0.3f, 3);  // three notches in: 0.8^3 of the span
    EXPECT_NEAR(visibleSeconds(), 100.0f * 0.512f, 0.01f);
    EXPECT_NEAR(editor->view.xToTime(0.25f), anchor, 0.01f);
    wheel(0.25f, 0.3f, -3);
    EXPECT_NEAR(visibleSeconds(), 100.0f, 0.01f);
    wheel(0.25f, 0.3f, -5);  // never wider than the song
    EXPECT_NEAR(visibleSeconds(), 100.0f, 0.01f);
    for (int i = 0; i < 100; ++i) wheel(0.25f, 0.3f, 1);  // never narrower than a twentieth of a second
    EXPECT_NEAR(visibleSeconds(), 0.05f, 0.001f);
    wheel(0.25f, 0.6f, -1);  // above the time axis the wheel does nothing
    EXPECT_NEAR(visibleSeconds(), 0.05f, 0.001f);

    editor->view.showWholeSong();
    wheel(0.5f, 0.3f, 4);  // 40.96 s about the middle
    const float start = editor->view.xToTime(0.0f);
    // A middle drag from x 0.6 to 0.5 moves the window a tenth of its span later.
    send(WM_MBUTTONDOWN, 0.6f, 0.1f);
    move(0.5f, 0.1f);
    send(WM_MBUTTONUP, 0.5f, 0.1f);
    EXPECT_NEAR(editor->view.xToTime(0.0f), start + 4.096f, 0.01f);
    EXPECT_TRUE(set.get("fade")->keys.size() == 3u);  // panning adds no key
    // Dragged far past the start, the window stops at 0 with its width.
    send(WM_MBUTTONDOWN, 0.1f, 0.3f);
    move(0.9f, 0.3f);
    move(0.99f, 0.3f);
    send(WM_MBUTTONUP, 0.99f, 0.3f);
    EXPECT_NEAR(editor->view.xToTime(0.0f), 0.0f, 1e-4);
    EXPECT_NEAR(visibleSeconds(), 40.96f, 0.01f);
    move(0.5f, 0.5f);
    EXPECT_NEAR(editor->view.xToTime(0.0f), 0.0f, 1e-4);  // the button is up: no more panning
}

TEST_F(EditorNavigationTest, ShiftSnapsAKeyToTheBeatGridOfBpm) {
    Controller* c = threeKeys();
    editor = std::make_unique<TimelineEditor>(&rt, 96.0f);  // a beat every 0.625 s
    editor->activate();
    EXPECT_TRUE(editor->view.grid.active());
    move(0.4f, KEY_BAND);
    send(WM_LBUTTONDOWN, 0.4f, KEY_BAND);
    press(VK_SHIFT);
    move(0.443f, KEY_BAND);  // 44.3 s: the nearest beat is 44.375 s
    EXPECT_NEAR(c->keys[1].time, 44.375f, 1e-3);
    release(VK_SHIFT);
    move(0.443f, KEY_BAND + 0.001f);
    EXPECT_NEAR(c->keys[1].time, 44.3f, 1e-3);
    send(WM_LBUTTONUP, 0.443f, KEY_BAND);
}

TEST_F(EditorNavigationTest, ATempoStoredWithTheCurvesGivesTheGrid) {
    Controller* bpm = set.get(BEAT_GRID_CONTROLLER);
    bpm->addKey(0.25f, 120.0f);
    startEditor();
    EXPECT_FLOAT_EQ(editor->grid.bpm, 120.0f);
    EXPECT_FLOAT_EQ(editor->grid.nearestBeat(10.1f), 10.25f);
}

TEST(RulerSpacing, LabelsNeverTouchAndTicksDivideThem) {
    struct Case {
        double visible, width, label, tick;
    } cases[] = {
        {195.0, 0.03, 15.0, 1.0},  // the whole show at 1280 pixels
        {195.0, 0.08, 60.0, 1.0},  // a narrow window: fewer labels
        {2.0, 0.03, 0.2, 0.1},
        {0.05, 0.03, 0.1, 0.1},
        {20000.0, 0.03, 1200.0, 120.0},
    };
    for (const Case& c : cases) {
        const RulerSpacing s = chooseRulerSpacing(c.visible, c.width);
        EXPECT_DOUBLE_EQ(s.labelStep, c.label) << c.visible << " " << c.width;
        EXPECT_DOUBLE_EQ(s.tickStep, c.tick) << c.visible << " " << c.width;
        EXPECT_GE(s.labelStep / c.visible, 2.0 * c.width - 1e-12);
    }
    EXPECT_EQ(rulerLabel(65.0, 5.0), "1:05");
    EXPECT_EQ(rulerLabel(120.0, 5.0), "2m");
    EXPECT_EQ(rulerLabel(65.5, 0.5), "1:05.5");
}

TEST_F(EditorNavigationTest, FontsAndMenuRowsFollowThePictureHeight) {
    for (int i = 0; i < 45; ++i) set.get("controller " + std::to_string(i));
    startEditor();
    EXPECT_EQ(editor->smallFont.pixelSize, 16);  // 1000 pixels: the rows of 1/50 as they were
    EXPECT_FLOAT_EQ(editor->controllersMenu.rowHeight, MENU_ROW_HEIGHT);
    glViewport(0, 0, 640, 280);
    editor->draw();
    EXPECT_EQ(editor->smallFont.pixelSize, 10);  // never below what reads
    const float row = editor->controllersMenu.rowHeight;
    EXPECT_GE(row * 280.0f, float(editor->smallFont.ascent + editor->smallFont.descent));
    // 40 rows do not fit in 280 pixels: they go on in further columns, and each stays pickable.
    editor->controllersMenu.open = true;
    const size_t perColumn = editor->controllersMenu.rowsPerColumn();
    EXPECT_LT(perColumn, 40u);
    EXPECT_GE(editor->controllersMenu.columnCount(), 2u);
    const float x0 = editor->controllersMenu.listX + 0.01f;
    const float secondColumn = x0 + editor->controllersMenu.columnWidth;
    const float firstRowY = 0.95f - row / 2.0f;
    EXPECT_EQ(editor->controllersMenu.hitTest(x0, firstRowY), 0);
    EXPECT_EQ(editor->controllersMenu.hitTest(secondColumn, firstRowY), int32_t(perColumn));
    glViewport(0, 0, 1920, 1080);
    editor->draw();
    EXPECT_EQ(editor->smallFont.pixelSize, 17);
    glViewport(0, 0, EDITOR_VIEWPORT, EDITOR_VIEWPORT);
}

}  // namespace
}  // namespace orvotest
