// The generated sets as the show will load them: every scene is accepted by the writer and reads
// back, its materials name pictures that are generated, the stands carry the flash table with its
// fixed first points, the characters stand on the broadcast deck in view of the close shots, the
// tunnel's computer faces the layer's eye point, and everything comes out the same on every run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "assets/byte_io.h"
#include "assets/obj_parser.h"
#include "assets/orvo_scene_reader.h"
#include "camera_path.h"
#include "flash_table.h"
#include "host_wardrobe.h"
#include "sets.h"
#include "stadium_bowl.h"
#include "video_frames.h"

using namespace zelFramework;
using namespace zelFramework::scenegen;

namespace {

std::vector<SetDescription> allSets() {
    std::vector<SetDescription> sets;
    std::vector<TitleText> titles = featureTitles();
    for (size_t i = 0; i < titles.size(); ++i) sets.push_back(buildTitleScene(titles[i], int(i)));
    sets.push_back(buildStadiumScene());
    sets.push_back(buildIntroScene());
    sets.push_back(buildTunnelScene());
    sets.push_back(buildArenaTunnelScene());
    sets.push_back(buildLogoScene());
    return sets;
}

const std::vector<SetDescription>& sets() {
    static const std::vector<SetDescription> all = allSets();
    return all;
}

const SetDescription& setNamed(const std::string& file) {
    for (const SetDescription& s : sets())
        if (s.fileName == file) return s;
    static SetDescription none;
    ADD_FAILURE() << "no set " << file;
    return none;
}

// The scene file as the generator writes it, read back byte for byte.
std::vector<uint8_t> writtenBytes(const SetDescription& spec) {
    std::string folder = testing::TempDir() + "scene_sets";
    std::filesystem::create_directories(folder);
    std::string error;
    EXPECT_TRUE(writeScene(spec, folder, &error)) << spec.fileName << ": " << error;
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(folder + "/" + spec.fileName, bytes, error)) << error;
    return bytes;
}

}  // namespace

// That these are the scenes the show opens is checked by the whole-show test, which fails on a scene
// it cannot open.
TEST(SceneSets, EveryFileIsWrittenReadsBackAndStaysInBudget) {
    for (const SetDescription& s : sets()) {
        std::vector<uint8_t> bytes = writtenBytes(s);
        OrvoScene scene;
        std::string problem;
        ASSERT_TRUE(parseOrvoScene(bytes.data(), bytes.size(), scene, &problem)) << s.fileName << ": " << problem;
        EXPECT_EQ(scene.objectCount(), s.objects.size());
        EXPECT_EQ(scene.cameraSampleCount(), s.camera.size());
        EXPECT_GT(scene.cameraSampleCount(), 24u) << s.fileName;
        // Every object with a mesh finds its material, and the tree reaches every object from the root.
        for (const SceneObject& o : scene.objects)
            if (o.vertexCount) {
                EXPECT_NE(o.material, nullptr) << s.fileName << " " << o.name;
            }
        size_t reached = 0;
        std::vector<const SceneObject*> stack = {&scene.objects[0]};
        while (!stack.empty()) {
            const SceneObject* o = stack.back();
            stack.pop_back();
            ++reached;
            for (const SceneObject* c : o->children) stack.push_back(c);
        }
        EXPECT_EQ(reached, scene.objects.size()) << s.fileName;
        size_t limit = s.fileName == "Vexil2000.orvo" ? 300000 : 60000;
        EXPECT_LT(s.triangleCount(), limit) << s.fileName;
    }
}

TEST(SceneSets, MaterialsNameOnlyGeneratedOpaquePictures) {
    std::set<std::string> pictures;
    for (const SetDescription& s : sets()) {
        for (const PictureJob& p : s.pictures) pictures.insert(p.name);
        for (const std::string& name : s.picturesFromElsewhere) pictures.insert(name);
    }
    for (const SetDescription& s : sets())
        for (const SceneMaterial& m : s.materials) {
            EXPECT_TRUE(pictures.count(m.diffuseMap)) << s.fileName << " " << m.diffuseMap;
            EXPECT_TRUE(pictures.count(m.lightMap)) << s.fileName << " " << m.lightMap;
            EXPECT_LT(m.transparency, 0.00001f);  // the opaque pass would skip it otherwise
        }
    // The tunnel's television material is the one the tunnel layer swaps pictures into.
    bool tv = false;
    for (const SceneMaterial& m : setNamed("tunnel-004.orvo").materials) tv |= m.diffuseMap == "tvscreen.JPG";
    EXPECT_TRUE(tv);
}

