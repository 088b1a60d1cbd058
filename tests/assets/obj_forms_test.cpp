// OBJ forms as other programs write them: polygons, the four corner forms, relative indices, the
// statements a model may hold beside its faces, and what is refused with a reason.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "assets/obj_parser.h"
#include "obj_test_parse.h"

using namespace zelFramework;

namespace {


std::string refusal(const std::string& text) {
    ObjMesh mesh;
    std::string problem;
    EXPECT_FALSE(parseObjText(text.data(), text.size(), mesh, &problem)) << text;
    EXPECT_EQ(mesh.vertexCount, 0u);
    EXPECT_TRUE(mesh.positions.empty() && mesh.normals.empty() && mesh.texCoords.empty());
    return problem;
}

std::vector<float> corner(const FloatArray& list, size_t k, size_t width) {
    return std::vector<float>(list.begin() + long(k * width), list.begin() + long((k + 1) * width));
}

// A unit cube of quads as Blender writes it: shared positions, one normal per side, v/vt/vn corners.
const char* kQuadCube =
    "# Blender v2.79 OBJ File: ''\nmtllib cube.mtl\no Cube\n"
    "v 1 -1 -1\nv 1 -1 1\nv -1 -1 1\nv -1 -1 -1\nv 1 1 -1\nv 1 1 1\nv -1 1 1\nv -1 1 -1\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 -1 0\nvn 0 1 0\nvn 1 0 0\nvn 0 0 1\nvn -1 0 0\nvn 0 0 -1\n"
    "usemtl Material\ns off\n"
    "f 1/1/1 2/2/1 3/3/1 4/4/1\nf 5/1/2 8/2/2 7/3/2 6/4/2\nf 1/1/3 5/2/3 6/3/3 2/4/3\n"
    "f 2/1/4 6/2/4 7/3/4 3/4/4\nf 3/1/5 7/2/5 8/3/5 4/4/5\nf 5/1/6 1/2/6 4/3/6 8/4/6\n";

}  // namespace

TEST(ObjForms, PolygonsBecomeAFanOfTrianglesFromTheirFirstCorner) {
    const ObjMesh cube = parse(kQuadCube);
    ASSERT_EQ(cube.vertexCount, 36u);  // 12 triangles
    // The first quad 1 2 3 4 gives triangles 1 2 3 and 1 3 4, texture coordinates along.
    EXPECT_EQ(corner(cube.positions, 3, 3), (std::vector<float>{1, -1, -1}));
    EXPECT_EQ(corner(cube.positions, 4, 3), (std::vector<float>{-1, -1, 1}));
    EXPECT_EQ(corner(cube.positions, 5, 3), (std::vector<float>{-1, -1, -1}));
    EXPECT_EQ(corner(cube.texCoords, 5, 2), (std::vector<float>{0, 1}));
    EXPECT_EQ(corner(cube.normals, 35, 3), (std::vector<float>{0, 0, -1}));

    // A 66-corner polygon (a disc) is 64 triangles, all of them from corner 1.
    std::string disc;
    for (int i = 0; i < 66; ++i) {
        const double a = 2 * 3.14159265358979 * i / 66;
        disc += "v " + std::to_string(std::cos(a)) + " " + std::to_string(std::sin(a)) + " 0\n";
    }
    disc += "f";
    for (int i = 1; i <= 66; ++i) disc += " " + std::to_string(i);
    const ObjMesh m = parse(disc + "\n");
    ASSERT_EQ(m.vertexCount, 3u * 64u);
    for (size_t t = 0; t < 64; ++t) EXPECT_EQ(m.positions[9 * t], 1.0f) << t;
}

