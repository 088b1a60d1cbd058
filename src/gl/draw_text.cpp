// printf-style text through the display lists of a bitmap font.
#include "gl/bitmap_font.h"
#include "gl/gltk.h"

#include <cstdarg>
#include <cstdio>

namespace zelFramework {

void drawText(GLuint fontBase, float x, float y, float r, float g, float b, float a, const char* format, ...) {
    if (fontBase == 0 || !format)  // a font that could not be made draws nothing
        return;
    char text[4096];
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (written <= 0)
        return;

    // Only codes 32 to 127 have lists in the font; any other byte would call whatever list happens to
    // sit at that number (another font's, or a model's), so it is dropped.
    unsigned char codes[sizeof text];
    GLsizei count = 0;
    for (const char* p = text; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c >= FONT_FIRST_CODE && c < FONT_FIRST_CODE + FONT_CODE_COUNT)
            codes[count++] = c;
    }

    glColor4f(r, g, b, a);
    glRasterPos2f(x, y);
    glPushAttrib(GL_LIST_BIT);
    glListBase(fontBase - FONT_FIRST_CODE);
    glCallLists(count, GL_UNSIGNED_BYTE, codes);
    glPopAttrib();
}

}  // namespace zelFramework
