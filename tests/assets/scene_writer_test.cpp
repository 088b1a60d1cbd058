// The scene writer used by the asset generators: round trips through the reader, the vertex
// animation stored as changes, and descriptions it refuses.
#include <gtest/gtest.h>

#include <filesystem>

#include "assets/orvo_scene_reader.h"
#include "assets/orvo_writer.h"
#include "assets/scene_info.h"
#include "gl/gl_test_files.h"
#include "scene_test_objects.h"

using namespace zelFramework;

using namespace orvotest;

namespace {

OrvoWriter sampleWriter() {
    OrvoWriter w;
    w.addObject(sceneObject("root", ""));
    SceneObjectDesc q = sceneQuad("floor", "root", "tiles", 0.5f, 0.5f, 0.5f);
    q.keys = {sceneKey(0, {0, 0, 0}), sceneKey(48, {2, 0, 0}, {0, 0, 90})};
    w.addObject(q);
    SceneObjectDesc wave = sceneQuad("wave", "floor", "tiles", 0.5f, 0.5f, 0.5f);
    wave.frameTimes = {0, 12, 24};
    SceneMeshPose up{wave.positions, wave.normals};
    up.positions[1].z = 1;
    up.positions[2].z = 1;
    SceneMeshPose further = up;
    further.positions[3].z = 2;
    further.normals[3] = {0, 1, 0};
    wave.laterFrames = {up, further};
    w.addObject(wave);
    SceneMaterial tiles = sceneMaterial("tiles", "tiles.png", "tiles-light.png");
    tiles.roughness = 0.25f;
    w.addMaterial(tiles);
    for (int i = 0; i < 48; ++i) w.addCameraSample(cameraLookAt({float(i), 2, 10}, {0, 0, 0}));
    w.addAuxRecordA({1, {}, {}, 0.5f});
    return w;
}

}  // namespace

TEST(OrvoWriter, WrittenScenesReadBackAsBuilt) {
    OrvoWriter w = sampleWriter();
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(w.encode(bytes, &error)) << error;
    OrvoScene read;
    ASSERT_TRUE(parseOrvoScene(bytes.data(), bytes.size(), read, &error)) << error;
    OrvoScene built;
    ASSERT_TRUE(w.build(built, &error)) << error;

    ASSERT_EQ(read.objectCount(), 3u);
    // The scene built in memory is the one the file describes.
    std::vector<uint8_t> fromBuilt;
    ASSERT_TRUE(encodeOrvoScene(built, false, fromBuilt, &error)) << error;
    EXPECT_EQ(fromBuilt, bytes);
    EXPECT_EQ(built.objects[0].childCount(), read.objects[0].childCount());
    EXPECT_EQ(read.objects[1].keys[1].rotation.z, 90.0f);
    EXPECT_EQ(read.objects[1].keys[1].time, 48.0f);
    EXPECT_EQ(read.objects[1].material, &read.materials[0]);
    EXPECT_EQ(read.materials[0].lightMap, "tiles-light.png");
    EXPECT_EQ(read.cameraSampleCount(), 48u);
    EXPECT_EQ(read.cameraSamples[5].direction.x, -5.0f);
    EXPECT_EQ(read.auxRecordsA[0].value, 0.5f);

    // Only the vertices that moved are stored: two for the first later frame, one for the second,
    // and reading adds each frame's changes to those of the frames before.
    const SceneObject& wave = read.objects[2];
    EXPECT_EQ(wave.changeCounts, (std::vector<uint32_t>{2, 1}));
    EXPECT_EQ(wave.changeIndices, (std::vector<uint32_t>{1, 2, 3}));
    ASSERT_EQ(wave.blockCount(), 3u);
    auto z = [&](int block, int vertex) { return wave.positions[12 * block + 3 * vertex + 2]; };
    EXPECT_EQ(std::vector<float>({z(0, 1), z(0, 2), z(0, 3)}), std::vector<float>({0, 0, 0}));
    EXPECT_EQ(std::vector<float>({z(1, 1), z(1, 2), z(1, 3)}), std::vector<float>({1, 1, 0}));
    EXPECT_EQ(std::vector<float>({z(2, 1), z(2, 2), z(2, 3)}), std::vector<float>({1, 1, 2}));
    EXPECT_EQ(wave.normals[12 * 2 + 3 * 3 + 1], 1.0f);
    EXPECT_EQ(wave.normals[12 * 1 + 3 * 3 + 1], 0.0f);

    // The loaded scene writes out to the same bytes.
    std::vector<uint8_t> again;
    ASSERT_TRUE(encodeOrvoScene(read, false, again, &error)) << error;
    EXPECT_EQ(again, bytes);
}

