// The editor's menus and help laid out on the picture of a 640 x 360 window (640 x 280) and of a
// 1280 x 720 one (1280 x 561), with the real fonts: every header holds its title and keeps off its
// neighbour, every open list and the help stay inside the picture and hold their texts, and the
// help shows every key, over pages where the picture is too low for it.
#include "editor_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace orvotest {
namespace {

using namespace zelFramework;

struct Picture {
    int width, height;
};
constexpr Picture PICTURES[] = {{640, 280}, {1280, 561}};

class EditorLayoutTest : public EditorTest {
protected:
    void showPicture(const Picture& p) {
        for (int i = 0; i < 45; ++i) set.get("Glitch: strip translation " + std::to_string(i));
        glViewport(0, 0, p.width, p.height);
        startEditor();
        editor->draw();
    }
    // A mouse move to (x, y) of a picture drawn into the whole viewport.
    void moveOn(const Picture& p, float x, float y) {
        editor->handleMessage(WM_MOUSEMOVE, 0,
                              makeMouseLParam(int(x * float(p.width)), int((1.0f - y) * float(p.height))));
    }
    float widthOf(const std::string& text, const Picture& p) const {
        return float(editor->smallFont.textWidth(text.c_str())) / float(p.width);
    }
};

TEST_F(EditorLayoutTest, MenuHeadersHoldTheirTitlesAndKeepApart) {
    for (const Picture& p : PICTURES) {
        SCOPED_TRACE(p.width);
        showPicture(p);
        const auto places = menuHeaderPlaces(editor->smallFont, p.width);
        const MenuList* menus[] = {&editor->workspaceMenu, &editor->layersMenu, &editor->controllersMenu,
                                   &editor->controllers2Menu};
        for (size_t i = 0; i < EDITOR_MENU_COUNT; ++i) {
            const MenuList& m = *menus[i];
            EXPECT_FLOAT_EQ(m.x, places[i].x);
            EXPECT_GE(m.width, widthOf(places[i].title, p)) << places[i].title;
            if (i > 0) {
                EXPECT_LT(menus[i - 1]->x + menus[i - 1]->width, m.x) << places[i].title;
            }
        }
        // Left of the transport buttons and the time at 0.9.
        EXPECT_LT(editor->controllers2Menu.x + editor->controllers2Menu.width, 0.9f);
        editor->shutdown();
        editor.reset();
    }
}

TEST_F(EditorLayoutTest, AnOpenListStaysInsideThePictureAndHoldsItsEntries) {
    for (const Picture& p : PICTURES) {
        SCOPED_TRACE(p.width);
        showPicture(p);
        for (MenuList* m : {&editor->controllersMenu, &editor->controllers2Menu, &editor->workspaceMenu}) {
            m->open = true;
            editor->draw();
            EXPECT_GE(m->listX, 0.0f);
            EXPECT_LE(m->listX + m->columnWidth * float(m->columnCount()), 1.0f);
            for (const MenuEntry& e : m->entries) EXPECT_LE(0.01f + widthOf(e.text, p), m->columnWidth) << e.text;
            // Its lowest row stays above the picture's bottom edge.
            EXPECT_GE(m->y - m->rowHeight / 2.0f - float(m->rowsPerColumn()) * m->rowHeight, 0.0f);
            m->open = false;
        }
        editor->shutdown();
        editor.reset();
    }
}

// The open list of CONTROLLERS reaches over the header of CONTROLLERS 2 on the small picture; the
// mouse crossing it must not open that menu on top of it.
TEST_F(EditorLayoutTest, OneMenuOpensAtATime) {
    const Picture small = PICTURES[0];
    showPicture(small);
    MenuList& first = editor->controllersMenu;
    MenuList& second = editor->controllers2Menu;
    moveOn(small, first.x + 0.02f, first.y);
    ASSERT_TRUE(first.open);
    ASSERT_GE(first.columnCount(), 2u);
    ASSERT_GT(first.listX + 2.0f * first.columnWidth, second.x + 0.02f);
    moveOn(small, second.x + 0.02f, second.y - first.rowHeight);  // over the first list's second column
    EXPECT_TRUE(first.open);
    EXPECT_FALSE(second.open);
    // Once the first has closed (the mouse right of its columns), the second opens from its header.
    moveOn(small, 0.99f, 0.5f);
    EXPECT_FALSE(first.open);
    moveOn(small, second.x + second.width - 0.01f, second.y);
    EXPECT_TRUE(second.open);
}

TEST_F(EditorLayoutTest, TheHelpShowsEveryKeyInsideThePicture) {
    for (const Picture& p : PICTURES) {
        SCOPED_TRACE(p.width);
        showPicture(p);
        const HelpLayout help = editor->helpLayout();
        const float headerBottom = editor->workspaceMenu.y - editor->workspaceMenu.rowHeight / 2.0f;
        EXPECT_GE(help.left, 0.0f);
        EXPECT_LE(help.right, 1.0f);
        EXPECT_LT(help.top, headerBottom);
        const float textRight = help.right - HELP_MARGIN;
        std::vector<std::string> keys, effects;
        for (const HelpPage& page : help.pages) {
            EXPECT_GE(page.bottom, 0.0f) << page.title;
            EXPECT_LE(help.left + HELP_MARGIN + widthOf(page.title, p), textRight) << page.title;
            for (const HelpLine& line : page.lines) {
                EXPECT_LE(widthOf(line.keys, p), help.keysWidth) << line.keys;
                EXPECT_LE(help.left + HELP_MARGIN + help.keysWidth + HELP_COLUMN_GAP + widthOf(line.effect, p),
                          textRight + 1e-6f)
                    << line.effect;
                if (!line.keys.empty()) {
                    keys.push_back(line.keys);
                    effects.push_back(line.effect);
                } else {
                    ASSERT_FALSE(effects.empty());
                    effects.back() += " " + line.effect;
                }
            }
        }
        // Every key, in order, with its whole text.
        const auto all = editorKeyHelp();
        ASSERT_EQ(keys.size(), all.size());
        for (size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(keys[i], all[i].keys);
            EXPECT_EQ(effects[i], all[i].effect);
        }
        if (p.height >= 500) {
            EXPECT_EQ(help.pages.size(), 1u);
        }

        // F1 shows each page in turn, then closes the help.
        for (size_t page = 0; page < help.pages.size(); ++page) {
            press(VK_F1);
            release(VK_F1);
            editor->draw();
            EXPECT_TRUE(editor->helpShown);
            EXPECT_EQ(editor->helpPage, page);
            EXPECT_EQ(editor->helpPages, help.pages.size());
        }
        press(VK_F1);
        release(VK_F1);
        EXPECT_FALSE(editor->helpShown);
        editor->shutdown();
        editor.reset();
    }
}

}  // namespace
}  // namespace orvotest
