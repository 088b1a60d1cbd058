// Typed values and times, redo, copy and paste, the loop key and the help and readout panels.
#include "editor_fixture.h"

namespace orvotest {
namespace {

using namespace zelFramework;

class EditorKeyboardTest : public EditorTest {
protected:
    void type(const std::string& text) {
        for (char c : text) editor->handleMessage(WM_CHAR, uintptr_t(uint8_t(c)), 1);
    }
    void key(uint32_t vk) {
        press(vk);
        release(vk);
    }
    void control(uint32_t vk, bool shift = false) {
        if (shift) press(VK_SHIFT);
        press(VK_CONTROL);
        key(vk);
        release(VK_CONTROL);
        if (shift) release(VK_SHIFT);
    }
};

TEST_F(EditorKeyboardTest, ATypedValueGoesToTheSelectedKeysWhateverItIs) {
    Controller* c = threeKeys();
    startEditor();
    // Control-click two keys, then V, a number and Enter.
    press(VK_CONTROL);
    leftClick(0.2f, KEY_BAND);
    leftClick(0.6f, KEY_BAND);
    release(VK_CONTROL);
    key('V');
    ASSERT_TRUE(editor->entry.active());
    type("v-0.22x");  // only the characters of a number are taken
    EXPECT_EQ(editor->entry.text(), "-0.22");
    const size_t snapshots = editor->history.undoList.size();
    key(VK_RETURN);
    EXPECT_FALSE(editor->entry.active());
    EXPECT_EQ(c->keys[0].value, -0.22f);
    EXPECT_EQ(c->keys[1].value, 0.4f);
    EXPECT_EQ(c->keys[2].value, -0.22f);
    EXPECT_EQ(editor->history.undoList.size(), snapshots + 1);
    // A value far outside 0..1 is kept exactly, and the band follows it.
    key('V');
    type("195");
    key(VK_BACK);
    type("5");
    key(VK_RETURN);
    EXPECT_EQ(c->keys[0].value, 195.0f);
    editor->draw();
    EXPECT_EQ(editor->view.band.high, 200.0f);
    // Not a number: nothing changes, and the author is told.
    key('V');
    type("1e");
    key(VK_RETURN);
    EXPECT_EQ(c->keys[0].value, 195.0f);
    EXPECT_NE(editor->notice.find("not a number"), std::string::npos);
    // Delete, or a click, drops an entry.
    key('V');
    type("3");
    key(VK_DELETE);
    EXPECT_FALSE(editor->entry.active());
    key('V');
    leftClick(0.9f, 0.6f);
    EXPECT_FALSE(editor->entry.active());
}

TEST_F(EditorKeyboardTest, ATypedTimeMovesTheClickedKeyBetweenItsNeighboursOnly) {
    Controller* c = threeKeys();
    startEditor();
    leftClick(0.4f, KEY_BAND);  // a plain click leaves no selection, but the key is the target
    EXPECT_TRUE(editor->selectedKeys.empty());
    key('T');
    type("33.25");
    key(VK_RETURN);
    EXPECT_EQ(c->keys[1].time, 33.25f);
    EXPECT_EQ(c->keys[1].value, 0.4f);
    key('T');
    type("70");  // past the next key: refused with the reason
    key(VK_RETURN);
    EXPECT_EQ(c->keys[1].time, 33.25f);
    EXPECT_NE(editor->notice.find("between its neighbours"), std::string::npos) << editor->notice;
}

TEST_F(EditorKeyboardTest, RedoWithControlYOrShiftControlZUntilTheNextEdit) {
    Controller* c = threeKeys();
    startEditor();
    leftClick(0.4f, KEY_BAND);
    key('V');
    type("0.9");
    key(VK_RETURN);
    key('V');
    type("0.1");
    key(VK_RETURN);
    ASSERT_EQ(c->keys[1].value, 0.1f);
    control('Z');
    EXPECT_EQ(set.get("fade")->keys[1].value, 0.9f);
    control('Z');
    EXPECT_EQ(set.get("fade")->keys[1].value, 0.4f);
    control('Y');
    EXPECT_EQ(set.get("fade")->keys[1].value, 0.9f);
    control('Z', true);
    EXPECT_EQ(set.get("fade")->keys[1].value, 0.1f);
    control('Y');  // nothing left to redo
    EXPECT_EQ(set.get("fade")->keys[1].value, 0.1f);
    control('Z');
    EXPECT_EQ(set.get("fade")->keys[1].value, 0.9f);
    // A new edit ends the redo history.
    leftClick(0.2f, KEY_BAND);
    key('V');
    type("0.5");
    key(VK_RETURN);
    control('Y');
    EXPECT_EQ(set.get("fade")->keys[1].value, 0.9f);
    EXPECT_EQ(set.get("fade")->keys[0].value, 0.5f);
}

TEST_F(EditorKeyboardTest, CopiedKeysPasteAtTheMouseWithTheirSpacingAndShape) {
    Controller* c = threeKeys();
    c->segments[1].curve = CURVE_SMOOTHSTEP;  // 40 -> 60 s
    Controller* other = set.get("other");
    startEditor();
    press(VK_CONTROL);
    leftClick(0.4f, KEY_BAND);
    leftClick(0.6f, KEY_BAND);
    key('C');
    release(VK_CONTROL);
    EXPECT_EQ(editor->clipboard.keys.size(), 2u);
    // Into the other controller, at the mouse (80 s on the axis).
    move(0.35f, 0.955f);
    leftClick(0.35f, rowY(1));
    ASSERT_EQ(editor->current, other);
    move(0.8f, 0.3f);
    control('V');
    ASSERT_EQ(other->keys.size(), 2u);
    EXPECT_NEAR(other->keys[0].time, 80.0f, 1e-3);
    EXPECT_NEAR(other->keys[1].time, 100.0f, 1e-3);
    EXPECT_EQ(other->keys[0].value, 0.4f);
    EXPECT_EQ(other->keys[1].value, 0.7f);
    EXPECT_EQ(other->segments[0].curve, CURVE_SMOOTHSTEP);
    EXPECT_EQ(editor->selectedKeys, (std::vector<uint32_t>{0, 1}));
    control('Z');  // a paste is one undo step
    EXPECT_TRUE(set.get("other")->keys.empty());
}

TEST_F(EditorKeyboardTest, LLoopsTheZoomedRangeAndF1AndHelpShowTheKeys) {
    threeKeys();
    startEditor();
    // Zoom to 20..40 s, loop it.
    send(WM_LBUTTONDOWN, 0.2f, 0.1f);
    move(0.4f, 0.1f);
    send(WM_LBUTTONUP, 0.4f, 0.1f);
    key('L');
    EXPECT_TRUE(rt.span.loop);
    EXPECT_NEAR(double(rt.span.loopFromMs), 20000.0, 1.0);
    EXPECT_NEAR(double(rt.span.loopToMs), 40000.0, 1.0);
    key('L');
    EXPECT_FALSE(rt.span.loop);
    key(VK_F1);
    EXPECT_TRUE(editor->helpShown);
    key(VK_F1);
    pickWorkspace(6);  // "help"
    EXPECT_TRUE(editor->helpShown);
    key(VK_F2);
    EXPECT_TRUE(editor->readoutShown);
    editor->draw();  // both panels draw without trouble
}

}  // namespace
}  // namespace orvotest
