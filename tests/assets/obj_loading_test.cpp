// Loading one model frame from disk: the cache beside the OBJ, preferred whenever it is sound,
// rebuilt when it is not, and never written for a model that could not be read.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "assets/obj_cache.h"
#include "gl/gl_test_files.h"
#include "support/trace_capture.h"

using namespace zelFramework;
namespace fs = std::filesystem;

namespace {

const char* kTwoTriangles =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
    "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";

float floatAt(const std::string& bytes, size_t offset) {
    float f;
    std::memcpy(&f, bytes.data() + offset, 4);
    return f;
}

}  // namespace

TEST(ObjLoading, TextIsParsedOnceAndItsCacheServesEveryLaterLoad) {
    orvotest::ScratchFolder dir;
    orvotest::TraceCapture trace;
    dir.write("models/quad.obj", kTwoTriangles);
    ObjMesh first;
    EXPECT_EQ(loadObjMesh("models\\quad.obj", first), ObjLoadSource::Text);
    ASSERT_EQ(first.vertexCount, 6u);

    // Layout: N, then positions, normals, texture coordinates.
    std::string cache = dir.read("models/quad.obj.bin");
    ASSERT_EQ(cache.size(), 196u);
    uint32_t n;
    std::memcpy(&n, cache.data(), 4);
    EXPECT_EQ(n, 6u);
    EXPECT_EQ(floatAt(cache, 4 + 4 * 12), 1.0f);      // x of corner 4 = position 3
    EXPECT_EQ(floatAt(cache, 4 + 72 + 2 * 4), 1.0f);  // z of normal 0
    EXPECT_EQ(floatAt(cache, 4 + 144 + 2 * 4), 1.0f); // u of corner 1 = texture 2

    // The cache wins whatever the text says now, and serves alone once the text is gone.
    dir.write("models/quad.obj", "v 9 9 9\nvn 0 0 1\nf 1/1/1 1/1/1 1/1/1\n");
    ObjMesh second;
    EXPECT_EQ(loadObjMesh("models/quad.obj", second), ObjLoadSource::Cache);
    EXPECT_EQ(second.positions, first.positions);
    fs::remove("models/quad.obj");
    ObjMesh third;
    EXPECT_EQ(loadObjMesh("models/quad.obj", third), ObjLoadSource::Cache);
    EXPECT_EQ(third.positions, first.positions);
    EXPECT_EQ(third.texCoords, first.texCoords);
    EXPECT_EQ(third.normals, first.normals);
    EXPECT_TRUE(trace.text().empty()) << trace.text();

    // A model without faces leaves a cache of only its count.
    dir.write("empty.obj", "v 1 2 3\nvn 0 0 1\n");
    ObjMesh empty;
    EXPECT_EQ(loadObjMesh("empty.obj", empty), ObjLoadSource::Text);
    EXPECT_EQ(fs::file_size("empty.obj.bin"), 4u);
    EXPECT_EQ(loadObjMesh("empty.obj", empty), ObjLoadSource::Cache);
    EXPECT_EQ(empty.vertexCount, 0u);
}

TEST(ObjLoading, ACacheThatDisagreesWithItsSizeIsRebuiltFromTheText) {
    orvotest::ScratchFolder dir;
    orvotest::TraceCapture trace;
    dir.write("quad.obj", kTwoTriangles);
    // Count says 6 vertices, but only a few bytes follow; then one byte too many.
    std::string tooLong(197, '\0');
    tooLong[0] = 6;
    for (const std::string& bad : {std::string("\x06\0\0\0abc", 7), tooLong}) {
        dir.write("quad.obj.bin", bad);
        ObjMesh mesh;
        EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Text);
        EXPECT_EQ(mesh.vertexCount, 6u);
        EXPECT_EQ(fs::file_size("quad.obj.bin"), 196u);
        EXPECT_TRUE(trace.contains("WARNING (model): model cache quad.obj.bin does not match its size"))
            << trace.text();
        trace.clear();
    }
    // A damaged cache with no text behind it loads nothing.
    dir.write("quad.obj.bin", std::string("\xff\xff\xff\xff", 4));
    fs::remove("quad.obj");
    ObjMesh mesh;
    EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Nothing);
    EXPECT_EQ(mesh.vertexCount, 0u);
}

TEST(ObjLoading, MissingOrRefusedModelsLoadNothingAndWriteNoCache) {
    orvotest::ScratchFolder dir;
    orvotest::TraceCapture trace;
    ObjMesh mesh;
    EXPECT_EQ(loadObjMesh("missing.obj", mesh), ObjLoadSource::Nothing);
    EXPECT_TRUE(fs::is_empty(dir.path()));

    dir.write("bad.obj", "v 0 0 0\nvn 0 0 1\n\nf 1/1/1 1/1/1 2/1/1\n");
    EXPECT_EQ(loadObjMesh("bad.obj", mesh), ObjLoadSource::Nothing);
    EXPECT_EQ(mesh.vertexCount, 0u);
    EXPECT_FALSE(fs::exists("bad.obj.bin"));
    EXPECT_TRUE(trace.contains("WARNING (model): model bad.obj refused: line 4: position index 2 outside 1..1"))
        << trace.text();
}

TEST(ObjCache, DecodingAcceptsOnlyExactSizes) {
    ObjMesh mesh;
    mesh.vertexCount = 3;
    mesh.positions = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    mesh.normals = {0, 0, 1, 0, 0, 1, 0, 0, 1};
    mesh.texCoords = {0, 0, 1, 0, 1, 1};
    std::vector<uint8_t> bytes;
    encodeObjCache(mesh, bytes);
    ASSERT_EQ(bytes.size(), 4u + 32u * 3u);
    ObjMesh back;
    ASSERT_TRUE(decodeObjCache(bytes.data(), bytes.size(), back));
    EXPECT_EQ(back.positions, mesh.positions);
    EXPECT_EQ(back.normals, mesh.normals);
    EXPECT_EQ(back.texCoords, mesh.texCoords);
    for (size_t size : {size_t(0), size_t(3), bytes.size() - 1}) EXPECT_FALSE(decodeObjCache(bytes.data(), size, back));
    bytes.push_back(0);
    EXPECT_FALSE(decodeObjCache(bytes.data(), bytes.size(), back));
    // A count whose size overflows 32 bits is just another mismatch.
    uint8_t huge[4] = {0xff, 0xff, 0xff, 0x0f};
    EXPECT_FALSE(decodeObjCache(huge, 4, back));
    EXPECT_EQ(back.vertexCount, 0u);
}
