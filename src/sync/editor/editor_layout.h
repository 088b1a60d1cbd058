// Where the editor's menus and panels go for a picture of a given size: worked out from the font's
// real text widths in pixels and handed back in the normalised space (0..1 across and up the
// picture), so that no header runs into the next, no panel runs off the picture, and a help that
// is taller than the picture goes on over pages, at any picture size.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "gl/bitmap_font.h"

namespace zelFramework {

struct MenuHeaderPlace {
    const char* title;
    float x, y, width;
};
constexpr size_t EDITOR_MENU_COUNT = 4;  // WORKSPACE, LAYERS, CONTROLLERS, CONTROLLERS 2

// The menu headers from the left: each at its usual place and width where the picture is wide
// enough, else widened to hold its title and moved right of its neighbour.
std::array<MenuHeaderPlace, EDITOR_MENU_COUNT> menuHeaderPlaces(const BitmapFont& font, int pictureWidth);

// The x at which a text of `textPixels` starts: `preferred`, or further left so that it ends inside
// the picture (never left of its edge).
float keepInsideRight(float preferred, int textPixels, int pictureWidth);

struct KeyHelp {
    const char* keys;
    const char* effect;
};
// The editor's keys and what each does, as the help lists them.
std::span<const KeyHelp> editorKeyHelp();

struct HelpLine {
    std::string keys;  // empty on the lines that continue an effect
    std::string effect;
};
struct HelpPage {
    std::string title;
    std::vector<HelpLine> lines;
    float bottom = 0.0f;  // of the panel; it spans from there to HelpLayout::top
};
struct HelpLayout {
    float left = 0.0f, right = 0.0f, top = 0.0f;  // the panel's outline (text starts at left + margin)
    float keysWidth = 0.0f;                        // the keys column; the effects start after it and a gap
    float line = 0.0f;                             // one text line
    std::vector<HelpPage> pages;
};

// The help for a picture of `pictureWidth` x `pictureHeight` whose panel may reach up to `top`:
// effects wrapped at spaces to the width there is, and as many pages as the height needs (an
// entry's lines stay together on one page).
HelpLayout layoutHelp(std::span<const KeyHelp> keys, const BitmapFont& font, int pictureWidth, int pictureHeight,
                      float top);

// The gap between the two columns and the margin inside the panel, in the normalised space.
constexpr float HELP_COLUMN_GAP = 0.02f, HELP_MARGIN = 0.01f;

}  // namespace zelFramework