TEST(ObjForms, EveryCornerFormAndMissingNormalsFromTheFace) {
    const std::string points = "v 0 0 0\nv 2 0 0\nv 0 2 0\nvt 0.5 0.25\nvt 0.75\nvn 1 0 0\n";
    // p, p/t, p//n and p/t/n, also mixed in one face.
    const ObjMesh plain = parse(points + "f 1 2 3\n");
    const ObjMesh textured = parse(points + "f 1/1 2/2 3/1\n");
    const ObjMesh normals = parse(points + "f 1//1 2//1 3//1\n");
    const ObjMesh full = parse(points + "f 1/2/1 2/1/1 3/2/1\n");
    const ObjMesh mixed = parse(points + "f 1/1/1 2//1 3\n");
    for (const ObjMesh* m : {&plain, &textured, &normals, &full, &mixed}) {
        ASSERT_EQ(m->vertexCount, 3u);
        EXPECT_EQ(corner(m->positions, 1, 3), (std::vector<float>{2, 0, 0}));
    }
    // Without a normal a corner takes its face's: this one turns counter-clockwise about +z.
    for (size_t k = 0; k < 3; ++k) EXPECT_EQ(corner(plain.normals, k, 3), (std::vector<float>{0, 0, 1})) << k;
    EXPECT_EQ(corner(plain.texCoords, 0, 2), (std::vector<float>{0, 0}));
    EXPECT_EQ(corner(textured.texCoords, 1, 2), (std::vector<float>{0.75f, 0}));  // "vt u" alone: v = 0
    EXPECT_EQ(corner(textured.texCoords, 2, 2), (std::vector<float>{0.5f, 0.25f}));
    EXPECT_EQ(corner(normals.normals, 2, 3), (std::vector<float>{1, 0, 0}));
    EXPECT_EQ(corner(full.texCoords, 0, 2), (std::vector<float>{0.75f, 0}));
    EXPECT_EQ(corner(mixed.normals, 1, 3), (std::vector<float>{1, 0, 0}));
    EXPECT_EQ(corner(mixed.normals, 2, 3), (std::vector<float>{0, 0, 1}));
    EXPECT_EQ(corner(mixed.texCoords, 2, 2), (std::vector<float>{0, 0}));

    // A concave polygon, clockwise seen from +z: its normal is -z for every triangle of its fan, even
    // the one whose own corners turn the other way.
    const ObjMesh arrow = parse("v 0 0 0\nv 1 2 0\nv 2 0 0\nv 1 1 0\nf 1 2 3 4\n");
    ASSERT_EQ(arrow.vertexCount, 6u);
    for (size_t k = 0; k < 6; ++k) EXPECT_EQ(corner(arrow.normals, k, 3), (std::vector<float>{0, 0, -1})) << k;
    // A face without area still gets a unit normal.
    const ObjMesh flat = parse("v 0 0 0\nv 1 0 0\nv 2 0 0\nf 1 2 3\n");
    EXPECT_EQ(corner(flat.normals, 0, 3), (std::vector<float>{0, 1, 0}));
}

TEST(ObjForms, RelativeIndicesCountBackFromTheLastDefined) {
    const ObjMesh absolute = parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 1\nvn 0 0 1\nf 1/1/1 2/2/1 3/1/1\n"
                                   "v 5 5 5\nv 6 5 5\nv 5 6 5\nf 4/2/1 5/1/1 6/2/1\n");
    const ObjMesh relative = parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 1\nvn 0 0 1\nf -3/-2/-1 -2/-1/-1 -1/-2/-1\n"
                                   "v 5 5 5\nv 6 5 5\nv 5 6 5\nf -3/-1/-1 -2/-2/-1 -1/-1/-1\n");
    ASSERT_EQ(relative.vertexCount, 6u);
    EXPECT_EQ(relative.positions, absolute.positions);
    EXPECT_EQ(relative.texCoords, absolute.texCoords);
    EXPECT_EQ(relative.normals, absolute.normals);
    // Indices may name an element written further down (the whole file is read before they are checked).
    EXPECT_EQ(parse("f 1 2 3\nv 0 0 0\nv 1 0 0\nv 0 1 0\n").vertexCount, 3u);
}