// A diffuse map with four channels would keep its object out of the opaque pass (it would vanish);
// a light map whose alpha says its surface carries its own light must keep that alpha in the file,
// or the surface goes as dark as the lamps near it leave it.
TEST(SceneSets, DiffuseMapsAreWrittenOpaqueAndLightMapsKeepTheirAlpha) {
    for (const SetDescription& s : sets()) {
        std::set<std::string> diffuse, light;
        for (const SceneMaterial& m : s.materials) {
            diffuse.insert(m.diffuseMap);
            light.insert(m.lightMap);
        }
        for (const PictureJob& p : s.pictures) {
            if (diffuse.count(p.name)) {
                EXPECT_EQ(p.channels, content::PngChannels::Rgb) << s.fileName << " " << p.name;
            }
            if (!light.count(p.name) || diffuse.count(p.name)) continue;
            const content::Image img = p.paint();
            bool seeThrough = false;
            for (const content::Rgba& c : img.pixels) seeThrough |= c.a < 1.0f;
            EXPECT_EQ(p.channels, seeThrough ? content::PngChannels::Rgba : content::PngChannels::Rgb)
                << s.fileName << " " << p.name;
        }
    }
}

TEST(SceneSets, CamerasCutOnlyWhereAShotEnds) {
    // Each set's path is smooth except at its planned cuts: the stadium's shots change at these times.
    const std::vector<float> stadiumCuts = {12.0f, 21.5f, 29.0f, 36.5f, 43.0f, 52.07f, 56.5f, 60.0f, 63.5f, 66.87f, 75.0f};
    for (const SetDescription& s : sets()) {
        for (size_t cut : findCameraCuts(s.camera)) {
            float t = cut / kSamplesPerSecond;
            bool planned = false;
            if (s.fileName == "Vexil2000.orvo")
                for (float c : stadiumCuts) planned |= std::fabs(t - c) < 1.0f / 24;
            // A step out of a near standstill also counts as a cut; it is harmless when tiny.
            const SceneCameraSample& a = s.camera[cut - 1];
            const SceneCameraSample& b = s.camera[cut];
            float jump = std::hypot(b.position.x - a.position.x, b.position.y - a.position.y, b.position.z - a.position.z);
            if (!planned) {
                EXPECT_LT(jump, 0.5f) << s.fileName << " unplanned cut at " << t << " s";
            }
        }
    }
    // The stadium path covers the layer's scene time to 84.2 s.
    EXPECT_EQ(setNamed("Vexil2000.orvo").camera.size(), size_t(std::ceil(84.2f * 24)) + 1);
    EXPECT_EQ(setNamed("intro-005.orvo").camera.size(), size_t(std::ceil(35.833f * 24)) + 1);
}

TEST(SceneStadium, FlashTableKeepsItsFixedPointsAndSitsOnTheRows) {
    std::vector<Vec3> table = makeFlashTable(kFlashTableSize, 0x5eed2000);
    ASSERT_EQ(table.size(), 11155u);
    EXPECT_FLOAT_EQ(table[0].x, 65.851f);
    EXPECT_FLOAT_EQ(table[1].y, -121.563f);
    EXPECT_FLOAT_EQ(table[2].z, -66.572f);
    EXPECT_FLOAT_EQ(table[3].x, 60.155f);
    const auto& rings = standRings();
    for (size_t i = 0; i < table.size(); ++i) {
        Vec3 p = table[i] * 10;
        float r = std::hypot(p.x, p.z);
        bool onRow = false;
        for (const StandRing& ring : rings) {
            if (r < ring.innerRadius || r > ring.outerRadius()) continue;
            int row = int((r - ring.innerRadius) / ring.rowDepth);
            float above = p.y - ring.treadY(std::min(row, ring.rows - 1));
            float intoRow = (r - ring.innerRadius) / ring.rowDepth - float(row);
            // Between the seat and the top of a seated head, and in front of the spectators drawn
            // at the back of the row (a flash behind them would be hidden).
            onRow |= above >= 0 && above <= 45 && intoRow < kCrowdDepth;
        }
        EXPECT_TRUE(onRow) << "point " << i << " (" << p.x << ", " << p.y << ", " << p.z << ")";
        if (!onRow) break;
    }
    std::vector<uint8_t> bytes = encodeFlashTable(table);
    EXPECT_EQ(bytes.size(), 4u + 12u * 11155u);
    EXPECT_EQ(bytes[0] | (bytes[1] << 8), 11155);
}

TEST(SceneStadium, CharactersStandOnTheDeckAndTheCloseShotsSeeThem) {
    // The deck floor (top of "deck_floor") is where the layer puts the first character's feet.
    const SetDescription& s = setNamed("Vexil2000.orvo");
    float deckTop = -1e9f;
    for (const SetObject& o : s.objects)
        if (o.name == "deck_floor")
            for (Vec3 p : o.mesh.positions) deckTop = std::max(deckTop, p.y);
    EXPECT_NEAR(deckTop, -3185.013f, 0.01f);
    // Between 87.9 and 102.7 s of show time every sample looks at the characters from close by.
    Vec3 between{0, -3140, -1474};
    for (float show = 88.0f; show < 102.7f; show += 0.5f) {
        const SceneCameraSample& c = s.camera[size_t((show - 35.833f) * 24)];
        Vec3 eye{c.position.x, c.position.y, c.position.z};
        Vec3 dir = normalize({c.direction.x, c.direction.y, c.direction.z});
        Vec3 toThem = between - eye;
        EXPECT_LT(length(toThem), 260) << show;
        EXPECT_GT(dot(dir, normalize(toThem)), 0.9f) << show;
    }
    // The studio light and the two characters are in the open bowl, not inside a ring of stands.
    for (Vec3 p : {Vec3{175.476f, -3180.013f, -1383.365f}, Vec3{25.701f, -3150, -1464.59f}, Vec3{-25.701f, -3140, -1484.59f}}) {
        float r = std::hypot(p.x, p.z);
        for (const StandRing& ring : standRings())
            if (p.y > ring.firstRowY - kFasciaDrop && p.y < ring.topY()) {
                EXPECT_LT(r, ring.innerRadius);
            }
    }
}