TEST(OrvoWriter, WritesFilesTheLoaderAndTheDescriptionRead) {
    orvotest::ScratchFolder dir;
    OrvoWriter w = sampleWriter();
    w.countAfterMarker = true;
    std::string error;
    dir.write("scenes/keep", "");
    ASSERT_TRUE(w.writeFile("scenes\\sample.orvo", &error)) << error;
    OrvoScene scene;
    loadOrvoScene("scenes/sample.orvo", true, scene, true);
    ASSERT_EQ(scene.objectCount(), 3u);
    // The description counts the stored changes and bounds every frame, not only the first.
    std::string info = describeScene(scene);
    EXPECT_NE(info.find("    - wave  mesh 4 vertices, 2 triangles  vertex frames 3 (3 changes)  material tiles"),
              std::string::npos)
        << info;
    EXPECT_NE(info.find("bounding box (object coordinates): (0, 0, 0) .. (1, 1, 2)"), std::string::npos) << info;
    EXPECT_FALSE(w.writeFile("no/such/folder/x.orvo", &error));
    EXPECT_NE(error.find("unable to write"), std::string::npos);
}

TEST(OrvoWriter, RefusesDescriptionsTheFormatOrTheDrawingCannotCarry) {
    struct Case {
        const char* what;
        void (*spoil)(OrvoWriter&);
        const char* says;
    } cases[] = {
        {"long name", [](OrvoWriter& w) { w.objects()[1].name = std::string(256, 'n'); }, "does not fit"},
        {"name with a NUL", [](OrvoWriter& w) { w.objects()[1].name = std::string("a\0b", 3); }, "does not fit"},
        {"missing normals", [](OrvoWriter& w) { w.objects()[1].normals.pop_back(); }, "one normal per position"},
        {"index too large", [](OrvoWriter& w) { w.objects()[1].indices[4] = 4; }, "index 4 beyond its 4 vertices"},
        {"loose index", [](OrvoWriter& w) { w.objects()[1].indices.push_back(0); }, "three per triangle"},
        {"unknown parent", [](OrvoWriter& w) { w.objects()[2].parent = "ceiling"; }, "parent \"ceiling\""},
        {"keys out of order", [](OrvoWriter& w) { std::swap(w.objects()[1].keys[0], w.objects()[1].keys[1]); },
         "increasing time"},
        {"frames without poses", [](OrvoWriter& w) { w.objects()[2].laterFrames.pop_back(); }, "one later frame"},
        {"pose of another size", [](OrvoWriter& w) { w.objects()[2].laterFrames[0].positions.pop_back(); },
         "every later frame"},
        {"long map name", [](OrvoWriter& w) { w.addMaterial(sceneMaterial("x", std::string(300, 'p'))); },
         "diffuse map"},
        {"object under itself", [](OrvoWriter& w) { w.addObject(sceneObject("root", "floor")); },
         "its own ancestor"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OrvoWriter w = sampleWriter();
        c.spoil(w);
        std::vector<uint8_t> bytes{1, 2, 3};
        std::string error;
        EXPECT_FALSE(w.encode(bytes, &error));
        EXPECT_TRUE(bytes.empty());
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}
