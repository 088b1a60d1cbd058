#include "letters.h"

#include <algorithm>

#include "glyph_text.h"

namespace zelFramework::scenegen {

std::vector<LetterMesh> extrudeLine(const std::string& text, float em, float depth, Vec3 baselineCentre,
                                    bool faceNegativeZ) {
    std::vector<LetterMesh> out;
    TextLine line;
    if (!layoutTextLine(text, line)) return out;
    Mat4 place = Mat4::translation(baselineCentre);
    if (faceNegativeZ) place = place * Mat4::rotationY(180);
    place = place * Mat4::scaling({em, em, 1}) * Mat4::translation({-line.width * 0.5f, 0, 0});
    for (const GlyphShape& g : line.glyphs) {
        LetterMesh letter;
        letter.character = g.character;
        letter.mesh.append(makeExtrusion(g.contours, depth), place);
        Vec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
        for (Vec3 p : letter.mesh.positions) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
        letter.centre = (lo + hi) * 0.5f;
        out.push_back(std::move(letter));
    }
    return out;
}

}  // namespace zelFramework::scenegen
