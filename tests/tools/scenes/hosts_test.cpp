// The two hosts on the broadcast deck: models the loader reads, people of the right size with
// heads and hands, lit by the shading their texture coordinates carry, and wearing the clip on
// their shirt fronts where it can be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "assets/obj_parser.h"
#include "host_figure.h"
#include "host_wardrobe.h"
#include "video_frames.h"

using namespace zelFramework;
using namespace zelFramework::scenegen;

namespace {

bool inClip(Vec2 uv) { return uv.x < 0.5f; }

// The cloth whose band holds this (ramp) texture coordinate.
Cloth clothAt(Vec2 uv) {
    for (int c = 0; c < int(Cloth::Count); ++c)
        if (std::fabs(clothUV(Cloth(c), 0.5f).y - uv.y) < 1e-4f) return Cloth(c);
    return Cloth::Count;
}

float luma(const content::Rgba& c) { return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b; }

}  // namespace

TEST(SceneHosts, HostsParseStandAtTheirSizeAndKeepEachTriangleInOnePartOfThePicture) {
    for (Character who : {Character::Pimsel, Character::Tabor}) {
        Mesh m = buildHost(who);
        std::string text = hostObjText(m, "host");
        ObjMesh obj;
        std::string problem;
        ASSERT_TRUE(parseObjText(text.data(), text.size(), obj, &problem)) << problem;
        EXPECT_EQ(obj.vertexCount, 3 * m.triangleCount());
        EXPECT_GT(m.triangleCount(), 4000u);   // smooth at 1280 x 561 close-ups
        EXPECT_LT(m.triangleCount(), 30000u);  // and cheap beside the stadium's 185k
        float top = 0, bottom = 1e9f;
        for (Vec3 p : m.positions) top = std::max(top, p.y), bottom = std::min(bottom, p.y);
        EXPECT_NEAR(bottom, 0, 0.01f);  // feet on the deck
        EXPECT_NEAR(top * 40, 72, 6);   // about 72 units tall at the layer's scale
        for (size_t t = 0; t + 2 < m.indices.size(); t += 3) {
            Vec2 a = m.uvs[m.indices[t]], b = m.uvs[m.indices[t + 1]], c = m.uvs[m.indices[t + 2]];
            for (Vec2 uv : {a, b, c}) {
                ASSERT_GE(uv.x, 0.0f);
                ASSERT_LE(uv.x, 1.0f);
                ASSERT_GE(uv.y, 0.0f);
                ASSERT_LE(uv.y, 1.0f);
            }
            // A triangle that reached from the clip into a ramp, or from one cloth into another,
            // would smear pictures across the body.
            ASSERT_EQ(inClip(a), inClip(b));
            ASSERT_EQ(inClip(a), inClip(c));
            if (!inClip(a)) {
                ASSERT_NE(clothAt(a), Cloth::Count) << a.y;
                ASSERT_EQ(clothAt(a), clothAt(b));
                ASSERT_EQ(clothAt(a), clothAt(c));
            }
        }
    }
}

TEST(SceneHosts, HostsHaveHeadsHandsAndTheClipOnTheirChest) {
    for (Character who : {Character::Pimsel, Character::Tabor}) {
        Mesh m = buildHost(who);
        float top = 0;
        for (Vec3 p : m.positions) top = std::max(top, p.y);
        const Cloth skin = who == Character::Pimsel ? Cloth::SkinLight : Cloth::SkinDeep;
        int faceVertices = 0, handVertices = 0;
        float clipULo = 1, clipUHi = 0, clipVLo = 1, clipVHi = 0;
        float clipYLo = 1e9f, clipYHi = -1e9f, clipZMin = 1e9f;
        for (size_t i = 0; i < m.positions.size(); ++i) {
            Vec3 p = m.positions[i];
            Vec2 uv = m.uvs[i];
            if (inClip(uv)) {
                clipULo = std::min(clipULo, uv.x), clipUHi = std::max(clipUHi, uv.x);
                clipVLo = std::min(clipVLo, uv.y), clipVHi = std::max(clipVHi, uv.y);
                clipYLo = std::min(clipYLo, p.y), clipYHi = std::max(clipYHi, p.y);
                clipZMin = std::min(clipZMin, p.z);
                continue;
            }
            if (clothAt(uv) != skin) continue;
            if (p.y > 0.85f * top && p.z > 0.05f) ++faceVertices;  // the face, turned to the bowl
            if (p.y < 0.85f * top && std::hypot(p.x, p.z) > 0.2f) ++handVertices;  // away from the body
        }
        EXPECT_GT(faceVertices, 50);
        EXPECT_GT(handVertices, 50);
        // The whole clip, upright, on the front of the chest between waist and collar.
        EXPECT_LT(clipULo, 0.01f);
        EXPECT_GT(clipUHi, 0.49f);
        EXPECT_LT(clipVLo, 0.01f);
        EXPECT_GT(clipVHi, 0.99f);
        EXPECT_GT(clipYLo, 0.5f * top);
        EXPECT_LT(clipYHi, 0.8f * top);
        EXPECT_GT(clipZMin, 0.0f);
        EXPECT_GT((clipYHi - clipYLo) * 40, 12.0f);  // big enough to read in the close shots
    }
}

