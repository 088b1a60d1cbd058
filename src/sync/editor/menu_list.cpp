#include "sync/editor/menu_list.h"

#include "gl/gltk.h"
#include "sync/editor/editor_gl.h"

namespace zelFramework {

void MenuList::place(float menuX, float menuY, float menuWidth) {
    x = menuX;
    y = menuY;
    width = menuWidth;
}

// A row reaches a little past its 1/50 on both sides, so neighbouring rows share a thin band.
float MenuList::rowTop(size_t row) const { return y - float(row) * MENU_ROW_HEIGHT + 0.005f; }
float MenuList::rowBottom(size_t row) const { return y - float(row + 1) * MENU_ROW_HEIGHT - 0.005f; }

void MenuList::drawRowHighlight(int32_t id, float r, float g, float b, float alpha) const {
    if (id == MENU_NONE) return;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].id != id) continue;
        fillRectHorizontal(x - 0.005f, rowBottom(i), x + width - 0.001f, rowTop(i), {r, g, b, alpha}, {r, g, b, 0.05f});
        return;
    }
}

void MenuList::draw(const BitmapFont& font, const char* title, int32_t markedId, float menuX, float menuY,
                    float menuWidth) {
    place(menuX, menuY, menuWidth);
    const int rows = rowCount();
    beginBlend();
    glDisable(GL_TEXTURE_2D);
    const float bottom = y - 0.01f - float(rows) * MENU_ROW_HEIGHT;
    fillRect(x - 0.005f, bottom, x + width, y + 0.025f, {0.0f, 0.0f, 0.0f, 0.65f});
    outlineRect(x - 0.005f, bottom, x + width, y + 0.025f, {0.8f, 0.8f, 0.8f, 0.65f});
    if (open) {
        drawRowHighlight(markedId, 1.0f, 0.1f, 0.1f, 0.4f);
        drawRowHighlight(hoveredId, 0.5f, 0.5f, 0.5f, 0.6f);
        drawRowHighlight(compareMark, 0.5f, 0.5f, 0.1f, 0.6f);
    }
    drawText(font.listBase, x, y, 1.0f, 1.0f, 1.0f, 1.0f, "%s", title);
    for (int i = 0; i < rows; ++i)
        drawText(font.listBase, x + 0.01f, y - float(i + 1) * MENU_ROW_HEIGHT, 1.0f, 1.0f, 1.0f, 1.0f, "%s",
                 entries[size_t(i)].text.c_str());
    endBlend();
}

void MenuList::hover(float mouseX, float mouseY) {
    const float dx = mouseX - x;
    const bool overColumn = dx >= 0.0f && dx <= width;
    if (!open) {
        const float dy = mouseY - y;
        if (overColumn && dy >= -0.01f && dy <= 0.025f) open = true;
        return;
    }
    hoveredId = hitTest(mouseX, mouseY);
    if (!overColumn || mouseY < y - float(rowCount()) * MENU_ROW_HEIGHT - 0.005f) {
        open = false;
        hoveredId = MENU_NONE;
    }
}

int32_t MenuList::hitTest(float mouseX, float mouseY) const {
    if (!open || mouseX < x) return MENU_NONE;
    for (size_t i = 0; i < entries.size(); ++i)
        if (mouseY >= rowBottom(i) && mouseY <= rowTop(i)) return entries[i].id;
    return MENU_NONE;
}

}  // namespace zelFramework
