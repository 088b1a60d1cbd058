// The geometry kit of the set generator: shapes face the way their normals say, transforms keep
// normals perpendicular, outlines tessellate to the right area with holes left open, and camera
// paths cut only between shots.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "camera_path.h"
#include "glyph_text.h"
#include "mesh.h"
#include "ring_band.h"
#include "triangulate.h"

using namespace zelFramework;
using namespace zelFramework::scenegen;

namespace {

Vec3 triangleNormal(const Mesh& m, size_t t) {
    Vec3 a = m.positions[m.indices[3 * t]], b = m.positions[m.indices[3 * t + 1]], c = m.positions[m.indices[3 * t + 2]];
    return cross(b - a, c - a);
}

// Every triangle is wound counter-clockwise seen from the side its vertex normals point to.
void expectWindingMatchesNormals(const Mesh& m) {
    for (size_t t = 0; t < m.triangleCount(); ++t) {
        Vec3 face = triangleNormal(m, t);
        if (length(face) < 1e-6f) continue;  // the collapsed triangles at a pole
        Vec3 n = m.normals[m.indices[3 * t]] + m.normals[m.indices[3 * t + 1]] + m.normals[m.indices[3 * t + 2]];
        EXPECT_GT(dot(face, n), 0) << "triangle " << t;
    }
}

float capArea(const Mesh& m, float z) {
    float area = 0;
    for (size_t t = 0; t < m.triangleCount(); ++t) {
        Vec3 a = m.positions[m.indices[3 * t]];
        if (std::fabs(a.z - z) > 1e-5f || std::fabs(m.normals[m.indices[3 * t]].z) < 0.99f) continue;
        area += length(triangleNormal(m, t)) * 0.5f;
    }
    return area;
}

}  // namespace

TEST(SceneMesh, ClosedShapesFaceOutwardAndWindTheSameWay) {
    Mesh box = makeBox({1, 2, 3}, {2, 4, 6});
    ASSERT_EQ(box.triangleCount(), 12u);
    for (size_t i = 0; i < box.vertexCount(); ++i)
        EXPECT_GT(dot(box.normals[i], box.positions[i] - Vec3{1, 2, 3}), 0);
    expectWindingMatchesNormals(box);
    expectWindingMatchesNormals(makeCylinder(1, 0, 2, 12, true));
    expectWindingMatchesNormals(makeEllipsoid({1, 2, 1}, 12, 8));
    expectWindingMatchesNormals(makeTube({{0, 0, 0}, {0, 3, 0}, {2, 4, 1}}, 0.3f, 8));
    expectWindingMatchesNormals(makeGrid({0, 0, 0}, 4, 4, 3, 3));
    Mesh lathe = makeLathe({{1, 0}, {1.5f, 1}, {0.5f, 2}}, 16);
    for (size_t i = 0; i < lathe.vertexCount(); ++i) {
        Vec3 radial{lathe.positions[i].x, 0, lathe.positions[i].z};
        EXPECT_GT(dot(lathe.normals[i], radial), -1e-4f);
    }
    expectWindingMatchesNormals(lathe);
}

TEST(SceneMesh, TransformsKeepNormalsPerpendicularUnderUnevenScaling) {
    Mesh quad;
    quad.addQuad({0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 1});
    Mat4 squash = Mat4::rotationY(30) * Mat4::scaling({3, 0.5f, 1});
    Mesh moved;
    moved.append(quad, squash);
    Vec3 edge1 = moved.positions[1] - moved.positions[0], edge2 = moved.positions[3] - moved.positions[0];
    EXPECT_NEAR(dot(moved.normals[0], edge1), 0, 1e-5f);
    EXPECT_NEAR(dot(moved.normals[0], edge2), 0, 1e-5f);
    EXPECT_NEAR(length(moved.normals[0]), 1, 1e-5f);
    // Points and directions agree with each other: a translation moves points only.
    Mat4 t = Mat4::translation({5, 6, 7});
    Vec3 p = t.point({1, 1, 1}), d = t.direction({1, 1, 1});
    EXPECT_FLOAT_EQ(p.x, 6);
    EXPECT_FLOAT_EQ(d.x, 1);
}