TEST(SceneHosts, TheStudioLightShadesTheBodiesSmoothlyFromShadowToHighlight) {
    // The key light comes from the front: a surface facing it is lit, one facing away is in shadow.
    EXPECT_GT(studioShade({0.4f, 0.3f, 0.8f}), 0.75f);
    EXPECT_LT(studioShade({-0.4f, -0.3f, -0.8f}), 0.3f);
    // Across one jacket the shades spread from shadow to highlight (not one flat colour), and the
    // step between neighbouring vertices of a triangle stays small (no visible facets).
    Mesh m = buildHost(Character::Tabor);
    float lo = 1, hi = 0, worstStep = 0, stepSum = 0;
    int triangles = 0;
    const float rampStart = clothUV(Cloth::JacketNavy, 0).x, rampLength = clothUV(Cloth::JacketNavy, 1).x - rampStart;
    for (size_t t = 0; t + 2 < m.indices.size(); t += 3) {
        Vec2 a = m.uvs[m.indices[t]], b = m.uvs[m.indices[t + 1]], c = m.uvs[m.indices[t + 2]];
        if (inClip(a) || clothAt(a) != Cloth::JacketNavy) continue;
        for (Vec2 uv : {a, b, c}) {
            float shade = (uv.x - rampStart) / rampLength;
            lo = std::min(lo, shade), hi = std::max(hi, shade);
        }
        const float step = std::max({std::fabs(a.x - b.x), std::fabs(b.x - c.x), std::fabs(a.x - c.x)});
        worstStep = std::max(worstStep, step);
        stepSum += step;
        ++triangles;
    }
    EXPECT_LT(lo, 0.35f);
    EXPECT_GT(hi, 0.8f);
    ASSERT_GT(triangles, 0);
    EXPECT_LT(stepSum / triangles / rampLength, 0.12f);  // under a tenth of the ramp on average
    EXPECT_LT(worstStep / rampLength, 0.6f);             // even where the shoulders turn into the neck

    // The picture holds the clip unchanged on its left and ramps that brighten to the right.
    content::Image clip = paintVideoFrame(120);
    content::Image worn = paintHostPicture(clip);
    ASSERT_EQ(worn.width, kHostPictureWidth);
    ASSERT_EQ(worn.height, kHostPictureHeight);
    for (int y = 0; y < kClipSize; y += 17)
        for (int x = 0; x < kClipSize; x += 13) ASSERT_EQ(luma(worn.at(x, y)), luma(clip.at(x, y)));
    for (int c = 0; c < int(Cloth::Count); ++c) {
        auto texel = [&](float shade) {
            Vec2 uv = clothUV(Cloth(c), shade);
            return worn.at(int(uv.x * kHostPictureWidth), int(uv.y * kHostPictureHeight));
        };
        EXPECT_LT(luma(texel(0.1f)), luma(texel(0.9f))) << c;
        EXPECT_NEAR(luma(texel(0.9f)), luma(clothColour(Cloth(c), 0.9f)), 0.02f) << c;
    }
}
