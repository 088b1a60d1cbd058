#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace zelFramework::content {

namespace {

struct FontLibrary {
    FT_Library library = nullptr;
    std::map<Face, FT_Face> faces;

    FontLibrary() { FT_Init_FreeType(&library); }
    ~FontLibrary()
    {
        for (auto& [face, handle] : faces)
            FT_Done_Face(handle);
        FT_Done_FreeType(library);
    }

    FT_Face get(Face face)
    {
        auto it = faces.find(face);
        if (it != faces.end())
            return it->second;
        FT_Face handle = nullptr;
        std::string path = facePath(face);
        if (!library || FT_New_Face(library, path.c_str(), 0, &handle) != 0) {
            std::fprintf(stderr, "content: cannot open font %s\n", path.c_str());
            handle = nullptr;
        }
        faces[face] = handle;
        return handle;
    }
};

FontLibrary& fonts()
{
    static FontLibrary instance;
    return instance;
}

std::vector<uint32_t> decodeUtf8(const std::string& s)
{
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = c;
        int extra = 0;
        if (c >= 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else if (c >= 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if (c >= 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        }
        ++i;
        for (int k = 0; k < extra && i < s.size(); ++k, ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
        out.push_back(cp);
    }
    return out;
}

FT_Face sizedFace(const TextStyle& style)
{
    FT_Face face = fonts().get(style.face);
    if (face)
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::lround(std::max(style.size, 1.0f))));
    return face;
}

// Walks the glyphs of a string, calling visit(glyph slot, pen x) for each rendered glyph.
template <typename Visit>
float layout(FT_Face face, const std::vector<uint32_t>& codes, const TextStyle& style, bool render, Visit visit)
{
    float pen = 0;
    FT_UInt previous = 0;
    bool kerning = FT_HAS_KERNING(face);
    for (uint32_t cp : codes) {
        FT_UInt index = FT_Get_Char_Index(face, cp);
        if (kerning && previous && index) {
            FT_Vector delta;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &delta);
            pen += delta.x / 64.0f;
        }
        if (FT_Load_Glyph(face, index, render ? FT_LOAD_RENDER : FT_LOAD_DEFAULT) != 0)
            continue;
        if (render)
            visit(face->glyph, pen);
        pen += face->glyph->advance.x / 64.0f + style.tracking;
        previous = index;
    }
    if (!codes.empty())
        pen -= style.tracking;
    return pen;
}

}  // namespace

std::string facePath(Face face)
{
    const char* dir = std::getenv("ORVO_FONT_DIR");
    std::string base = dir ? dir : "/usr/share/fonts/truetype/dejavu";
    switch (face) {
    case Face::Sans: return base + "/DejaVuSans.ttf";
    case Face::SansBold: return base + "/DejaVuSans-Bold.ttf";
    case Face::Mono: return base + "/DejaVuSansMono.ttf";
    case Face::MonoBold: return base + "/DejaVuSansMono-Bold.ttf";
    case Face::Serif: return base + "/DejaVuSerif.ttf";
    case Face::SerifBold: return base + "/DejaVuSerif-Bold.ttf";
    }
    return base + "/DejaVuSans.ttf";
}

float measureText(const std::string& text, const TextStyle& style)
{
    FT_Face face = sizedFace(style);
    if (!face)
        return 0;
    return layout(face, decodeUtf8(text), style, false, [](FT_GlyphSlot, float) {});
}

float drawText(Image& img, const std::string& text, float x, float y, const TextStyle& style, const Paint& paint)
{
    FT_Face face = sizedFace(style);
    if (!face)
        return 0;
    auto codes = decodeUtf8(text);
    float width = layout(face, codes, style, false, [](FT_GlyphSlot, float) {});
    float left = x;
    if (style.align == Align::Centre)
        left = x - width * 0.5f;
    else if (style.align == Align::Right)
        left = x - width;
    // Whole-pixel origin keeps stems crisp; FreeType already hints to the pixel grid.
    int ox = static_cast<int>(std::lround(left)), oy = static_cast<int>(std::lround(y));
    layout(face, codes, style, true, [&](FT_GlyphSlot g, float pen) {
        const FT_Bitmap& bm = g->bitmap;
        int gx = ox + static_cast<int>(std::lround(pen)) + g->bitmap_left;
        int gy = oy - g->bitmap_top;
        for (unsigned row = 0; row < bm.rows; ++row)
            for (unsigned col = 0; col < bm.width; ++col) {
                unsigned char v = bm.buffer[row * bm.pitch + col];
                if (v == 0)
                    continue;
                int px = gx + static_cast<int>(col), py = gy + static_cast<int>(row);
                blendPixel(img, px, py, paint(px + 0.5f, py + 0.5f), v / 255.0f);
            }
    });
    return width;
}

float fitSize(const std::string& text, TextStyle style, float maxWidth)
{
    float w = measureText(text, style);
    if (w <= maxWidth || w <= 0)
        return style.size;
    return std::floor(style.size * maxWidth / w);
}

}  // namespace zelFramework::content
