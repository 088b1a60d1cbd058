// The OBJ text reader on the show's own form: face expansion, refused indices, and agreement with a
// reader that makes one scanf call per value, as the exporter's own reader did. The forms other
// programs write are in obj_forms_test.cpp.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "assets/obj_parser.h"
#include "obj_test_parse.h"

using namespace zelFramework;

namespace {


const char* kTwoTriangles =
    "# two triangles\nmtllib scene.mtl\no Quad\n"
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
    "usemtl skin\ns off\ng quad\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";

// The reading rules with stdio, value by value: "%s" tokens, one skipped character, "%f" and "%d".
ObjMesh referenceParse(std::string text) {
    std::string noCR;
    for (char c : text)
        if (c != '\r') noCR += c;
    std::vector<float> pos, nrm, tex;
    std::vector<int> idx;
    FILE* f = noCR.empty() ? nullptr : fmemopen(noCR.data(), noCR.size(), "r");
    char token[4096];
    while (f && std::fscanf(f, "%4095s", token) == 1) {
        std::string t = token;
        if (t == "#" || t == "mtllib" || t == "o") {
            int c;
            while ((c = std::fgetc(f)) != EOF && c != '\n') {
            }
        } else if (t == "v" || t == "vn" || t == "vt") {
            std::fgetc(f);
            auto& list = t == "v" ? pos : t == "vn" ? nrm : tex;
            for (int i = 0; i < (t == "vt" ? 2 : 3); ++i) {
                float v = 0;
                if (std::fscanf(f, "%f", &v) != 1) v = 0;
                list.push_back(v);
            }
        } else if (t == "f") {
            for (int i = 0; i < 9; ++i) {
                std::fgetc(f);
                int v = 0;
                if (std::fscanf(f, "%d", &v) != 1) v = 0;
                idx.push_back(v);
            }
            std::fgetc(f);
        }
    }
    if (f) std::fclose(f);
    ObjMesh m;
    m.vertexCount = uint32_t(idx.size() / 9 * 3);
    for (size_t k = 0; k < m.vertexCount; ++k) {
        int p = idx[3 * k], t = idx[3 * k + 1], n = idx[3 * k + 2];
        for (int a = 0; a < 3; ++a) m.positions.push_back(pos[3 * (p - 1) + a]);
        for (int a = 0; a < 2; ++a) m.texCoords.push_back(tex.empty() ? 0.0f : tex[2 * (t - 1) + a]);
        for (int a = 0; a < 3; ++a) m.normals.push_back(nrm[3 * (n - 1) + a]);
    }
    return m;
}

void expectSameMesh(const ObjMesh& a, const ObjMesh& b) {
    ASSERT_EQ(a.vertexCount, b.vertexCount);
    EXPECT_EQ(a.positions, b.positions);
    EXPECT_EQ(a.texCoords, b.texCoords);
    EXPECT_EQ(a.normals, b.normals);
}

}  // namespace

TEST(ObjParser, ExpandsTrianglesCornerByCorner) {
    ObjMesh m = parse(kTwoTriangles);
    ASSERT_EQ(m.vertexCount, 6u);
    // Corner 4 is position 3 (1, 1, 0) with texture coordinate 3 (1, 1); corner 5 is position 4 (0, 1, 0).
    EXPECT_EQ(std::vector<float>(m.positions.begin() + 12, m.positions.end()),
              (std::vector<float>{1, 1, 0, 0, 1, 0}));
    EXPECT_EQ(m.texCoords[8], 1.0f);
    EXPECT_EQ(m.texCoords[9], 1.0f);
    for (size_t k = 0; k < 6; ++k) EXPECT_EQ(m.normals[3 * k + 2], 1.0f);
    // Comment-like and name lines are skipped to the line end even when they look like data.
    EXPECT_EQ(parse("v 5 5 5\n# v 9 9 9\no v 8 8 8\nmtllib f 1/1/1\nvn 0 1 0\nf 1/1/1 1/1/1 1/1/1\n").positions[0],
              5.0f);
}

