// Reading scene files: the header rule, the byte layout, the vertex-animation expansion, tree and
// material linking, and every damaged file refused with an empty scene.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "assets/orvo_scene_reader.h"
#include "assets/orvo_writer.h"
#include "gl/gl_test_files.h"
#include "support/trace_capture.h"

using namespace zelFramework;

namespace {

std::vector<uint8_t> encode(const OrvoScene& scene, bool marker = false) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(encodeOrvoScene(scene, marker, bytes, &error)) << error;
    return bytes;
}

bool parse(const std::vector<uint8_t>& bytes, OrvoScene& scene, std::string* problem = nullptr) {
    return parseOrvoScene(bytes.data(), bytes.size(), scene, problem);
}

SceneObject namedObject(const std::string& name, const std::string& parent, const std::string& material = "") {
    SceneObject o;
    o.name = name;
    o.parentName = parent;
    o.materialName = material;
    return o;
}

// One triangle with every section of the format used once.
OrvoScene smallScene() {
    OrvoScene s;
    SceneObject root = namedObject("root", "");
    SceneObject tri = namedObject("tri", "root", "red");
    SceneKey k;
    k.time = 2;
    k.translation = {1, 2, 3};
    k.visible = 0;
    tri.keys = {k};
    tri.vertexCount = 3;
    tri.positions = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    tri.texCoords = {0, 0, 1, 0, 0, 1};
    tri.normals = {0, 0, 1, 0, 0, 1, 0, 0, 1};
    tri.indices = {0, 1, 2};
    s.objects.push_back(std::move(root));
    s.objects.push_back(std::move(tri));
    SceneMaterial m;
    m.name = "red";
    m.transparency = 0.5f;
    m.roughness = 0.25f;
    m.diffuseMap = "red.png";
    m.glowIntensity = 2;
    s.materials.push_back(m);
    SceneCameraSample c;
    c.position = {0, 0, 10};
    s.cameraSamples.push_back(c);
    s.auxRecordsB.push_back({7, {1, 1, 1}, {2, 2, 2}, 3});
    return s;
}

template <typename T>
T at(const std::vector<uint8_t>& bytes, size_t offset) {
    T v;
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

}  // namespace

TEST(SceneFormat, LaysOutEverySectionByteForByte) {
    std::vector<uint8_t> b = encode(smallScene());
    const size_t root = 768 + 4 + 4 + 4 + 4;
    const size_t tri = 768 + 4 + 65 + 4 + 4 + 3 * 32 + 4 + 3 * 4;
    const size_t materials = 4 + 810, cameras = 4 + 56, aux = 8 + 32;
    ASSERT_EQ(b.size(), 4 + root + tri + materials + cameras + aux);
    EXPECT_EQ(at<uint32_t>(b, 0), 2u);
    size_t o = 4 + root;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[o])), "tri");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[o + 256])), "root");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[o + 512])), "red");
    EXPECT_EQ(at<uint32_t>(b, o + 768), 1u);            // keyCount
    EXPECT_EQ(at<float>(b, o + 772), 2.0f);             // key time
    EXPECT_EQ(at<float>(b, o + 776 + 4), 2.0f);         // translation y
    EXPECT_EQ(b[o + 772 + 64], 0u);                     // visible, the 65th byte
    EXPECT_EQ(at<uint32_t>(b, o + 837), 0u);            // frameCount
    EXPECT_EQ(at<uint32_t>(b, o + 841), 3u);            // vertexCount
    EXPECT_EQ(at<float>(b, o + 845 + 12), 1.0f);        // position 1 x
    EXPECT_EQ(at<float>(b, o + 845 + 36 + 20), 1.0f);   // texture coordinate 2 v
    EXPECT_EQ(at<float>(b, o + 845 + 60 + 8), 1.0f);    // normal 0 z
    EXPECT_EQ(at<uint32_t>(b, o + 845 + 96), 3u);       // indexCount
    size_t m = 4 + root + tri;
    EXPECT_EQ(at<uint32_t>(b, m), 1u);
    EXPECT_EQ(at<float>(b, m + 4 + 280), 0.5f);        // transparency after name and two colours
    EXPECT_EQ(at<float>(b, m + 4 + 284), 0.25f);       // roughness
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[m + 4 + 290])), "red.png");
    EXPECT_EQ(at<float>(b, m + 4 + 802), 2.0f);        // glowIntensity
    size_t c = m + materials;
    EXPECT_EQ(at<uint32_t>(b, c), 1u);
    EXPECT_EQ(at<float>(b, c + 4 + 4 + 8), 10.0f);     // position z after the unused u32
    size_t x = c + cameras;
    EXPECT_EQ(at<uint32_t>(b, x), 0u);
    EXPECT_EQ(at<uint32_t>(b, x + 4), 1u);
    EXPECT_EQ(at<uint32_t>(b, x + 8), 7u);

    // Read back, the scene carries the same values and writes out to the same bytes.
    OrvoScene s;
    std::string problem;
    ASSERT_TRUE(parse(b, s, &problem)) << problem;
    ASSERT_EQ(s.objectCount(), 2u);
    EXPECT_EQ(s.objects[1].keys[0].translation.z, 3.0f);
    EXPECT_EQ(s.materials[0].diffuseMap, "red.png");
    EXPECT_EQ(s.auxRecordsB[0].b.y, 2.0f);
    EXPECT_EQ(encode(s), b);
}

