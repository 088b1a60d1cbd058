// Loading one model frame from disk: the cache beside the OBJ, preferred while it is sound and made
// from the text as it is, rebuilt when it is not, and never written for a model that could not be read.
#include <gtest/gtest.h>

#include <chrono>
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

uint32_t u32At(const std::string& bytes, size_t offset) {
    uint32_t v;
    std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}

// Writes quad.obj, loads it once from its text and returns the cache that load wrote.
std::string freshQuadCache(const orvotest::ScratchFolder& dir) {
    dir.write("quad.obj", kTwoTriangles);
    ObjMesh mesh;
    EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Text);
    return dir.read("quad.obj.bin");
}

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

    // Layout: "OBJC", version, N, 0, the text's size and time, then positions, normals, texture coordinates.
    std::string cache = dir.read("models/quad.obj.bin");
    ASSERT_EQ(cache.size(), 32u + 192u);
    EXPECT_EQ(cache.substr(0, 4), "OBJC");
    EXPECT_EQ(u32At(cache, 4), OBJ_CACHE_VERSION);
    EXPECT_EQ(u32At(cache, 8), 6u);
    EXPECT_EQ(u32At(cache, 16), std::strlen(kTwoTriangles));
    EXPECT_EQ(floatAt(cache, 32 + 4 * 12), 1.0f);       // x of corner 4 = position 3
    EXPECT_EQ(floatAt(cache, 32 + 72 + 2 * 4), 1.0f);   // z of normal 0
    EXPECT_EQ(floatAt(cache, 32 + 144 + 2 * 4), 1.0f);  // u of corner 1 = texture 2

    ObjMesh second;
    EXPECT_EQ(loadObjMesh("models/quad.obj", second), ObjLoadSource::Cache);
    EXPECT_EQ(second.positions, first.positions);
    // The cache serves alone once the text is gone.
    fs::remove("models/quad.obj");
    ObjMesh third;
    EXPECT_EQ(loadObjMesh("models/quad.obj", third), ObjLoadSource::Cache);
    EXPECT_EQ(third.positions, first.positions);
    EXPECT_EQ(third.texCoords, first.texCoords);
    EXPECT_EQ(third.normals, first.normals);
    EXPECT_TRUE(trace.text().empty()) << trace.text();
}

TEST(ObjLoading, AnEditedTextWinsOverItsCache) {
    orvotest::ScratchFolder dir;
    orvotest::TraceCapture trace;
    dir.write("quad.obj", kTwoTriangles);
    ObjMesh mesh;
    EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Text);
    // Same size, other numbers, one second later.
    std::string edited = kTwoTriangles;
    edited[2] = '5';
    dir.write("quad.obj", edited);
    fs::last_write_time("quad.obj", fs::last_write_time("quad.obj.bin") + std::chrono::seconds(1));
    EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Text);
    EXPECT_EQ(mesh.positions[0], 5.0f);
    EXPECT_TRUE(trace.contains("INFO (model): model cache quad.obj.bin was made from an earlier state of the OBJ "
                               "text; rebuilding it from quad.obj"))
        << trace.text();
    trace.clear();
    EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Cache);
    EXPECT_EQ(mesh.positions[0], 5.0f);
    // A text put back from elsewhere, older than its cache, is also another state of the text.
    dir.write("quad.obj", kTwoTriangles);
    fs::last_write_time("quad.obj", fs::last_write_time("quad.obj.bin") - std::chrono::hours(24));
    EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Text);
    EXPECT_EQ(mesh.positions[0], 0.0f);
    EXPECT_TRUE(trace.contains("rebuilding it from quad.obj")) << trace.text();
}

TEST(ObjLoading, CachesOfOtherLayoutsAreRebuiltBesideTheirTextAndStillReadAlone) {
    orvotest::ScratchFolder dir;
    orvotest::TraceCapture trace;
    const std::string current = freshQuadCache(dir);
    ObjMesh mesh;
    // The first layout, without a header: N, then the same arrays.
    const std::string headerless = current.substr(8, 4) + current.substr(32);
    dir.write("quad.obj.bin", headerless);
    EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Text);
    EXPECT_TRUE(trace.contains("INFO (model): model cache quad.obj.bin has the first cache layout, without a "
                               "header; rebuilding it from quad.obj"))
        << trace.text();
    EXPECT_EQ(dir.read("quad.obj.bin"), current);
    // Without its text a cache of the first layout still serves.
    dir.write("alone.obj.bin", headerless);
    EXPECT_EQ(loadObjMesh("alone.obj", mesh), ObjLoadSource::Cache);
    EXPECT_EQ(mesh.vertexCount, 6u);
    // A later version of the layout than this program knows is rebuilt too.
    std::string future = current;
    future[4] = 3;
    dir.write("quad.obj.bin", future);
    trace.clear();
    EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Text);
    EXPECT_TRUE(trace.contains("INFO (model): model cache quad.obj.bin is of another version of the cache layout"))
        << trace.text();
    dir.write("other.obj.bin", future);
    EXPECT_EQ(loadObjMesh("other.obj", mesh), ObjLoadSource::Nothing);
    EXPECT_TRUE(trace.contains("WARNING (model): model cache other.obj.bin is of another version of the cache "
                               "layout, and there is no OBJ text other.obj to rebuild it from"))
        << trace.text();
}

