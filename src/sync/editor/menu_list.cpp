#include "sync/editor/menu_list.h"

#include "gl/gltk.h"
#include "sync/editor/editor_gl.h"

namespace zelFramework {

void MenuList::place(float menuX, float menuY, float menuWidth) {
    x = menuX;
    y = menuY;
    width = menuWidth;
    listX = menuX;
    columnWidth = menuWidth;
}

// Entries are drawn 0.01 in from their column's left edge; the same again keeps them off the next.
void MenuList::fitList(const BitmapFont& font, int pictureWidth) {
    int widest = 0;
    for (const MenuEntry& e : entries) widest = std::max(widest, font.textWidth(e.text.c_str()));
    columnWidth = std::max(width, 0.02f + float(widest) / float(std::max(pictureWidth, 1)));
    const float listWidth = columnWidth * float(columnCount());
    listX = std::max(0.005f, std::min(x, 0.995f - listWidth));
}

size_t MenuList::rowsPerColumn() const {
    // Rows go down to just above the bottom edge of the picture, under the header's box.
    const float room = y - rowHeight / 2.0f - 0.005f;
    return std::max<size_t>(1, size_t(room > 0.0f ? room / rowHeight : 1.0f));
}

size_t MenuList::columnCount() const {
    const size_t per = rowsPerColumn();
    return std::max<size_t>(1, (entries.size() + per - 1) / per);
}

// A row reaches a quarter of its height past its edges on both sides (0.005 of 1/50), so
// neighbouring rows share a thin band.
float MenuList::rowTop(size_t entry) const {
    const size_t row = entry % rowsPerColumn();
    return y - float(row) * rowHeight + rowHeight / 4.0f;
}
float MenuList::rowBottom(size_t entry) const {
    const size_t row = entry % rowsPerColumn();
    return y - float(row + 1) * rowHeight - rowHeight / 4.0f;
}
float MenuList::columnX(size_t entry) const { return listX + float(entry / rowsPerColumn()) * columnWidth; }

void MenuList::drawRowHighlight(int32_t id, float r, float g, float b, float alpha) const {
    if (id == MENU_NONE) return;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].id != id) continue;
        const float left = columnX(i);
        fillRectHorizontal(left - 0.005f, rowBottom(i), left + columnWidth - 0.001f, rowTop(i), {r, g, b, alpha},
                           {r, g, b, 0.05f});
        return;
    }
}

void MenuList::draw(const BitmapFont& font, const char* title, int32_t markedId, float menuX, float menuY,
                    float menuWidth, int pictureWidth) {
    place(menuX, menuY, menuWidth);
    fitList(font, pictureWidth);
    const int rows = rowCount();
    beginBlend();
    glDisable(GL_TEXTURE_2D);
    const float headerBottom = y - rowHeight / 2.0f;
    const float top = y + rowHeight * 1.25f;
    const EditorColor fill{0.0f, 0.0f, 0.0f, 0.65f}, outline{0.8f, 0.8f, 0.8f, 0.65f};
    fillRect(x - 0.005f, headerBottom, x + width, top, fill);
    outlineRect(x - 0.005f, headerBottom, x + width, top, outline);
    if (open) {
        const float bottom = headerBottom - float(rows) * rowHeight;
        const float right = listX + columnWidth * float(columnCount());
        fillRect(listX - 0.005f, bottom, right, headerBottom, fill);
        outlineRect(listX - 0.005f, bottom, right, headerBottom, outline);
        drawRowHighlight(markedId, 1.0f, 0.1f, 0.1f, 0.4f);
        drawRowHighlight(hoveredId, 0.5f, 0.5f, 0.5f, 0.6f);
        drawRowHighlight(compareMark, 0.5f, 0.5f, 0.1f, 0.6f);
    }
    drawText(font.listBase, x, y, 1.0f, 1.0f, 1.0f, 1.0f, "%s", title);
    if (open)
        for (size_t i = 0; i < entries.size(); ++i)
            drawText(font.listBase, columnX(i) + 0.01f, rowBottom(i) + rowHeight / 4.0f + rowHeight * 0.2f, 1.0f, 1.0f,
                     1.0f, 1.0f, "%s", entries[i].text.c_str());
    endBlend();
}

void MenuList::hover(float mouseX, float mouseY) {
    if (!open) {
        const float dx = mouseX - x, dy = mouseY - y;
        if (dx >= 0.0f && dx <= width && dy >= -rowHeight / 2.0f && dy <= rowHeight * 1.25f) open = true;
        return;
    }
    hoveredId = hitTest(mouseX, mouseY);
    const bool overHeader = mouseX >= x && mouseX <= x + width;
    const bool overList = mouseX >= listX && mouseX <= listX + columnWidth * float(columnCount());
    if (!(overHeader || overList) || mouseY < y - float(rowCount()) * rowHeight - rowHeight / 4.0f) {
        open = false;
        hoveredId = MENU_NONE;
    }
}

int32_t MenuList::hitTest(float mouseX, float mouseY) const {
    if (!open || mouseX < listX) return MENU_NONE;
    // The column under the mouse; a single column reaches to the right edge, as it always has.
    const size_t column = columnWidth > 0.0f ? std::min(size_t((mouseX - listX) / columnWidth), columnCount() - 1) : 0;
    const size_t per = rowsPerColumn();
    for (size_t i = column * per; i < entries.size() && i < (column + 1) * per; ++i)
        if (mouseY >= rowBottom(i) && mouseY <= rowTop(i)) return entries[i].id;
    return MENU_NONE;
}

}  // namespace zelFramework
