// Key editing with the mouse: time and value drags, insertion, deletion, segment shapes, zoom, seek
// and record taps.
#include <cmath>

#include "editor_fixture.h"

namespace orvotest {
namespace {

using namespace zelFramework;

constexpr float KEY_BAND = 0.23f;

// Three keys at 20, 40 and 60 s (x 0.2, 0.4, 0.6 on the fixture's axis).
Controller* threeKeys(ControllerSet& set) {
    Controller* c = set.get("fade");
    c->addKey(20.0f, 0.2f);
    c->addKey(40.0f, 0.4f);
    c->addKey(60.0f, 0.7f);
    return c;
}

float valueAt(Controller* c, float t) {
    c->update(t);
    return c->value;
}

TEST_F(EditorTest, ControlClickSelectsSeveralKeysAndARightDragSetsThemAllClamped) {
    Controller* c = threeKeys(set);
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
    EXPECT_FLOAT_EQ(c->keys[0].time, 20.0f);
    EXPECT_FLOAT_EQ(c->keys[1].time, 40.0f);
    release(VK_CONTROL);

    const size_t before = editor->history.undoList.size();
    send(WM_RBUTTONDOWN, 0.5f, 0.30f);
    EXPECT_EQ(editor->dragMode, DragMode::KeyValue);
    EXPECT_EQ(editor->history.undoList.size(), before + 1);
    move(0.5f, 0.35f);  // +0.05 raises the last selected key's 0.4 by 0.5
    EXPECT_NEAR(c->keys[0].value, 0.9f, 1e-4);
    EXPECT_NEAR(c->keys[1].value, 0.9f, 1e-4);
    EXPECT_FLOAT_EQ(c->keys[2].value, 0.7f);
    move(0.5f, 0.45f);
    EXPECT_FLOAT_EQ(c->keys[0].value, 1.0f);
    EXPECT_FLOAT_EQ(c->keys[1].value, 1.0f);
    move(0.5f, 0.0f);
    EXPECT_FLOAT_EQ(c->keys[1].value, 0.0f);
    // A key that started outside 0..1 is brought into it by the first move.
    c->keys[1].value = 3.0f;
    send(WM_RBUTTONUP, 0.5f, 0.0f);
    send(WM_RBUTTONDOWN, 0.5f, 0.30f);
    move(0.5f, 0.301f);
    EXPECT_FLOAT_EQ(c->keys[0].value, 1.0f);
    send(WM_RBUTTONUP, 0.5f, 0.0f);
    EXPECT_EQ(editor->dragMode, DragMode::None);
    EXPECT_EQ(editor->selectedKeys.size(), 2u);  // only a single key is let go after a value drag
}

TEST_F(EditorTest, ATimeDragNeverPassesANeighbour) {
    Controller* c = threeKeys(set);
    startEditor();
    move(0.4f, KEY_BAND);
    send(WM_LBUTTONDOWN, 0.4f, KEY_BAND);
    EXPECT_EQ(editor->dragMode, DragMode::KeyTime);
    move(0.5f, KEY_BAND);
    EXPECT_FLOAT_EQ(c->keys[1].time, 50.0f);
    move(0.7f, KEY_BAND);  // past the next key: the key waits where it was
    EXPECT_FLOAT_EQ(c->keys[1].time, 50.0f);
    move(0.1f, KEY_BAND);  // past the previous key
    EXPECT_FLOAT_EQ(c->keys[1].time, 50.0f);
    move(0.25f, KEY_BAND);
    EXPECT_FLOAT_EQ(c->keys[1].time, 25.0f);
    send(WM_LBUTTONUP, 0.25f, KEY_BAND);
    EXPECT_EQ(editor->dragMode, DragMode::None);
    move(0.3f, KEY_BAND);
    EXPECT_FLOAT_EQ(c->keys[1].time, 25.0f);
    EXPECT_FLOAT_EQ(c->keys[0].time, 20.0f);
    EXPECT_FLOAT_EQ(c->keys[2].time, 60.0f);
}

TEST_F(EditorTest, ShiftSnapsADraggedKeyToACompareKeyWithin0008) {
    Controller* c = threeKeys(set);
    Controller* beat = set.get("beat");
    beat->addKey(45.5f, 1.0f);
    startEditor();
    editor->view.compare = beat;
    press(VK_SHIFT);
    move(0.4f, KEY_BAND);
    send(WM_LBUTTONDOWN, 0.4f, KEY_BAND);
    move(0.449f, KEY_BAND);  // 0.006 from the compare key
    EXPECT_FLOAT_EQ(c->keys[1].time, 45.5f);
    move(0.465f, KEY_BAND);  // 0.0095 away: no snap
    EXPECT_NEAR(c->keys[1].time, 46.5f, 1e-4);
    release(VK_SHIFT);
    move(0.452f, KEY_BAND);  // without Shift the mouse rules
    EXPECT_NEAR(c->keys[1].time, 45.2f, 1e-4);
    send(WM_LBUTTONUP, 0.452f, KEY_BAND);
}

TEST_F(EditorTest, AClickOnAKeyWithoutMovementStillSnapshots) {
    threeKeys(set);
    startEditor();
    leftClick(0.6f, KEY_BAND);
    EXPECT_EQ(editor->history.undoList.size(), 1u);
    EXPECT_EQ(snapshotFiles(), 1u);
    // A click in the key band beside every key starts nothing.
    leftClick(0.5f, KEY_BAND);
    EXPECT_EQ(editor->history.undoList.size(), 1u);
}

TEST_F(EditorTest, MiddleClickInsertsAKeyThatKeepsTheCurve) {
    Controller* c = threeKeys(set);
    c->segments[0].curve = CURVE_SMOOTHSTEP;  // what a plain insertion would copy into the new segment
    startEditor();
    const float before = valueAt(c, 50.0f), later = valueAt(c, 52.5f);
    c->value = 0.33f;

    editor->selectedKeys = {1};
    move(0.5f, 0.19f);
    send(WM_MBUTTONDOWN, 0.5f, 0.19f);  // the ruler: nothing but the selection cleared
    EXPECT_EQ(c->keys.size(), 3u);
    EXPECT_TRUE(editor->selectedKeys.empty());
    send(WM_MBUTTONDOWN, 0.6f, KEY_BAND);  // on an existing key: nothing
    EXPECT_EQ(c->keys.size(), 3u);
    EXPECT_EQ(editor->history.undoList.size(), 0u);

    send(WM_MBUTTONDOWN, 0.5f, 0.21f);
    ASSERT_EQ(c->keys.size(), 4u);
    EXPECT_EQ(editor->history.undoList.size(), 1u);
    EXPECT_FLOAT_EQ(c->keys[2].time, 50.0f);
    EXPECT_FLOAT_EQ(c->keys[2].value, before);
    EXPECT_FLOAT_EQ(valueAt(c, 50.0f), before);
    EXPECT_NEAR(valueAt(c, 52.5f), later, 1e-5);  // the linear half after the new key stays linear
    EXPECT_EQ(c->segments[2].curve, CURVE_LINEAR);
    EXPECT_EQ(c->segments[0].curve, CURVE_SMOOTHSTEP);
    c->value = 0.33f;
    send(WM_MBUTTONDOWN, 0.7f, 0.21f);  // after the last key: flat, as the curve was
    ASSERT_EQ(c->keys.size(), 5u);
    EXPECT_FLOAT_EQ(c->keys.back().value, 0.7f);
    EXPECT_FLOAT_EQ(c->value, 0.33f);  // what layers read is left alone
}

TEST_F(EditorTest, BackspaceRightClickDeletesTheKeyUnderTheMouse) {
    Controller* c = threeKeys(set);
    startEditor();
    press(VK_BACK);
    move(0.5f, KEY_BAND);
    send(WM_RBUTTONDOWN, 0.5f, KEY_BAND);  // no key there: only the snapshot
    EXPECT_EQ(c->keys.size(), 3u);
    EXPECT_EQ(editor->history.undoList.size(), 1u);
    move(0.4f, KEY_BAND);
    send(WM_RBUTTONDOWN, 0.4f, KEY_BAND);
    release(VK_BACK);
    ASSERT_EQ(c->keys.size(), 2u);
    EXPECT_FLOAT_EQ(c->keys[1].time, 60.0f);
    EXPECT_EQ(editor->hoveredKey, -1);
    EXPECT_EQ(editor->history.undoList.size(), 2u);
}

TEST_F(EditorTest, SegmentButtonsShapeTheSelectedSegment) {
    Controller* c = threeKeys(set);
    startEditor();
    leftClick(0.5f, 0.3f);
    ASSERT_EQ(editor->selectedSegment, 1);
    EXPECT_EQ(editor->history.undoList.size(), 0u);
    // The buttons hang at the segment's first key (x 0.4), from y 0.4 up.
    leftClick(0.4f + 0.01f, 0.4f + 0.17f + 0.02f);
    EXPECT_EQ(c->segments[1].curve, CURVE_SMOOTHSTEP);
    leftClick(0.4f + 0.066f + 0.01f, 0.4f + 0.11f + 0.02f);
    EXPECT_EQ(c->segments[1].ends, ENDS_ZEROZERO);
    EXPECT_EQ(editor->history.undoList.size(), 2u);
    EXPECT_EQ(c->segments[0].curve, CURVE_LINEAR);
    EXPECT_FLOAT_EQ(valueAt(c, 50.0f), 0.0f);
    EXPECT_EQ(editor->selectedSegment, 1);
    // A release away from the segment lets it go.
    send(WM_LBUTTONDOWN, 0.5f, 0.3f);
    send(WM_LBUTTONUP, 0.8f, 0.3f);
    EXPECT_EQ(editor->selectedSegment, -1);
    leftClick(0.3f, 0.3f);
    EXPECT_EQ(editor->selectedSegment, 0);
    leftClick(0.3f, 0.1f);  // a press in the waveform deselects
    EXPECT_EQ(editor->selectedSegment, -1);
}

TEST_F(EditorTest, ZoomRangesNarrowerThan0005ChangeNothing) {
    threeKeys(set);
    startEditor();
    const uint32_t end = editor->view.visibleEnd;
    move(0.3f, 0.1f);
    send(WM_LBUTTONDOWN, 0.3f, 0.1f);
    move(0.304f, 0.1f);
    EXPECT_TRUE(editor->view.rangeActive);
    send(WM_LBUTTONUP, 0.304f, 0.1f);
    EXPECT_EQ(editor->view.visibleStart, 0u);
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

TEST_F(EditorTest, TabClickSeeksTheShowToTheMouseInWholeMilliseconds) {
    threeKeys(set);
    startEditor();
    editor->view.visibleStart = 1000;
    editor->view.visibleEnd = 1000 + 44100 * 3 + 7;
    press(VK_TAB);
    leftClick(0.5f, 0.6f);
    release(VK_TAB);
    const float expected = editor->view.xToTime(0.5f);
    EXPECT_FLOAT_EQ(rt.playTime, expected);
    EXPECT_NEAR(rt.playTime, (1000.0 + 44100.0 * 1.5 + 3.5) / 44100.0, 1e-5);
    EXPECT_EQ(editor->selectedSegment, -1);  // a seek does nothing else
}

TEST_F(EditorTest, SpaceInRecordModeDropsOneKeyPerPress) {
    Controller* c = threeKeys(set);
    startEditor();
    rt.playTime = 12.3456f;
    setKeyDown(VK_SPACE, true);
    editor->draw();  // not recording yet
    EXPECT_EQ(c->keys.size(), 3u);
    setKeyDown(VK_SPACE, false);
    editor->recordMode = true;
    setKeyDown(VK_SPACE, true);
    editor->draw();
    editor->draw();  // still the same press
    ASSERT_EQ(c->keys.size(), 4u);
    EXPECT_FLOAT_EQ(c->keys[0].time, 12.345f);
    EXPECT_FLOAT_EQ(c->keys[0].value, 0.0f);
    setKeyDown(VK_SPACE, false);
    editor->draw();
    rt.playTime = 70.0f;
    setKeyDown(VK_SPACE, true);
    editor->draw();
    setKeyDown(VK_SPACE, false);
    EXPECT_EQ(c->keys.size(), 5u);
    EXPECT_FLOAT_EQ(c->keys.back().time, 70.0f);
}

}  // namespace
}  // namespace orvotest