TEST(ObjForms, OtherStatementsAndCommentsAreReadPast) {
    const ObjMesh m = parse(
        "\xEF\xBB\xBF# a UTF-8 mark first, then every statement a viewer may meet\n"
        "mtllib a.mtl b.mtl\no thing\ng group1 group2\ns 1\nusemtl red # inline comment\n"
        "v 0 0 0 1.0\nv 1 0 0 0.5 0.5 0.5\nv 0 1 0   # a comment after the numbers\n"
        "vp 0.5\nvt 0 0 0\nvn 0 0 1\n"
        "l 1 2\np 1\ncstype bspline\ndeg 3\ncurv 0 1 1 2\nparm u 0 1\nend\nbevel off\nlod 1\nmaps off\n"
        "f 1/1/1 \\\n  2/1/1 3/1/1\n"  // a line continued with '\'
        "s off\r\n\r\ng\n\t  \nf 3/1/1 2/1/1 1/1/1\r\n");
    ASSERT_EQ(m.vertexCount, 6u);
    EXPECT_EQ(corner(m.positions, 2, 3), (std::vector<float>{0, 1, 0}));
    EXPECT_EQ(corner(m.positions, 3, 3), (std::vector<float>{0, 1, 0}));
}

TEST(ObjForms, TextThatIsNoModelIsRefusedWithItsReason) {
    const std::string utf16le("\xFF\xFEv\0 \0" "1\0 \0" "2\0 \0" "3\0\n\0", 18);
    const std::string utf16be("\xFE\xFF\0v\0 \0" "1", 8);
    EXPECT_EQ(refusal(utf16le), "is UTF-16 text; OBJ files are read as ASCII or UTF-8");
    EXPECT_EQ(refusal(utf16be), "is UTF-16 text; OBJ files are read as ASCII or UTF-8");
    EXPECT_EQ(refusal(std::string("v\0 1 2 3\n", 9)), "holds binary data (byte 0x00 at offset 1), not OBJ text");
    EXPECT_EQ(refusal("PK\x03\x04junk"), "holds binary data (byte 0x03 at offset 2), not OBJ text");
    EXPECT_EQ(refusal(""), "has no faces to draw");
    EXPECT_EQ(refusal("# only points\nv 1 2 3\nv 4 5 6\nl 1 2\n"), "has no faces to draw");

    const struct {
        const char* text;
        const char* says;
    } cases[] = {
        {"v 1 2\n", "line 1: a position needs 3 numbers"},
        {"v 0 0 0\nv 1 x 3\n", "line 2: \"x\" is not a number"},
        {"v 1,5 2 3\n", "line 1: \"1,5\" is not a number"},
        {"vn 0 0\n", "line 1: a normal needs 3 numbers"},
        {"vt\n", "line 1: a texture coordinate needs a number"},
        {"v 0 0 0\nv 1 0 0\nf 1 2\n", "line 3: a face needs at least 3 corners, this one has 2"},
        {"v 0 0 0\nf 1/1/1/1 1 1\n", "line 2: corner \"1/1/1/1\" is none of the forms p, p/t, p//n and p/t/n"},
        {"v 0 0 0\nf 1/ 1 1\n", "line 2: corner \"1/\" is none of the forms"},
        {"v 0 0 0\nf 1/1/ 1 1\n", "line 2: corner \"1/1/\" is none of the forms"},
        {"v 0 0 0\nf a/b/c 1 1\n", "line 2: corner \"a/b/c\" is none of the forms"},
        {"v 0 0 0\nf -2 1 1\n", "line 2: position index -2 reaches before the first of the 1 defined so far"},
        {"v 0 0 0\nvn 0 0 1\nf 1//0 1 1\n", "line 3: normal index 0 outside 1..1"},
        {"v 0 0 0\nf 1 1 1\nf 1 1 9\n", "line 3: position index 9 outside 1..1"},
    };
    for (const auto& c : cases) EXPECT_EQ(refusal(c.text).rfind(c.says, 0), 0u) << c.text << " -> " << refusal(c.text);
}
