// Small drawing helpers of the timeline editor. Everything the editor draws lives in one normalised
// space: 0 to 1 on both axes, origin at the bottom left, whatever the window's size.
#pragma once

#include <GL/glew.h>

namespace zelFramework {

struct EditorColor {
    float r = 1.0f, g = 1.0f, b = 1.0f, a = 1.0f;
};

// Pushes both matrices and makes the normalised space current.
void pushNormalisedSpace();
// Puts back the matrices pushNormalisedSpace saved.
void popNormalisedSpace();

void setColor(const EditorColor& c);
// A line from (x0, y0) to (x1, y1), one colour.
void drawLine(float x0, float y0, float x1, float y1, const EditorColor& c);
// A vertical line at x whose colour runs from `bottom` (at y0) to `top` (at y1).
void drawVerticalLine(float x, float y0, float y1, const EditorColor& bottom, const EditorColor& top);
// A filled rectangle in one colour.
void fillRect(float x0, float y0, float x1, float y1, const EditorColor& c);
// A filled rectangle whose colour runs from `bottom` (at y0) to `top` (at y1).
void fillRectVertical(float x0, float y0, float x1, float y1, const EditorColor& bottom, const EditorColor& top);
// A filled rectangle whose colour runs from `left` (at x0) to `right` (at x1).
void fillRectHorizontal(float x0, float y0, float x1, float y1, const EditorColor& left, const EditorColor& right);
void outlineRect(float x0, float y0, float x1, float y1, const EditorColor& c);

// Blending with the source alpha, for the editor's translucent panels.
void beginBlend();
void endBlend();

}  // namespace zelFramework