TEST(SceneMesh, RingBandsFaceByProfileDirection) {
    Mesh up, down, flat;
    addBandSegment(up, {10, 0}, {10, 5}, 0, 10);    // running upward: faces away from the axis
    addBandSegment(down, {10, 5}, {10, 0}, 0, 10);  // running downward: faces the axis
    addBandSegment(flat, {12, 0}, {8, 0}, 0, 10);   // running inward: faces up
    EXPECT_GT(up.normals[0].z, 0.9f);
    EXPECT_LT(down.normals[0].z, -0.9f);
    EXPECT_GT(flat.normals[0].y, 0.99f);
    expectWindingMatchesNormals(up);
    expectWindingMatchesNormals(down);
    expectWindingMatchesNormals(flat);
    // The picture stands upright on walls in both directions: its bottom row (v = 1) at the bottom.
    for (const Mesh* m : {&up, &down})
        for (size_t i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(m->uvs[i].y, m->positions[i].y < 1 ? 1.0f : 0.0f);
}

TEST(SceneExtrusion, OutlineWithHoleGivesTheRightAreaBothWays) {
    Contour outer = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    Contour hole = {{1, 1}, {1, 3}, {3, 3}, {3, 1}};
    for (bool flipped : {false, true}) {
        std::vector<Contour> shape = {outer, hole};
        if (flipped)
            for (Contour& c : shape) std::reverse(c.begin(), c.end());
        Mesh m = makeExtrusion(shape, 2);
        EXPECT_NEAR(capArea(m, 1), 12, 1e-3f);
        EXPECT_NEAR(capArea(m, -1), 12, 1e-3f);
        expectWindingMatchesNormals(m);
        // Walls of the hole face into the hole, walls of the outline face away from the shape.
        for (size_t i = 0; i < m.vertexCount(); ++i) {
            Vec3 p = m.positions[i], n = m.normals[i];
            if (std::fabs(n.z) > 0.5f) continue;
            bool onHole = p.x > 0.5f && p.x < 3.5f && p.y > 0.5f && p.y < 3.5f;
            Vec3 fromCentre{p.x - 2, p.y - 2, 0};
            if (onHole)
                EXPECT_LT(dot(n, fromCentre), 0);
            else
                EXPECT_GT(dot(n, fromCentre), 0);
        }
    }
}

TEST(SceneGlyphs, LettersHaveTheirCountersAndLayOutLeftToRight) {
    TextLine line;
    ASSERT_TRUE(layoutTextLine("BOX", line));
    ASSERT_EQ(line.glyphs.size(), 3u);
    EXPECT_EQ(line.glyphs[0].contours.size(), 3u);  // B: outline and two counters
    EXPECT_EQ(line.glyphs[1].contours.size(), 2u);  // O
    EXPECT_EQ(line.glyphs[2].contours.size(), 1u);  // X
    EXPECT_LT(line.glyphs[0].right, line.glyphs[1].left + 0.05f);
    EXPECT_GT(line.width, 1.5f);
    // Tessellating the same outline twice gives the same mesh (the output must not depend on
    // memory addresses).
    Mesh a = makeExtrusion(line.glyphs[0].contours, 0.2f), b = makeExtrusion(line.glyphs[0].contours, 0.2f);
    ASSERT_EQ(a.indices, b.indices);
    EXPECT_NEAR(capArea(a, 0.1f), capArea(b, 0.1f), 1e-6f);
}

TEST(SceneGlyphs, EveryTitleLetterIsFilledCompletelyAndTheSameEveryTime) {
    // The caps cover exactly the letter: outline area minus the counters' areas.
    for (const char* text : {"NO BIGSCREENS JUST LASERS", "QUANTUM COMPUTING COMPO", "8 PETABYTE INTRO",
                             "DEMOSCENE FASHION SHOW", "400 DJS ON 1200 FLOORS", "VELMORA"}) {
        TextLine line;
        ASSERT_TRUE(layoutTextLine(text, line));
        for (const GlyphShape& g : line.glyphs) {
            float expected = 0;
            for (size_t i = 0; i < g.contours.size(); ++i) {
                float a = std::fabs(signedArea(g.contours[i]));
                expected += nestingDepth(g.contours, i) % 2 ? -a : a;
            }
            Mesh flat = makeFlatShape(g.contours);
            EXPECT_NEAR(capArea(flat, 0), expected, expected * 0.002f) << text << " " << g.character;
            expectWindingMatchesNormals(flat);
            EXPECT_EQ(makeFlatShape(g.contours).indices, flat.indices);
        }
    }
}

TEST(SceneCamera, SamplesTwentyFourPerSecondAndCutOnlyBetweenShots) {
    std::vector<Shot> shots = {
        {{{0, {0, 0, 10}, {0, 0, 0}, 30}, {2, {4, 0, 10}, {0, 0, 0}, 30}, {4, {8, 1, 9}, {0, 0, 0}, 30}}},
        {{{4, {100, 50, 0}, {0, 0, 0}, 40}, {6, {90, 50, 10}, {0, 0, 0}, 40}}},
    };
    auto samples = sampleCameraPath(shots, 6, {2, 800});
    ASSERT_EQ(samples.size(), 6u * 24u + 1u);
    EXPECT_FLOAT_EQ(samples[0].position.z, 10);
    EXPECT_FLOAT_EQ(samples[48].position.x, 4);  // a key is passed through exactly
    EXPECT_EQ(samples[96].position.x, 100);      // the second shot begins at 4 s = sample 96
    std::vector<size_t> cuts = findCameraCuts(samples);
    ASSERT_EQ(cuts.size(), 1u);
    EXPECT_EQ(cuts[0], 96u);
    // The horizontal field of view matches the show's picture: tan(x/2) = 2.28 tan(y/2).
    float fx = samples[0].fovX, fy = samples[0].fovY;
    EXPECT_NEAR(std::tan(radians(fx) / 2), 2.28f * std::tan(radians(fy) / 2), 1e-4f);
    EXPECT_FLOAT_EQ(samples[0].nearPlane, 2);
    // The up vector is perpendicular to the view direction.
    Vec3 dir{samples[10].direction.x, samples[10].direction.y, samples[10].direction.z};
    Vec3 up{samples[10].up.x, samples[10].up.y, samples[10].up.z};
    EXPECT_NEAR(dot(normalize(dir), up), 0, 1e-4f);
}
