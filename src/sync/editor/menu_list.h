// A drop-down text menu of the timeline editor: a title that opens under the mouse into rows of
// 1/50 of the screen (or the font's height), each with a text and an id. Id -1 marks a separator that can never be picked.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "gl/bitmap_font.h"

namespace zelFramework {

constexpr int32_t MENU_NONE = -1;
constexpr float MENU_ROW_HEIGHT = 1.0f / 50.0f;

struct MenuEntry {
    std::string text;
    int32_t id = MENU_NONE;
};

class MenuList {
public:
    std::vector<MenuEntry> entries;
    float x = 0.0f, y = 0.0f, width = 0.0f;  // the header, of the last draw (or placement)
    // The open list's columns: as wide as the header or the widest entry, and moved left from under
    // the header as far as it takes to end inside the picture.
    float listX = 0.0f, columnWidth = 0.0f;
    bool open = false;
    int32_t hoveredId = MENU_NONE;
    int32_t compareMark = MENU_NONE;  // the row of the compare controller
    // Row height in the normalised space: 1/50, or more when the font needs it. Rows that would run
    // below the bottom of the picture continue in a further column to the right.
    float rowHeight = MENU_ROW_HEIGHT;

    void add(int32_t id, const std::string& text) { entries.push_back({text, id}); }
    // Where the menu sits before it is first drawn, so input works from the start.
    void place(float menuX, float menuY, float menuWidth);
    // Sizes the list's columns for the entries' texts in `font` on a picture `pictureWidth` wide.
    void fitList(const BitmapFont& font, int pictureWidth);
    // The header, and the rows when open; `markedId` gets the red row (-1 for none). Places the
    // header and fits the list first.
    void draw(const BitmapFont& font, const char* title, int32_t markedId, float menuX, float menuY, float menuWidth,
              int pictureWidth);
    // Opens, follows and closes the menu with the mouse.
    void hover(float mouseX, float mouseY);
    // The id of the row under the mouse of an open menu, or -1 (closed, outside, or a separator).
    int32_t hitTest(float mouseX, float mouseY) const;

    int rowCount() const { return open ? int(std::min(entries.size(), rowsPerColumn())) : 0; }
    size_t rowsPerColumn() const;
    size_t columnCount() const;

private:
    float rowTop(size_t entry) const;
    float rowBottom(size_t entry) const;
    float columnX(size_t entry) const;
    void drawRowHighlight(int32_t id, float r, float g, float b, float alpha) const;
};

}  // namespace zelFramework
