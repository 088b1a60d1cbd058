// A row of picture buttons of the timeline editor, placed relative to a drawing offset: the segment
// shape and end buttons follow the selected segment, the transport buttons sit at a fixed place.
#pragma once

#include <cstdint>
#include <vector>

namespace zelFramework {

class GL_Texture;

constexpr int32_t BUTTON_NONE = -1;

struct ImageButton {
    float x = 0.0f, y = 0.0f;
    GL_Texture* texture = nullptr;  // belongs to the texture registry; null when the picture is missing
    int32_t id = BUTTON_NONE;
};

class ButtonGroup {
public:
    std::vector<ImageButton> buttons;
    float offsetX = 0.0f, offsetY = 0.0f;  // of the last draw; hit tests use it

    void add(int32_t id, GL_Texture* texture, float x, float y) { buttons.push_back({x, y, texture, id}); }
    void setOffset(float x, float y) {
        offsetX = x;
        offsetY = y;
    }
    void draw(float x, float y);
    // The id of the first button under the mouse, or -1.
    int32_t hitTest(float mouseX, float mouseY) const;
};

}  // namespace zelFramework
