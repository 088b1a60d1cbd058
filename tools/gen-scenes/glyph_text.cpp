#include "glyph_text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zelFramework::scenegen {
namespace {

constexpr int kUnitsPerEm = 1024;   // char size in 26.6 units handed to FreeType
constexpr int kCurveSteps = 6;      // line segments per quadratic or cubic arc

struct Flattener {
    std::vector<Contour>* out;
    Vec2 pen;
    float scale;
    float shiftX;
    Vec2 map(const FT_Vector* v) const { return {v->x * scale + shiftX, v->y * scale}; }
};

int moveTo(const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    f->out->emplace_back();
    f->pen = f->map(to);
    f->out->back().push_back(f->pen);
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    f->pen = f->map(to);
    f->out->back().push_back(f->pen);
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    Vec2 p0 = f->pen, p1 = f->map(control), p2 = f->map(to);
    for (int i = 1; i <= kCurveSteps; ++i) {
        float t = float(i) / kCurveSteps, u = 1 - t;
        f->out->back().push_back({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                                  u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
    f->pen = p2;
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    Vec2 p0 = f->pen, p1 = f->map(c1), p2 = f->map(c2), p3 = f->map(to);
    for (int i = 1; i <= kCurveSteps; ++i) {
        float t = float(i) / kCurveSteps, u = 1 - t;
        float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        f->out->back().push_back({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
    f->pen = p3;
    return 0;
}

// FreeType closes contours implicitly and repeats points where curves meet; repeated points make
// zero-length walls and leave the tessellator to break ties by memory address, which would make the
// output differ from run to run.
void dropDuplicatePoints(std::vector<Contour>& contours) {
    auto same = [](Vec2 a, Vec2 b) { return std::abs(a.x - b.x) < 1e-5f && std::abs(a.y - b.y) < 1e-5f; };
    for (Contour& c : contours) {
        Contour kept;
        for (Vec2 p : c)
            if (kept.empty() || !same(kept.back(), p)) kept.push_back(p);
        while (kept.size() > 1 && same(kept.front(), kept.back())) kept.pop_back();
        c = std::move(kept);
    }
}

}  // namespace

std::string boldFacePath() {
    const char* dir = std::getenv("ORVO_FONT_DIR");
    std::string folder = dir && *dir ? dir : "/usr/share/fonts/truetype/dejavu";
    return folder + "/DejaVuSans-Bold.ttf";
}

bool layoutTextLine(const std::string& text, TextLine& line, float tracking) {
    line = {};
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib)) return false;
    FT_Face face = nullptr;
    if (FT_New_Face(lib, boldFacePath().c_str(), 0, &face)) {
        std::fprintf(stderr, "gen-scenes: cannot open font %s\n", boldFacePath().c_str());
        FT_Done_FreeType(lib);
        return false;
    }
    FT_Set_Char_Size(face, 0, kUnitsPerEm * 64, 72, 72);
    FT_Outline_Funcs funcs{};
    funcs.move_to = moveTo;
    funcs.line_to = lineTo;
    funcs.conic_to = conicTo;
    funcs.cubic_to = cubicTo;
    float scale = 1.0f / (kUnitsPerEm * 64.0f);
    float penX = 0;
    for (unsigned char ch : text) {
        if (FT_Load_Char(face, ch, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP)) continue;
        if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE && face->glyph->outline.n_contours > 0) {
            GlyphShape g;
            g.character = char(ch);
            Flattener f{&g.contours, {}, scale, penX};
            FT_Outline_Decompose(&face->glyph->outline, &funcs, &f);
            dropDuplicatePoints(g.contours);
            g.left = 1e9f, g.right = -1e9f;
            for (const Contour& c : g.contours)
                for (Vec2 p : c) g.left = std::min(g.left, p.x), g.right = std::max(g.right, p.x);
            line.glyphs.push_back(std::move(g));
        }
        penX += face->glyph->advance.x * scale + tracking;
    }
    line.width = penX - tracking;
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return true;
}

}  // namespace zelFramework::scenegen
