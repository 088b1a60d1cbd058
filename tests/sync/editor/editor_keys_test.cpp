// Key editing with the mouse: time and value drags, insertion, deletion, segment shapes, zoom and
// record taps.
#include "editor_fixture.h"

namespace orvotest {
namespace {

using namespace zelFramework;

float valueAt(Controller* c, float t) {
    c->update(t);
    return c->value;
}

TEST_F(EditorTest, ControlClickSelectsSeveralKeysAndARightDragMovesThemAlikeWithinTheBand) {
    Controller* c = threeKeys();
    startEditor();
    press(VK_CONTROL);
    leftClick(0.2f, KEY_BAND);
    leftClick(0.4f, KEY_BAND);
    leftClick(0.4f, KEY_BAND);  // a second click on a selected key keeps one entry
    ASSERT_EQ(editor->selectedKeys, (std::vector<uint32_t>{0, 1}));
    // A left drag needs exactly one key: nothing moves.
    send(WM_LBUTTONDOWN, 0.4f, KEY_BAND);
    move(0.5f, KEY_BAND);
    send(WM_LBUTTONUP, 0.5f, KEY_BAND);
    EXPECT_FLOAT_EQ(c->keys[1].time, 40.0f);
    release(VK_CONTROL);

    const size_t before = editor->history.undoList.size();
    send(WM_RBUTTONDOWN, 0.5f, 0.30f);
    EXPECT_EQ(editor->history.undoList.size(), before + 1);
    move(0.5f, 0.32f);  // +0.02 of the height moves both keys by 0.2 of the 0..1 band
    EXPECT_NEAR(c->keys[0].value, 0.4f, 1e-4);
    EXPECT_NEAR(c->keys[1].value, 0.6f, 1e-4);
    EXPECT_FLOAT_EQ(c->keys[2].value, 0.7f);
    move(0.5f, 0.45f);  // each stops at the band's top
    EXPECT_FLOAT_EQ(c->keys[0].value, 1.0f);
    EXPECT_FLOAT_EQ(c->keys[1].value, 1.0f);
    move(0.5f, 0.0f);
    EXPECT_FLOAT_EQ(c->keys[0].value, 0.0f);
    EXPECT_FLOAT_EQ(c->keys[1].value, 0.0f);
    move(0.5f, 0.30f);  // back where the drag began: both values exactly as they were
    EXPECT_EQ(c->keys[0].value, 0.2f);
    EXPECT_EQ(c->keys[1].value, 0.4f);
    send(WM_RBUTTONUP, 0.5f, 0.30f);
    EXPECT_EQ(editor->dragMode, DragMode::None);
    EXPECT_EQ(editor->selectedKeys.size(), 2u);  // only a single key is let go after a value drag
}

TEST_F(EditorTest, AKeyPressedWithoutMovingKeepsItsTimeAndValue) {
    Controller* c = threeKeys();
    startEditor();
    // Pressed 0.003 to the right of the key at 40 s: a time drag starts, a move of one pixel moves
    // the key by one pixel's worth (0.1 s), not to the mouse.
    move(0.403f, KEY_BAND);
    send(WM_LBUTTONDOWN, 0.403f, KEY_BAND);
    ASSERT_EQ(editor->dragMode, DragMode::KeyTime);
    move(0.403f, KEY_BAND + 0.004f);
    EXPECT_EQ(c->keys[1].time, 40.0f);
    move(0.404f, KEY_BAND);
    EXPECT_NEAR(c->keys[1].time, 40.1f, 1e-3);
    send(WM_LBUTTONUP, 0.404f, KEY_BAND);
    // A right press and release in place, and a sideways move, leave the value alone.
    move(0.6f, KEY_BAND);
    send(WM_RBUTTONDOWN, 0.6f, KEY_BAND);
    move(0.65f, KEY_BAND);
    send(WM_RBUTTONUP, 0.65f, KEY_BAND);
    EXPECT_EQ(c->keys[2].value, 0.7f);
}

TEST_F(EditorTest, ATimeDragNeverPassesANeighbourAndShiftSnapsToTheCompareKeys) {
    Controller* c = threeKeys();
    Controller* beat = set.get("beat");
    beat->addKey(45.5f, 1.0f);
    startEditor();
    editor->view.compare = beat;
    const struct {
        bool shift;
        float x, expected;
    } steps[] = {
        {false, 0.5f, 50.0f}, {false, 0.7f, 50.0f},  // past the next key: the key waits where it was
        {false, 0.1f, 50.0f}, {false, 0.25f, 25.0f},
        {true, 0.449f, 45.5f},  // 0.006 from the compare key
        {true, 0.465f, 46.5f},  // 0.0095 away: no snap
        {false, 0.452f, 45.2f},
    };
    move(0.4f, KEY_BAND);
    send(WM_LBUTTONDOWN, 0.4f, KEY_BAND);
    EXPECT_EQ(editor->dragMode, DragMode::KeyTime);
    for (const auto& step : steps) {
        if (step.shift != isKeyDown(VK_SHIFT)) step.shift ? press(VK_SHIFT) : release(VK_SHIFT);
        move(step.x, KEY_BAND);
        EXPECT_NEAR(c->keys[1].time, step.expected, 1e-4) << "x " << step.x;
    }
    send(WM_LBUTTONUP, 0.452f, KEY_BAND);
    move(0.3f, KEY_BAND);
    EXPECT_NEAR(c->keys[1].time, 45.2f, 1e-4);
    EXPECT_FLOAT_EQ(c->keys[0].time, 20.0f);
    EXPECT_FLOAT_EQ(c->keys[2].time, 60.0f);
}

TEST_F(EditorTest, AClickOnAKeySnapshotsIntoANewFolderAndBesideThemNothing) {
    threeKeys();
    startEditor();
    leftClick(0.6f, KEY_BAND);
    EXPECT_EQ(editor->history.undoList.size(), 1u);
    EXPECT_EQ(snapshotFiles(), 1u);
    leftClick(0.5f, KEY_BAND);
    EXPECT_EQ(editor->history.undoList.size(), 1u);
}

TEST_F(EditorTest, MiddleClickInsertsAKeyThatKeepsTheCurve) {
    Controller* c = threeKeys();
    c->segments[0].curve = CURVE_SMOOTHSTEP;  // what a plain insertion would copy into the new segment
    startEditor();
    const float before = valueAt(c, 50.0f), later = valueAt(c, 52.5f);
    c->value = 0.33f;

    editor->selectedKeys = {1};
    send(WM_MBUTTONDOWN, 0.5f, 0.19f);  // the ruler: nothing but the selection cleared
    EXPECT_TRUE(editor->selectedKeys.empty());
    send(WM_MBUTTONDOWN, 0.6f, KEY_BAND);  // on an existing key: nothing
    EXPECT_EQ(c->keys.size(), 3u);
    EXPECT_EQ(editor->history.undoList.size(), 0u);

    send(WM_MBUTTONDOWN, 0.5f, 0.21f);
    ASSERT_EQ(c->keys.size(), 4u);
    EXPECT_EQ(editor->history.undoList.size(), 1u);
    EXPECT_FLOAT_EQ(c->keys[2].value, before);
    EXPECT_NEAR(valueAt(c, 52.5f), later, 1e-5);  // the linear half after the new key stays linear
    EXPECT_EQ(c->segments[0].curve, CURVE_SMOOTHSTEP);
    c->value = 0.33f;
    send(WM_MBUTTONDOWN, 0.7f, 0.21f);  // after the last key: flat, as the curve was
    ASSERT_EQ(c->keys.size(), 5u);
    EXPECT_FLOAT_EQ(c->keys.back().value, 0.7f);
    EXPECT_FLOAT_EQ(c->value, 0.33f);  // what layers read is left alone
}

TEST_F(EditorTest, BackspaceRightClickDeletesTheKeyUnderTheMouse) {
    Controller* c = threeKeys();
    startEditor();
    press(VK_BACK);
    move(0.5f, KEY_BAND);
    send(WM_RBUTTONDOWN, 0.5f, KEY_BAND);  // no key there: only the snapshot
    EXPECT_EQ(c->keys.size(), 3u);
    move(0.4f, KEY_BAND);
    send(WM_RBUTTONDOWN, 0.4f, KEY_BAND);
    release(VK_BACK);
    ASSERT_EQ(c->keys.size(), 2u);
    EXPECT_FLOAT_EQ(c->keys[1].time, 60.0f);
    EXPECT_EQ(editor->hoveredKey, -1);
    EXPECT_EQ(editor->history.undoList.size(), 2u);
}

TEST_F(EditorTest, SegmentButtonsShapeTheSelectedSegment) {
    Controller* c = threeKeys();
    startEditor();
    leftClick(0.5f, 0.3f);
    ASSERT_EQ(editor->selectedSegment, 1);
    // The buttons hang at the segment's first key (x 0.4), from y 0.4 up.
    leftClick(0.4f + 0.01f, 0.4f + 0.17f + 0.02f);
    EXPECT_EQ(c->segments[1].curve, CURVE_SMOOTHSTEP);
    leftClick(0.4f + 0.066f + 0.01f, 0.4f + 0.11f + 0.02f);
    EXPECT_EQ(c->segments[1].ends, ENDS_ZEROZERO);
    EXPECT_EQ(editor->history.undoList.size(), 2u);
    EXPECT_EQ(c->segments[0].curve, CURVE_LINEAR);
    EXPECT_FLOAT_EQ(valueAt(c, 50.0f), 0.0f);
    // A release away from the segment lets it go, as does a press in the waveform.
    send(WM_LBUTTONDOWN, 0.5f, 0.3f);
    send(WM_LBUTTONUP, 0.8f, 0.3f);
    EXPECT_EQ(editor->selectedSegment, -1);
    leftClick(0.3f, 0.3f);
    EXPECT_EQ(editor->selectedSegment, 0);
    leftClick(0.3f, 0.1f);
    EXPECT_EQ(editor->selectedSegment, -1);
}

TEST_F(EditorTest, ZoomRangesNarrowerThan0005ChangeNothing) {
    threeKeys();
    startEditor();
    const uint32_t end = editor->view.visibleEnd;
    move(0.3f, 0.1f);
    send(WM_LBUTTONDOWN, 0.3f, 0.1f);
    move(0.304f, 0.1f);
    EXPECT_TRUE(editor->view.rangeActive);
    send(WM_LBUTTONUP, 0.304f, 0.1f);
    EXPECT_EQ(editor->view.visibleEnd, end);
    EXPECT_FALSE(editor->view.rangeActive);

    // Dragged right to left, the window still runs forward.
    send(WM_LBUTTONDOWN, 0.6f, 0.1f);
    move(0.2f, 0.1f);
    send(WM_LBUTTONUP, 0.2f, 0.1f);
    EXPECT_EQ(editor->view.visibleStart, 20u * 44100u);
    EXPECT_EQ(editor->view.visibleEnd, 60u * 44100u);
    EXPECT_FLOAT_EQ(editor->view.timeToX(40.0f), 0.5f);
    send(WM_RBUTTONDOWN, 0.5f, 0.1f);  // back to the whole song
    EXPECT_EQ(editor->view.visibleStart, 0u);
    EXPECT_EQ(editor->view.visibleEnd, end);
}

TEST_F(EditorTest, SpaceInRecordModeDropsOneKeyPerPress) {
    Controller* c = threeKeys();
    startEditor();
    rt.playTime = 12.3456f;
    auto tap = [&] {
        setKeyDown(VK_SPACE, true);
        editor->draw();
        editor->draw();  // still the same press
        setKeyDown(VK_SPACE, false);
        editor->draw();
    };
    tap();  // not recording yet
    EXPECT_EQ(c->keys.size(), 3u);
    editor->recordMode = true;
    tap();
    ASSERT_EQ(c->keys.size(), 4u);
    EXPECT_FLOAT_EQ(c->keys[0].time, 12.345f);
    EXPECT_FLOAT_EQ(c->keys[0].value, 0.0f);
    rt.playTime = 70.0f;
    tap();
    EXPECT_EQ(c->keys.size(), 5u);
    EXPECT_FLOAT_EQ(c->keys.back().time, 70.0f);
}

}  // namespace
}  // namespace orvotest