TEST(SceneFormat, HeaderIsTheCountOrAMarkerFollowedByTheCount) {
    OrvoScene three;
    for (const char* n : {"a", "b", "c"}) three.objects.push_back(namedObject(n, "a"));
    std::vector<uint8_t> plain = encode(three, false), marked = encode(three, true);
    EXPECT_EQ(at<uint32_t>(plain, 0), 3u);
    EXPECT_EQ(at<uint32_t>(marked, 0), 10000u);
    EXPECT_EQ(at<uint32_t>(marked, 4), 3u);
    EXPECT_EQ(marked.size(), plain.size() + 4);
    // A marker of 0 or above 10000 reads the same as 10000.
    std::vector<uint8_t> zero = marked, above = marked;
    zero[0] = zero[1] = 0;
    uint32_t big = 12345;
    std::memcpy(above.data(), &big, 4);
    for (auto* bytes : {&plain, &marked, &zero, &above}) {
        OrvoScene s;
        ASSERT_TRUE(parse(*bytes, s));
        EXPECT_EQ(s.objectCount(), 3u);
    }
    // An empty scene needs the marker.
    std::vector<uint8_t> empty = encode(OrvoScene{});
    EXPECT_EQ(at<uint32_t>(empty, 0), 10000u);
    OrvoScene s;
    EXPECT_TRUE(parse(empty, s));
}

TEST(SceneFormat, ChildrenFollowParentNamesInFileOrderAndMaterialsBindByName) {
    OrvoScene scene;
    scene.objects.push_back(namedObject("root", "", "shiny"));
    scene.objects.push_back(namedObject("arm", "root"));
    scene.objects.push_back(namedObject("hand", "arm", "nothing-like-it"));
    scene.objects.push_back(namedObject("arm", "root"));  // a second object of the same name
    scene.objects.push_back(namedObject("finger", "arm", "shiny"));
    SceneMaterial a, b;
    a.name = b.name = "shiny";
    a.roughness = 0.1f;
    b.roughness = 0.9f;
    scene.materials = {a, b};
    OrvoScene s;
    ASSERT_TRUE(parse(encode(scene), s));
    auto names = [](const SceneObject& o) {
        std::string out;
        for (const SceneObject* c : o.children) out += c->name + " ";
        return out;
    };
    EXPECT_EQ(names(s.objects[0]), "arm arm ");
    EXPECT_EQ(names(s.objects[1]), "hand finger ");  // under both objects named "arm"
    EXPECT_EQ(names(s.objects[3]), "hand finger ");
    EXPECT_EQ(s.objects[1].children[0], &s.objects[2]);
    ASSERT_NE(s.objects[0].material, nullptr);
    EXPECT_EQ(s.objects[0].material->roughness, 0.9f);  // the last of the same name wins
    EXPECT_EQ(s.objects[2].material, nullptr);
    EXPECT_EQ(s.objects[4].material, &s.materials[1]);
    // Moving a scene keeps every link valid.
    OrvoScene moved = std::move(s);
    EXPECT_EQ(moved.objects[1].children[0], &moved.objects[2]);
    EXPECT_EQ(moved.objects[4].material, &moved.materials[1]);
}

TEST(SceneFormat, EveryTruncationIsRefusedWithAnEmptyScene) {
    std::vector<uint8_t> bytes = encode(smallScene());
    for (size_t size = 0; size < bytes.size(); ++size) {
        OrvoScene s;
        s.setView = true;
        std::string problem;
        ASSERT_FALSE(parseOrvoScene(bytes.data(), size, s, &problem)) << size;
        EXPECT_EQ(s.objectCount(), 0u);
        EXPECT_EQ(s.materialCount(), 0u);
        EXPECT_TRUE(s.setView);  // the caller's flags stay
        EXPECT_FALSE(problem.empty());
    }
}

