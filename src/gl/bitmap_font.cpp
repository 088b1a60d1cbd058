// Bitmap fonts: FreeType renders each character once into a glBitmap display list.
#include "gl/bitmap_font.h"

#include "app/trace.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <vector>

namespace zelFramework {
namespace {

constexpr const char* TAG = "fontLoader";

// glBitmap wants rows bottom-up, most significant bit first; FreeType's monochrome bitmaps are top-down
// with a pitch that may carry padding (or be negative for bottom-up sources).
std::vector<GLubyte> bottomUpRows(const FT_Bitmap& bitmap) {
    int rowBytes = (int(bitmap.width) + 7) / 8;
    std::vector<GLubyte> rows(size_t(rowBytes) * bitmap.rows);
    for (unsigned int row = 0; row < bitmap.rows; ++row) {
        const unsigned char* src = bitmap.pitch >= 0 ? bitmap.buffer + size_t(row) * size_t(bitmap.pitch)
                                                      : bitmap.buffer + size_t(bitmap.rows - 1 - row) * size_t(-bitmap.pitch);
        GLubyte* dst = rows.data() + size_t(bitmap.rows - 1 - row) * size_t(rowBytes);
        for (int i = 0; i < rowBytes; ++i)
            dst[i] = src[i];
    }
    return rows;
}

void compileGlyph(FT_Face face, int code, GLuint list, BitmapFont& font) {
    glNewList(list, GL_COMPILE);
    if (FT_Load_Char(face, FT_ULong(code), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) == 0) {
        FT_GlyphSlot glyph = face->glyph;
        float advance = float(glyph->advance.x >> 6);
        font.advance[code - FONT_FIRST_CODE] = int(advance);
        const FT_Bitmap& bitmap = glyph->bitmap;
        if (bitmap.width > 0 && bitmap.rows > 0 && bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            std::vector<GLubyte> rows = bottomUpRows(bitmap);
            glBitmap(GLsizei(bitmap.width), GLsizei(bitmap.rows), float(-glyph->bitmap_left),
                     float(int(bitmap.rows) - glyph->bitmap_top), advance, 0.0f, rows.data());
        } else {
            glBitmap(0, 0, 0.0f, 0.0f, advance, 0.0f, nullptr);
        }
    }
    glEndList();
}

}  // namespace

std::string defaultFontPath() { return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"; }

int BitmapFont::textWidth(const char* text) const {
    int total = 0;
    for (const char* p = text; p && *p; ++p) {
        int c = static_cast<unsigned char>(*p);
        if (c >= FONT_FIRST_CODE && c < FONT_FIRST_CODE + FONT_CODE_COUNT)
            total += advance[c - FONT_FIRST_CODE];
    }
    return total;
}

bool createBitmapFont(BitmapFont& font, int pixelSize, const std::string& fontPath) {
    std::string path = fontPath.empty() ? defaultFontPath() : fontPath;
    font = BitmapFont();
    font.pixelSize = pixelSize;

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        trace(TRACE_ERROR, TAG, "unable to start the font library");
        return false;
    }
    FT_Face face = nullptr;
    if (pixelSize <= 0 || FT_New_Face(library, path.c_str(), 0, &face) != 0 ||
        FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) {
        trace(TRACE_ERROR, TAG, "unable to load the font %s at %d pixels", path.c_str(), pixelSize);
        if (face)
            FT_Done_Face(face);
        FT_Done_FreeType(library);
        return false;
    }
    font.name = std::string(face->family_name ? face->family_name : "?") + " " + std::to_string(pixelSize);
    font.ascent = int(face->size->metrics.ascender >> 6);
    font.descent = int(-(face->size->metrics.descender >> 6));

    GLuint base = glGenLists(FONT_CODE_COUNT);
    if (base != 0) {
        // The bitmaps are copied into the lists at compile time under the current unpack state.
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
        for (int i = 0; i < FONT_CODE_COUNT; ++i)
            compileGlyph(face, FONT_FIRST_CODE + i, base + GLuint(i), font);
        glPopClientAttrib();
    } else {
        trace(TRACE_ERROR, TAG, "no display lists left for the font %s", font.name.c_str());
    }
    font.listBase = base;
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return base != 0;
}

void releaseBitmapFont(BitmapFont& font) {
    if (font.listBase)
        glDeleteLists(font.listBase, FONT_CODE_COUNT);
    font.listBase = 0;
}

}  // namespace zelFramework
