#include "sync/editor/button_group.h"

#include "gl/texture.h"
#include "sync/editor/editor_gl.h"

namespace zelFramework {

namespace {

void drawButton(const ImageButton& button, float ox, float oy) {
    const float x0 = ox + button.x - 0.005f, y0 = oy + button.y - 0.005f;
    const float x1 = ox + button.x + 0.03f, y1 = oy + button.y + 0.06f;
    if (!button.texture) {
        // A missing picture still leaves the button visible and usable.
        fillRect(x0, y0, x1, y1, {0.5f, 0.5f, 0.5f, 0.8f});
        return;
    }
    glEnable(GL_TEXTURE_2D);
    button.texture->bind(GL_TEXTURE0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f), glVertex2f(x0, y0);
    glTexCoord2f(1.0f, 0.0f), glVertex2f(x1, y0);
    glTexCoord2f(1.0f, 1.0f), glVertex2f(x1, y1);
    glTexCoord2f(0.0f, 1.0f), glVertex2f(x0, y1);
    glEnd();
    button.texture->unbind();
    glDisable(GL_TEXTURE_2D);
}

}  // namespace

void ButtonGroup::draw(float x, float y) {
    setOffset(x, y);
    beginBlend();
    for (const ImageButton& button : buttons) drawButton(button, offsetX, offsetY);
    endBlend();
}

int32_t ButtonGroup::hitTest(float mouseX, float mouseY) const {
    for (const ImageButton& button : buttons) {
        const float dx = mouseX - (offsetX + button.x), dy = mouseY - (offsetY + button.y);
        if (dx >= 0.0f && dx <= 0.025f && dy >= 0.0f && dy <= 0.05f) return button.id;
    }
    return BUTTON_NONE;
}

}  // namespace zelFramework