TEST(SceneFormat, CountsBeyondTheFileAndInconsistentListsAreRefused) {
    const std::vector<uint8_t> good = encode(smallScene());
    const size_t tri = 4 + 784;
    struct Damage {
        const char* what;
        size_t offset;
        uint32_t value;
        const char* says;
    } damages[] = {
        {"object count", 0, 0xFFFFFFF0u, "objects do not fit"},
        {"key count", tri + 768, 0x7FFFFFFFu, "keys do not fit"},
        {"frame count", tri + 837, 0xFFFFFFFFu, "frame times do not fit"},
        {"vertex count", tri + 841, 1000000u, "vertices do not fit"},
        {"index beyond the vertices", tri + 845 + 100, 3u, "triangle index 3 beyond its 3 vertices"},
        {"material count", good.size() - 40 - 60 - 814, 2u, "materials do not fit"},
        {"camera count", good.size() - 40 - 60, 0x10000000u, "camera samples do not fit"},
        {"aux count", good.size() - 40, 0xFFFFFFFFu, "auxiliary records do not fit"},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        std::vector<uint8_t> bad = good;
        std::memcpy(bad.data() + d.offset, &d.value, 4);
        OrvoScene s;
        std::string problem;
        EXPECT_FALSE(parse(bad, s, &problem));
        EXPECT_NE(problem.find(d.says), std::string::npos) << problem;
        EXPECT_EQ(s.objectCount(), 0u);
    }
}

TEST(SceneFormat, BrokenVertexAnimationsAndEndlessTreesAreRefused) {
    auto animated = [](std::vector<uint32_t> counts, std::vector<uint32_t> changed) {
        OrvoScene scene;
        SceneObject o = namedObject("blob", "");
        o.frameTimes = {0, 1, 2};
        o.vertexCount = 2;
        o.positions.assign(6, 0.0f);
        o.normals.assign(6, 0.0f);
        o.texCoords.assign(4, 0.0f);
        o.changeCounts = counts;
        o.changeIndices = changed;
        o.changePositions.assign(3 * changed.size(), 1.0f);
        o.changeNormals.assign(3 * changed.size(), 1.0f);
        scene.objects.push_back(std::move(o));
        return encode(scene);
    };
    OrvoScene s;
    std::string problem;
    EXPECT_TRUE(parse(animated({1, 1}, {0, 1}), s, &problem)) << problem;
    EXPECT_FALSE(parse(animated({2, 1}, {0, 1}), s, &problem));
    EXPECT_NE(problem.find("uses 3 changes but stores 2"), std::string::npos) << problem;
    EXPECT_FALSE(parse(animated({1, 1}, {0, 2}), s, &problem));
    EXPECT_NE(problem.find("changes vertex 2 of 2"), std::string::npos) << problem;

    // Two objects of one name, each the other's parent: drawing would never end.
    OrvoScene loop;
    loop.objects.push_back(namedObject("root", ""));
    loop.objects.push_back(namedObject("x", "root"));
    loop.objects.push_back(namedObject("x", "x"));
    loop.objects.push_back(namedObject("x", "x"));
    EXPECT_FALSE(parse(encode(loop), s, &problem));
    EXPECT_NE(problem.find("its own ancestor"), std::string::npos) << problem;
    EXPECT_EQ(s.objectCount(), 0u);
    // An object named like its own parent is simply not its own child.
    OrvoScene self;
    self.objects.push_back(namedObject("root", "root"));
    EXPECT_TRUE(parse(encode(self), s));
    EXPECT_EQ(s.objects[0].childCount(), 0u);
}

TEST(SceneFormat, LoadingWarnsNamingTheFileAndLeavesTheSceneEmpty) {
    orvotest::ScratchFolder dir;
    orvotest::TraceCapture trace;
    std::vector<uint8_t> bytes = encode(smallScene());
    dir.write("good.orvo", std::string(bytes.begin(), bytes.end()));
    dir.write("short.orvo", std::string(bytes.begin(), bytes.begin() + 900));
    OrvoScene scene;
    loadOrvoScene("good.orvo", true, scene, false);
    EXPECT_EQ(scene.objectCount(), 2u);
    EXPECT_TRUE(scene.setView);
    EXPECT_FALSE(scene.setProjection);
    EXPECT_TRUE(trace.text().empty()) << trace.text();

    EXPECT_EQ(&loadOrvoScene("short.orvo", false, scene, true), &scene);
    EXPECT_EQ(scene.objectCount(), 0u);
    EXPECT_TRUE(scene.setProjection);
    EXPECT_TRUE(trace.contains("WARNING (scene): scene file short.orvo is damaged")) << trace.text();
    loadOrvoScene("absent.orvo", true, scene, true);
    EXPECT_TRUE(trace.contains("WARNING (scene): unable to open scene file absent.orvo: it does not exist"))
        << trace.text();
    std::filesystem::create_directory("folder.orvo");
    loadOrvoScene("folder.orvo", true, scene, true);
    EXPECT_TRUE(trace.contains("unable to open scene file folder.orvo: it is a folder, not a file")) << trace.text();
    EXPECT_EQ(scene.objectCount(), 0u);
    EXPECT_FALSE(trace.quitPosted());
}
