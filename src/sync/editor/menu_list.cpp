#include "sync/editor/menu_list.h"

#include "gl/gltk.h"
#include "sync/editor/editor_gl.h"

namespace zelFramework {

void MenuList::place(float menuX, float menuY, float menuWidth) {
    x = menuX;
    y = menuY;
    width = menuWidth;
}

size_t MenuList::rowsPerColumn() const {
    // Rows go down to just above the bottom edge of the picture.
    const float room = y - 0.01f;
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
float MenuList::columnX(size_t entry) const { return x + float(entry / rowsPerColumn()) * width; }

void MenuList::drawRowHighlight(int32_t id, float r, float g, float b, float alpha) const {
    if (id == MENU_NONE) return;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].id != id) continue;
        const float left = columnX(i);
        fillRectHorizontal(left - 0.005f, rowBottom(i), left + width - 0.001f, rowTop(i), {r, g, b, alpha}, {r, g, b, 0.05f});
        return;
    }
}

void MenuList::draw(const BitmapFont& font, const char* title, int32_t markedId, float menuX, float menuY,
                    float menuWidth) {
    place(menuX, menuY, menuWidth);
    const int rows = rowCount();
    beginBlend();
    glDisable(GL_TEXTURE_2D);
    const float bottom = y - rowHeight / 2.0f - float(rows) * rowHeight;
    const float right = x + width * float(open ? columnCount() : 1);
    const float top = y + rowHeight * 1.25f;
    fillRect(x - 0.005f, bottom, right, top, {0.0f, 0.0f, 0.0f, 0.65f});
    outlineRect(x - 0.005f, bottom, right, top, {0.8f, 0.8f, 0.8f, 0.65f});
    if (open) {
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
    const float dx = mouseX - x;
    if (!open) {
        const float dy = mouseY - y;
        if (dx >= 0.0f && dx <= width && dy >= -rowHeight / 2.0f && dy <= rowHeight * 1.25f) open = true;
        return;
    }
    hoveredId = hitTest(mouseX, mouseY);
    const bool overColumns = dx >= 0.0f && dx <= width * float(columnCount());
    if (!overColumns || mouseY < y - float(rowCount()) * rowHeight - rowHeight / 4.0f) {
        open = false;
        hoveredId = MENU_NONE;
    }
}

int32_t MenuList::hitTest(float mouseX, float mouseY) const {
    if (!open || mouseX < x) return MENU_NONE;
    // The column under the mouse; a single column reaches to the right edge, as it always has.
    const size_t column = width > 0.0f ? std::min(size_t((mouseX - x) / width), columnCount() - 1) : 0;
    const size_t per = rowsPerColumn();
    for (size_t i = column * per; i < entries.size() && i < (column + 1) * per; ++i)
        if (mouseY >= rowBottom(i) && mouseY <= rowTop(i)) return entries[i].id;
    return MENU_NONE;
}

}  // namespace zelFramework
