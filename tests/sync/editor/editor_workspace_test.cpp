// Undo, save, reset and the snapshot files the editor leaves behind.
#include "editor_fixture.h"

namespace orvotest {
namespace {

using namespace zelFramework;

TEST_F(EditorTest, UndoRestoresEachSnapshotInTurn) {
    Controller* c = set.get("fade");
    c->addKey(10.0f, 0.5f);
    c->addKey(90.0f, 0.5f);
    startEditor();
    controlZ();  // nothing to undo yet
    ASSERT_EQ(c->keys.size(), 2u);
    send(WM_MBUTTONDOWN, 0.5f, 0.21f);
    send(WM_MBUTTONDOWN, 0.7f, 0.21f);
    ASSERT_EQ(c->keys.size(), 4u);

    controlZ();
    EXPECT_EQ(c->keys.size(), 3u);
    EXPECT_EQ(set.get("fade"), c);  // layers keep their pointers across undo
    EXPECT_EQ(editor->current, c);
    // Control still down: every further Z (or auto-repeat) undoes again.
    press(VK_CONTROL);
    press('Z');
    press('Z');
    EXPECT_EQ(c->keys.size(), 2u);
    EXPECT_TRUE(editor->history.undoList.empty());
    release('Z');
    release(VK_CONTROL);

    send(WM_MBUTTONDOWN, 0.5f, 0.21f);
    pickWorkspace(2);  // "undo"
    EXPECT_EQ(c->keys.size(), 2u);
}

TEST_F(EditorTest, SaveThenResetRoundTripsAndListsWhatTheFileBrings) {
    Controller* c = set.get("fade");
    c->addKey(10.0f, 0.25f);
    c->addKey(50.0f, 0.75f);
    c->segments[0] = {CURVE_EXPONENTIAL, ENDS_VALONE};
    startEditor();
    pickWorkspace(4);  // "reset" without a sync file leaves the keys
    ASSERT_EQ(c->keys.size(), 2u);
    pickWorkspace(0);  // "save"
    ASSERT_TRUE(std::filesystem::exists("data/demosynch.dat"));
    EXPECT_EQ(editor->history.undoList.size(), 0u);  // save keeps no snapshot

    send(WM_MBUTTONDOWN, 0.3f, 0.21f);
    c->segments[0].curve = CURVE_LINEAR;
    c->keys[0].value = 0.9f;
    editor->selectedKeys = {2};
    ControllerSet other;  // the file also brings a controller the set has not met
    ASSERT_TRUE(other.load("data\\demosynch.dat"));
    other.get("glow")->addKey(1.0f, 1.0f);
    ASSERT_TRUE(other.save("data\\demosynch.dat"));
    ASSERT_EQ(editor->controllersMenu.entries.size(), 1u);
    pickWorkspace(4);
    ASSERT_EQ(editor->controllersMenu.entries.size(), 2u);
    EXPECT_EQ(editor->controllersMenu.entries[1].text, "glow");
    ASSERT_EQ(c->keys.size(), 2u);
    EXPECT_FLOAT_EQ(c->keys[0].value, 0.25f);
    EXPECT_EQ(c->segments[0].curve, CURVE_EXPONENTIAL);
    EXPECT_EQ(c->segments[0].ends, ENDS_VALONE);
    EXPECT_TRUE(editor->selectedKeys.empty());  // indices into the replaced keys are dropped
}

TEST_F(EditorTest, ShutdownLeavesNoSnapshotBehindRestoredOnesIncluded) {
    Controller* c = set.get("fade");
    c->addKey(10.0f, 0.5f);
    c->addKey(90.0f, 0.5f);
    startEditor();
    for (float x : {0.3f, 0.5f, 0.7f}) send(WM_MBUTTONDOWN, x, 0.21f);
    ASSERT_EQ(snapshotFiles(), 3u);
    controlZ();  // the newest snapshot is used up but stays on disk while the editor runs
    EXPECT_EQ(snapshotFiles(), 3u);
    editor->shutdown();
    editor.reset();
    EXPECT_EQ(snapshotFiles(), 0u);
}

}  // namespace
}  // namespace orvotest