TEST(ObjParser, IndicesOutsideTheirListsRefuseTheModelNamingTheLine) {
    const std::string head = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";
    struct Case {
        const char* face;
        const char* says;
    } cases[] = {
        {"f 0/1/1 2/1/1 3/1/1\n", "position index 0 outside 1..3"},
        {"f 1/1/1 -4/1/1 3/1/1\n", "position index -4 reaches before the first of the 3 defined so far"},
        {"f 1/1/1 2/1/1 4/1/1\n", "position index 4 outside 1..3"},
        {"f 1/2/1 2/1/1 3/1/1\n", "texture index 2 outside 1..1"},
        {"f 1/1/1 2/1/1 3/1/2\n", "normal index 2 outside 1..1"},
        {"f 1/1/1 2/1/1 x\n", "corner \"x\" is none of the forms"},
        {"f 1/1/1 2/1/1 99999999999/1/1\n", "corner \"99999999999/1/1\" is none of the forms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        ObjMesh m;
        std::string problem;
        std::string text = head + c.face;
        EXPECT_FALSE(parseObjText(text.data(), text.size(), m, &problem));
        EXPECT_EQ(m.vertexCount, 0u);
        EXPECT_TRUE(m.positions.empty());
        EXPECT_NE(problem.find("line 7:"), std::string::npos) << problem;
        EXPECT_NE(problem.find(c.says), std::string::npos) << problem;
    }
}

TEST(ObjParser, AgreesWithValueByValueReadingOnAwkwardButValidText) {
    std::string crlf;
    for (const char* p = kTwoTriangles; *p; ++p) crlf += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
    const std::string texts[] = {
        kTwoTriangles,
        crlf,
        "v 1 2 3\nvn 0 0 1\nf 1/7/1 1/0/1 1//1\n",                     // no texture lines: indices unchecked
        "v  1.5e2\t-2 +3\nvt 0.25 0.75 0.0\nvn 0 0 -1 extra\nf 1/1/1   1/1/1\t1/1/1\n",
        "v 1 2 3 1.0\nvn .5 -.5 1e-3\nvt 1 1\n\n\nf 1/1/1 1/1/1 1/1/1",  // no final line end
        "g a b c\ns 1\nusemtl m x\nv 1 1 1\nvn 1 0 0\nvt 0 1\nf 1/1/1 1/1/1 1/1/1 # trailing words\n",
    };
    for (const std::string& t : texts) {
        SCOPED_TRACE(t);
        expectSameMesh(parse(t), referenceParse(t));
    }
}

TEST(ObjParser, AgreesWithValueByValueReadingOnGeneratedModels) {
    std::mt19937 rng(1234);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    auto num = [&] {
        char b[32];
        std::snprintf(b, sizeof b, pick(2) ? "%.6f" : "%g", (int(rng() % 20001) - 10000) / 37.0);
        return std::string(b);
    };
    const char* blanks[] = {" ", "  ", "\t", " \t "};
    for (int round = 0; round < 40; ++round) {
        std::string text;
        int positions = 1 + pick(20), normals = 1 + pick(5), texs = pick(2) ? 1 + pick(5) : 0;
        for (int i = 0; i < positions; ++i) text += "v " + num() + blanks[pick(4)] + num() + " " + num() + "\n";
        for (int i = 0; i < normals; ++i) text += "vn " + num() + " " + num() + blanks[pick(4)] + num() + "\n";
        for (int i = 0; i < texs; ++i) text += "vt " + num() + " " + num() + (pick(3) ? "\n" : " 0\n");
        for (int i = 1 + pick(30); i > 0; --i) {  // at least one face: a model without any is refused
            if (pick(5) == 0) text += "# comment f 1/1/1\n";
            if (pick(7) == 0) text += "usemtl mat" + std::to_string(pick(3)) + "\n";
            text += "f";
            for (int c = 0; c < 3; ++c)
                text += " " + std::to_string(1 + pick(positions)) + "/" + std::to_string(texs ? 1 + pick(texs) : 1) +
                        "/" + std::to_string(1 + pick(normals));
            text += pick(4) ? "\n" : "\r\n";
        }
        SCOPED_TRACE(text);
        expectSameMesh(parse(text), referenceParse(text));
    }
}
