// Words as outlines: FreeType glyph outlines of a DejaVu face, flattened into polygons, laid out
// along a line. The extruded letters of the title scenes and the logo are built from these.
#pragma once

#include <string>
#include <vector>

#include "mesh.h"

namespace zelFramework::scenegen {

struct GlyphShape {
    char character = 0;
    std::vector<Contour> contours;  // in text units: the em height is 1, baseline at y = 0
    float left = 0, right = 0;      // horizontal extent of the outline
};

struct TextLine {
    std::vector<GlyphShape> glyphs;  // visible characters only (spaces advance but make no glyph)
    float width = 0;                 // advance width of the whole line
};

// Lays out `text` in the bold sans face. False (with an empty line) when the font cannot be opened.
bool layoutTextLine(const std::string& text, TextLine& line, float tracking = 0.02f);

// Path of the bold DejaVu face; ORVO_FONT_DIR moves the folder on unusual machines.
std::string boldFacePath();

}  // namespace zelFramework::scenegen
