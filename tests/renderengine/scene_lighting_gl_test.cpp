// Scene files the renderer places: the lights are in the world, so an object's own placement and
// scale must change where its surface is lit, not the space the lighting is worked out in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "assets/orvo_writer.h"
#include "renderengine/renderer.h"
#include "renderer_test_support.h"
#include "assets/scene_test_objects.h"

using namespace RenderEngine;

namespace {

namespace fs = std::filesystem;

class SceneLighting : public retest::RendererGLTest {};

// A square facing +z, `half` across either way at depth `z`, written as a scene file.
std::string writeSquare(const fs::path& folder, const std::string& name, float half, float z) {
    zelFramework::OrvoWriter writer;
    writer.addObject(orvotest::sceneObject("root", ""));
    zelFramework::SceneObjectDesc square = orvotest::sceneQuad("square", "root", "", 0, 0, half);
    for (zelFramework::Float3& p : square.positions) p.z = z;
    writer.addObject(square);
    const std::string path = (folder / name).string();
    EXPECT_TRUE(writer.writeFile(path));
    return path;
}

// The scene `file` lit by one light off to the side, its record moved by `depth` and scaled by
// `scale`; the finished picture.
std::vector<uint8_t> litPicture(const std::string& file, float depth, float scale) {
    Renderer renderer(nullptr, nullptr, 1.0f, RE_REAL_LIGHT_MODEL);
    renderer.addOrvoScene("square", file);
    RenderObject* record = renderer.object("square");
    EXPECT_NE(record, nullptr);
    if (!record) return {};
    record->position[2] = depth;
    record->scale = scale;
    Light light;
    light.position[0] = 1.5f, light.position[1] = 1.0f, light.position[2] = 0.5f;
    for (float& c : light.color) c = 0.9f;
    light.falloffDistance = 12.0f;
    renderer.light("side") = &light;
    for (float& c : renderer.ambientLightColor) c = 0.05f;
    renderer.radialLightFactor = 0.0f;
    renderer.cameraPreset = true;
    retest::lookAtFrom({0, 0, 4}, {0, 0, -2}, 0.5, 50.0);
    renderer.renderFrame(0.0f, 0.0f);
    renderer.light("side") = nullptr;
    return retest::readTargetPicture(renderer.sceneryTarget);
}

}  // namespace

// The same square once written at its place and size, once written small at the origin and moved
// back and doubled by its record: both must be lit alike, brightest towards the light. Lit in its
// own model space it came out as if it stood at the origin with normals twice as long.
TEST_F(SceneLighting, PlacedAndScaledSceneIsLitWhereItStands) {
    const fs::path folder = fs::temp_directory_path() / ("orvo-lighting-test-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::vector<uint8_t> written = litPicture(writeSquare(folder, "there.orvo", 1.0f, -2.0f), 0.0f, 1.0f);
    const std::vector<uint8_t> placed = litPicture(writeSquare(folder, "origin.orvo", 0.5f, 0.0f), -2.0f, 2.0f);
    fs::remove_all(folder);
    ASSERT_EQ(written.size(), placed.size());
    ASSERT_FALSE(written.empty());

    int largest = 0, lit = 0;
    for (size_t i = 0; i < written.size(); ++i) {
        if (i % 4 == 3) continue;
        largest = std::max(largest, std::abs(int(written[i]) - int(placed[i])));
        if (written[i] > 60) ++lit;
    }
    EXPECT_LE(largest, 3) << "the placed square is lit differently from the same square written there";
    EXPECT_GT(lit, 300) << "the square must be lit at all for the comparison to mean anything";
}