TEST(ObjLoading, ACacheThatDisagreesWithItsSizeIsRebuiltFromTheText) {
    orvotest::ScratchFolder dir;
    orvotest::TraceCapture trace;
    const std::string current = freshQuadCache(dir);
    ObjMesh mesh;
    // Count says 6 vertices, but only a few bytes follow; then one byte too many; a count of 0.
    std::string zeroCount = current;
    zeroCount[8] = 0;
    for (const std::string& bad : {std::string("\x06\0\0\0abc", 7), current + '\0', current.substr(0, 40), zeroCount}) {
        dir.write("quad.obj.bin", bad);
        EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Text);
        EXPECT_EQ(mesh.vertexCount, 6u);
        EXPECT_EQ(fs::file_size("quad.obj.bin"), 224u);
        EXPECT_TRUE(trace.contains("WARNING (model): model cache quad.obj.bin does not match its size; rebuilding "
                                   "it from quad.obj"))
            << trace.text();
        trace.clear();
    }
    // A damaged cache with no text behind it loads nothing.
    dir.write("quad.obj.bin", std::string("\xff\xff\xff\xff", 4));
    fs::remove("quad.obj");
    EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Nothing);
    EXPECT_EQ(mesh.vertexCount, 0u);
    EXPECT_TRUE(trace.contains("there is no OBJ text quad.obj to rebuild it from")) << trace.text();
}

TEST(BadFiles, ModelsThatCannotBeReadLoadNothingSayWhyAndWriteNoCache) {
    orvotest::ScratchFolder dir;
    orvotest::TraceCapture trace;
    ObjMesh mesh;
    EXPECT_EQ(loadObjMesh("missing.obj", mesh), ObjLoadSource::Nothing);
    EXPECT_TRUE(trace.contains("WARNING (model): model missing.obj cannot be read: it does not exist"));
    EXPECT_TRUE(fs::is_empty(dir.path()));

    fs::create_directory("folder.obj");
    EXPECT_EQ(loadObjMesh("folder.obj", mesh), ObjLoadSource::Nothing);
    EXPECT_TRUE(trace.contains("WARNING (model): model folder.obj cannot be read: it is a folder, not a file"))
        << trace.text();
    EXPECT_FALSE(fs::exists("folder.obj.bin"));

    const struct {
        const char* name;
        std::string text;
        const char* says;
    } refused[] = {
        {"bad.obj", "v 0 0 0\nvn 0 0 1\n\nf 1/1/1 1/1/1 2/1/1\n", "line 4: position index 2 outside 1..1"},
        {"utf16.obj", std::string("\xFF\xFEv\0 \0" "1\0", 7), "is UTF-16 text"},
        {"junk.obj", std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10), "holds binary data (byte 0x7F at offset 0)"},
        {"nofaces.obj", "v 1 2 3\nvn 0 0 1\n", "has no faces to draw"},
    };
    for (const auto& r : refused) {
        dir.write(r.name, r.text);
        EXPECT_EQ(loadObjMesh(r.name, mesh), ObjLoadSource::Nothing);
        EXPECT_EQ(mesh.vertexCount, 0u);
        EXPECT_FALSE(fs::exists(std::string(r.name) + ".bin")) << r.name;
        EXPECT_TRUE(trace.contains(std::string("WARNING (model): model ") + r.name + " refused: " + r.says))
            << trace.text();
    }
    EXPECT_FALSE(trace.quitPosted());
}

TEST(BadFiles, AGoodModelPutBackOverAnEmptyCacheLoads) {
    orvotest::ScratchFolder dir;
    orvotest::TraceCapture trace;
    // What an earlier version left for a model without faces: a cache of only the count 0.
    dir.write("quad.obj.bin", std::string(4, '\0'));
    dir.write("quad.obj", kTwoTriangles);
    ObjMesh mesh;
    EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Text);
    EXPECT_EQ(mesh.vertexCount, 6u);
    // A folder where the cache belongs does not stop the text.
    fs::remove("quad.obj.bin");
    fs::create_directory("quad.obj.bin");
    EXPECT_EQ(loadObjMesh("quad.obj", mesh), ObjLoadSource::Text);
    EXPECT_EQ(mesh.vertexCount, 6u);
    EXPECT_TRUE(trace.contains("WARNING (model): model cache quad.obj.bin is a folder, not a file; rebuilding it"))
        << trace.text();
}

TEST(ObjCache, DecodingAcceptsOnlyExactSizes) {
    ObjMesh mesh;
    mesh.vertexCount = 3;
    mesh.positions = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    mesh.normals = {0, 0, 1, 0, 0, 1, 0, 0, 1};
    mesh.texCoords = {0, 0, 1, 0, 1, 1};
    std::vector<uint8_t> bytes;
    const FileStamp source{1234, -5};
    encodeObjCache(mesh, source, bytes);
    ASSERT_EQ(bytes.size(), 32u + 32u * 3u);
    ObjMesh back;
    FileStamp stamp;
    ASSERT_EQ(decodeObjCache(bytes.data(), bytes.size(), back, &stamp), ObjCacheLayout::Current);
    EXPECT_EQ(stamp, source);
    EXPECT_EQ(back.positions, mesh.positions);
    EXPECT_EQ(back.normals, mesh.normals);
    EXPECT_EQ(back.texCoords, mesh.texCoords);
    for (size_t size : {size_t(0), size_t(3), size_t(31), bytes.size() - 1})
        EXPECT_EQ(decodeObjCache(bytes.data(), size, back), ObjCacheLayout::Damaged) << size;
    bytes.push_back(0);
    EXPECT_EQ(decodeObjCache(bytes.data(), bytes.size(), back), ObjCacheLayout::Damaged);
    // A headerless count whose size overflows 32 bits is just another mismatch.
    uint8_t huge[4] = {0xff, 0xff, 0xff, 0x0f};
    EXPECT_EQ(decodeObjCache(huge, 4, back), ObjCacheLayout::Damaged);
    EXPECT_EQ(back.vertexCount, 0u);
}