TEST(SceneCharacters, VideoPicturesMoveLikeAPictureNotLikeNoise) {
    std::vector<PictureJob> jobs = videoFrameJobs();
    ASSERT_EQ(jobs.size(), 118u);
    EXPECT_EQ(jobs[0].name, "video\\Tabor_Pimsel_00001.png");
    EXPECT_EQ(jobs[1].name, "video\\Tabor_Pimsel_00058.png");
    EXPECT_EQ(jobs.back().name, "video\\Tabor_Pimsel_00174.png");
    content::Image a = paintVideoFrame(100), b = paintVideoFrame(101);
    EXPECT_EQ(a.width, kClipSize);
    double change = 0, roughness = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            change += std::fabs(a.at(x, y).g - b.at(x, y).g);
            if (x > 0) roughness += std::fabs(a.at(x, y).g - a.at(x - 1, y).g);
        }
    double n = double(a.width) * a.height;
    EXPECT_GT(change / n, 0.002);  // consecutive pictures differ: it moves
    EXPECT_LT(change / n, 0.15);   // but only a little: the same shot continues
    EXPECT_LT(roughness / n, 0.08);  // neighbouring pixels mostly agree: not noise
}

TEST(SceneTunnel, ComputerFacesTheViewBlendAndTheTunnelHoldsThePath) {
    const SetDescription& s = setNamed("tunnel-004.orvo");
    const SetObject* screen = nullptr;
    float zMin = 1e9f, zMax = -1e9f, xMax = 0;
    for (const SetObject& o : s.objects) {
        if (o.name == "computer_screen") screen = &o;
        if (o.name == "tunnel_walls")
            for (Vec3 p : o.mesh.positions) zMin = std::min(zMin, p.z), zMax = std::max(zMax, p.z), xMax = std::max(xMax, p.x);
    }
    ASSERT_NE(screen, nullptr);
    Vec3 centre{};
    for (Vec3 p : screen->mesh.positions) centre = centre + p * (1.0f / screen->mesh.positions.size());
    EXPECT_LT(length(centre - Vec3{4.75f, -0.4f, -48.3f}), 0.1f);
    Vec3 toEye = normalize(Vec3{4.0f, -0.6f, -47.73f} - centre);
    EXPECT_GT(dot(screen->mesh.normals[0], toEye), 0.99f);
    EXPECT_GE(zMax, 95);
    EXPECT_LE(zMin, -185);
    EXPECT_GT(xMax, 5.3f + 1.77f);  // the widest stand fits between the walls
}

TEST(SceneTitles, LettersHaveLandedWhenTheTitleEnds) {
    for (size_t i = 0; i < 5; ++i) {
        const SetDescription& s = sets()[i];
        for (const SetObject& o : s.objects) {
            if (o.keys.empty()) continue;
            const SceneKey& last = o.keys.back();
            EXPECT_LT(last.time, 2.0f * 24) << o.name;
            EXPECT_FLOAT_EQ(last.translation.y, 0);
            EXPECT_EQ(last.visible, 1);
            EXPECT_EQ(o.keys.front().visible, 0);
        }
    }
}

// The tessellator keeps process-wide state, so only whole runs of the generator (which always build
// in the same order) can be compared byte for byte; the test runs it twice.
TEST(SceneSets, GeneratorWritesTheSameBytesEveryRun) {
    namespace fs = std::filesystem;
    fs::path root = fs::temp_directory_path() / ("gen-scenes-test-" + std::to_string(::getpid()));
    fs::remove_all(root);
    for (const char* run : {"a", "b"}) {
        std::string command = std::string(GEN_SCENES_BINARY) + " " + (root / run).string() + " > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root / "a")) {
        if (!entry.is_regular_file()) continue;
        fs::path other = root / "b" / fs::relative(entry.path(), root / "a");
        std::vector<uint8_t> x, y;
        std::string why;
        ASSERT_TRUE(readWholeFile(entry.path().string(), x, why)) << why;
        ASSERT_TRUE(readWholeFile(other.string(), y, why)) << other << " " << why;
        EXPECT_TRUE(x == y) << entry.path();
        ++files;
    }
    // 10 scenes, 2 models, the flash table, 118 video pictures and the sets' own pictures.
    EXPECT_GT(files, 10u + 2u + 1u + 118u + 30u);
    EXPECT_TRUE(fs::exists(root / "a" / "video" / "Tabor_Pimsel_00174.png"));
    EXPECT_EQ(fs::file_size(root / "a" / "data" / "flashtable.bin"), 4u + 12u * 11155u);
    fs::remove_all(root);
}
