// Scene files the renderer places: the lights are in the world, so an object's own placement and
// scale must change where its surface is lit, not the space the lighting is worked out in.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "assets/orvo_writer.h"
#include "gl/texture.h"
#include "gl/texture_manager.h"
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

namespace {

// A picture of one colour, registered under `name` for the scene preparation to find.
void registerPlain(const char* name, int channels, uint8_t level, uint8_t alpha) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 16; ++i) {
        for (int c = 0; c < 3; ++c) pixels.push_back(level);
        if (channels == 4) pixels.push_back(alpha);
    }
    auto* texture = new zelFramework::GL_MemTexture();  // the registry keeps it for the process
    texture->create(pixels.data(), 4, 4, channels == 4 ? GL_RGBA : GL_RGB, GL_REPEAT, GL_REPEAT);
    zelFramework::GL_TextureManager::addTexture(name, texture);
}

struct TwoSquares {
    std::array<float, 4> ownLit, sceneLit;  // the centres of the left and the right square
};

// Two squares of one grey picture side by side: the left one's light map lets no scene light in
// (alpha 0), the right one's takes it all (alpha 1); both light maps are half grey. Lit by a light
// in front of them of the given strength.
TwoSquares ownLightPicture(const std::string& file, float lightStrength) {
    Renderer renderer(nullptr, nullptr, 1.0f, RE_REAL_LIGHT_MODEL);
    renderer.addOrvoScene("squares", file);
    Light light;
    light.position[2] = 3.0f;
    for (float& c : light.color) c = lightStrength;
    light.falloffDistance = 20.0f;
    renderer.light("front") = &light;
    for (float& c : renderer.ambientLightColor) c = 0.1f;
    renderer.radialLightFactor = 0.0f;
    renderer.cameraPreset = true;
    retest::lookAtFrom({0, 0, 4}, {0, 0, 0}, 0.5, 50.0);
    renderer.renderFrame(0.0f, 0.0f);
    renderer.light("front") = nullptr;
    // About 30 pixels to the unit at this distance: the squares' centres lie 18 pixels either side.
    const int y = 50, left = retest::TEST_SCREEN_WIDTH / 2 - 18, right = retest::TEST_SCREEN_WIDTH / 2 + 18;
    return {retest::readTargetPixel(renderer.deferredTarget, left, y, 1),
            retest::readTargetPixel(renderer.deferredTarget, right, y, 1)};
}

}  // namespace

// A light map's alpha is the share of the scene's lights its surface takes. A surface that carries
// its own light (a painted floodlit view, a lit sign) shows its picture times the light map alone,
// however the lamps around it are set; one with a three-channel or opaque light map follows them.
TEST_F(SceneLighting, ALightMapWithoutAlphaLightsItsSurfaceByItselfWhateverTheLamps) {
    registerPlain("own-light-grey.png", 3, 200, 255);
    registerPlain("own-light-none.png", 4, 128, 0);
    registerPlain("own-light-all.png", 4, 128, 255);
    const fs::path folder = fs::temp_directory_path() / ("orvo-own-light-test-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    zelFramework::OrvoWriter writer;
    writer.addObject(orvotest::sceneObject("root", ""));
    writer.addObject(orvotest::sceneQuad("own", "root", "own", -0.6f, 0, 0.5f));
    writer.addObject(orvotest::sceneQuad("taken", "root", "taken", 0.6f, 0, 0.5f));
    writer.addMaterial(orvotest::sceneMaterial("own", "own-light-grey.png", "own-light-none.png"));
    writer.addMaterial(orvotest::sceneMaterial("taken", "own-light-grey.png", "own-light-all.png"));
    const std::string file = (folder / "squares.orvo").string();
    ASSERT_TRUE(writer.writeFile(file));
    const TwoSquares dim = ownLightPicture(file, 0.2f), bright = ownLightPicture(file, 3.0f);
    fs::remove_all(folder);

    const float expected = 200.0f / 255.0f * 128.0f / 255.0f;
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(dim.ownLit[c], expected, 0.01f) << "channel " << c;
        EXPECT_NEAR(bright.ownLit[c], expected, 0.01f) << "channel " << c;
        // The square that takes the lights is darker than its own light in the dim light and
        // brighter in the strong one.
        EXPECT_LT(dim.sceneLit[c], expected - 0.1f) << "channel " << c;
        EXPECT_GT(bright.sceneLit[c], expected + 0.1f) << "channel " << c;
    }
}
