#pragma once
// Text set with FreeType from the DejaVu faces Debian installs, drawn with anti-aliased coverage.
#include <memory>
#include <string>

#include "draw.h"

namespace zelFramework::content {

enum class Face { Sans, SansBold, Mono, MonoBold, Serif, SerifBold };
enum class Align { Left, Centre, Right };

struct TextStyle {
    Face face = Face::Sans;
    float size = 32.0f;      // pixel height of the em square
    float tracking = 0.0f;   // extra advance after every character, in pixels
    Align align = Align::Left;
};

// Path of the font file of a face; the folder can be moved with ORVO_FONT_DIR for unusual machines.
std::string facePath(Face face);

// Width in pixels of a UTF-8 string in the given style.
float measureText(const std::string& text, const TextStyle& style);
// Draws a UTF-8 string with its baseline at y; x is the left, centre or right edge by the alignment.
// Returns the drawn width. A missing font file is reported on stderr and nothing is drawn.
float drawText(Image& img, const std::string& text, float x, float y, const TextStyle& style, const Paint& paint);
// Largest size at most `size` at which the text fits into maxWidth.
float fitSize(const std::string& text, TextStyle style, float maxWidth);

}  // namespace zelFramework::content
