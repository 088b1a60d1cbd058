// Bitmap fonts for text in the window: FreeType renders DejaVu Sans at a chosen pixel size into 96
// display lists (glBitmap) for the character codes 32 to 127; drawText needs only the list base.
#pragma once

#include <GL/glew.h>

#include <string>

namespace zelFramework {

constexpr int FONT_FIRST_CODE = 32;
constexpr int FONT_CODE_COUNT = 96;

struct BitmapFont {
    std::string name;           // face name, for messages
    GLuint listBase = 0;        // display list of code 32; 0 when the font could not be made
    int pixelSize = 0;          // requested face size in pixels
    int ascent = 0;             // pixels above the baseline
    int descent = 0;            // pixels below the baseline (positive)
    int advance[FONT_CODE_COUNT] = {};  // horizontal advance of each code, in pixels

    bool valid() const { return listBase != 0; }
    // Width in pixels of `text` drawn with this font (codes outside 32..127 count as nothing).
    int textWidth(const char* text) const;
};

// Where the DejaVu Sans face is looked for (the usual Debian location unless overridden).
std::string defaultFontPath();

// Makes the display lists of `font` from the face at `fontPath` (defaultFontPath() when empty) at
// `pixelSize`. Needs a current context. On failure logs an ERROR and leaves the font invalid.
bool createBitmapFont(BitmapFont& font, int pixelSize, const std::string& fontPath = std::string());
// Deletes the display lists.
void releaseBitmapFont(BitmapFont& font);

}  // namespace zelFramework
