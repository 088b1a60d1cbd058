// Menus, controller picks, transport buttons and the mouse mapping.
#include <string>

#include "editor_fixture.h"

namespace orvotest {
namespace {

using namespace zelFramework;

void addNamed(ControllerSet& set, int count) {
    for (int i = 0; i < count; ++i) {
        Controller* c = set.get("c" + std::to_string(i));
        c->addKey(0.0f, 0.0f);
        c->addKey(100.0f, 1.0f);
    }
}

TEST_F(EditorTest, FortyFiveControllersFillTwoMenusAndShiftPicksTheCompare) {
    addNamed(set, 45);
    startEditor();
    ASSERT_EQ(editor->controllersMenu.entries.size(), 40u);
    ASSERT_EQ(editor->controllers2Menu.entries.size(), 5u);
    EXPECT_EQ(editor->controllers2Menu.entries[4].id, 44);
    EXPECT_EQ(editor->controllers2Menu.entries[4].text, "c44");
    EXPECT_TRUE(editor->layersMenu.entries.empty());
    EXPECT_EQ(editor->current, set.at(0));  // the first controller of the set is the one edited
    editor->selectedKeys = {0};

    move(0.4f, 0.955f);
    leftClick(0.4f, rowY(2));
    EXPECT_EQ(editor->current, set.at(2));
    EXPECT_EQ(editor->view.controller, set.at(2));
    EXPECT_TRUE(editor->selectedKeys.empty());

    press(VK_SHIFT);
    leftClick(0.4f, rowY(3));
    EXPECT_EQ(editor->current, set.at(2));
    EXPECT_EQ(editor->view.compare, set.at(3));
    EXPECT_EQ(editor->controllersMenu.compareMark, 3);
    // The second menu takes the mark over; picking the compare controller again drops it.
    move(0.6f, 0.955f);
    leftClick(0.6f, rowY(1));
    EXPECT_EQ(editor->view.compare, set.at(41));
    EXPECT_EQ(editor->controllers2Menu.compareMark, 41);
    EXPECT_EQ(editor->controllersMenu.compareMark, MENU_NONE);
    leftClick(0.6f, rowY(1));
    EXPECT_EQ(editor->view.compare, nullptr);
    release(VK_SHIFT);
    leftClick(0.6f, rowY(4));
    EXPECT_EQ(editor->current, set.at(44));
    EXPECT_EQ(editor->selectedController, 44);
}

TEST_F(EditorTest, AMenuPickOverTheTimeAxisDoesNotAlsoEditIt) {
    addNamed(set, 40);
    startEditor();
    move(0.4f, 0.955f);
    move(0.4f, rowY(39));  // the open menu hangs down over the waveform
    ASSERT_TRUE(editor->controllersMenu.open);
    send(WM_LBUTTONDOWN, 0.4f, rowY(39));
    EXPECT_EQ(editor->current, set.at(39));
    EXPECT_FALSE(editor->zoomDragging);
}

TEST_F(EditorTest, MenusFollowTheMouseAndSeparatorsAreNeverPicked) {
    set.get("a")->addKey(1.0f, 0.5f);
    startEditor();
    MenuList& menu = editor->workspaceMenu;
    move(0.05f, 0.5f);
    EXPECT_FALSE(menu.open);
    move(0.05f, 0.955f);  // the title
    EXPECT_TRUE(menu.open);
    move(0.05f, rowY(6));
    EXPECT_EQ(menu.hoveredId, WORKSPACE_HELP);
    for (int row : {1, 3, 5}) {
        SCOPED_TRACE(row);
        leftClick(0.05f, rowY(row));
        EXPECT_EQ(menu.hoveredId, MENU_NONE);
        EXPECT_TRUE(menu.open);
    }
    EXPECT_FALSE(std::filesystem::exists("data/demosynch.dat"));
    move(0.05f, 0.95f - 7.0f / 50.0f - 0.01f);  // below the last row
    EXPECT_FALSE(menu.open);
    move(0.05f, 0.955f);
    move(0.2f, rowY(1));  // right of the column
    EXPECT_FALSE(menu.open);
    // The row above a separator is a real command.
    pickWorkspace(0);
    EXPECT_TRUE(std::filesystem::exists("data/demosynch.dat"));
    EXPECT_FALSE(menu.open);
}

TEST_F(EditorTest, TransportButtonsSwitchPauseAndPlayAndRecordMode) {
    set.get("a");
    startEditor();
    leftClick(0.943f, BUTTON_ROW);
    EXPECT_EQ(rt.state, RuntimeState::Paused);
    leftClick(0.91f, BUTTON_ROW);
    EXPECT_EQ(rt.state, RuntimeState::Playing);
    leftClick(0.976f, BUTTON_ROW);
    EXPECT_TRUE(editor->recordMode);
    EXPECT_EQ(snapshotFiles(), 0u);
    leftClick(0.976f, BUTTON_ROW);
    EXPECT_FALSE(editor->recordMode);
    EXPECT_EQ(editor->history.undoList.size(), 1u);  // switching record mode off keeps a snapshot
    // A show that has ended is not brought back by the play button.
    rt.state = RuntimeState::Quit;
    leftClick(0.91f, BUTTON_ROW);
    EXPECT_EQ(rt.state, RuntimeState::Quit);
}

TEST_F(EditorTest, TheMouseMapsThroughTheLetterboxedViewport) {
    set.get("a");
    startEditor();
    // A picture 800 x 400 with bars of 100 at the sides and 50 above and below.
    glViewport(100, 50, 800, 400);
    editor->handleMessage(WM_MOUSEMOVE, 0, makeMouseLParam(500, 150));
    EXPECT_FLOAT_EQ(editor->mouseX, 0.5f);
    EXPECT_FLOAT_EQ(editor->mouseY, 0.75f);
    EXPECT_EQ(editor->statusLine, "0.50 0.75 - 0");
    EXPECT_FALSE(editor->cursorLine);
    editor->handleMessage(WM_MOUSEMOVE, 0, makeMouseLParam(100, 350));
    EXPECT_FLOAT_EQ(editor->mouseX, 0.0f);
    EXPECT_FLOAT_EQ(editor->mouseY, 0.25f);
    EXPECT_TRUE(editor->cursorLine);  // over the time axis
}

}  // namespace
}  // namespace orvotest
