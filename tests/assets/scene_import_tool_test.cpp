// orvo-scene import on models the test writes itself: a glTF with a node tree, an animation, a
// camera, a textured material, a light and vertex colours, and an OBJ with two objects, two
// materials and a line. The results are read back with orvo-scene info and with the scene reader.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "assets/byte_io.h"
#include "assets/orvo_scene_reader.h"
#include "gl/gl_test_files.h"
#include "scene_tool_run.h"

using namespace zelFramework;

namespace {

using orvotest::ToolRun;

ToolRun runScene(const std::string& arguments) { return orvotest::runSceneTool(arguments); }

std::string base64(const std::vector<uint8_t>& bytes) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t v = uint32_t(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= uint32_t(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) v |= bytes[i + 2];
        out += digits[(v >> 18) & 63];
        out += digits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(v >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? digits[v & 63] : '=';
    }
    return out;
}

void putFloats(std::vector<uint8_t>& bytes, std::initializer_list<float> values) {
    for (float f : values) {
        uint8_t b[4];
        std::memcpy(b, &f, 4);
        bytes.insert(bytes.end(), b, b + 4);
    }
}

// One triangle "mover" that slides from x 0 to 2 over a second, a camera "eye" at (0, 1, 10), a
// node "spinner" turned a quarter turn about Y, and a point light.
std::string gltfModel() {
    std::vector<uint8_t> b;
    putFloats(b, {-1, 0, 0, 1, 0, 0, 0, 2, 0});             // 0: positions
    putFloats(b, {0, 0, 1, 0, 0, 1, 0, 0, 1});               // 36: normals
    putFloats(b, {0, 0, 1, 0, 0.5f, 1});                     // 72: texture coordinates
    putFloats(b, {1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1});      // 96: vertex colours
    for (uint32_t i : {0u, 1u, 2u})                          // 144: indices
        for (int k = 0; k < 4; ++k) b.push_back(uint8_t(i >> (8 * k)));
    putFloats(b, {0, 1});                                    // 156: key times
    putFloats(b, {0, 0, 0, 2, 0, 0});                        // 164: key translations
    const std::string views = R"([
 {"buffer":0,"byteOffset":0,"byteLength":36},{"buffer":0,"byteOffset":36,"byteLength":36},
 {"buffer":0,"byteOffset":72,"byteLength":24},{"buffer":0,"byteOffset":96,"byteLength":48},
 {"buffer":0,"byteOffset":144,"byteLength":12},{"buffer":0,"byteOffset":156,"byteLength":8},
 {"buffer":0,"byteOffset":164,"byteLength":24}])";
    const std::string accessors = R"([
 {"bufferView":0,"componentType":5126,"count":3,"type":"VEC3","min":[-1,0,0],"max":[1,2,0]},
 {"bufferView":1,"componentType":5126,"count":3,"type":"VEC3"},
 {"bufferView":2,"componentType":5126,"count":3,"type":"VEC2"},
 {"bufferView":3,"componentType":5126,"count":3,"type":"VEC4"},
 {"bufferView":4,"componentType":5125,"count":3,"type":"SCALAR"},
 {"bufferView":5,"componentType":5126,"count":2,"type":"SCALAR","min":[0],"max":[1]},
 {"bufferView":6,"componentType":5126,"count":2,"type":"VEC3"}])";
    return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],
 "extensionsUsed":["KHR_lights_punctual"],
 "extensions":{"KHR_lights_punctual":{"lights":[{"type":"point","color":[1,1,1],"intensity":5}]}},
 "nodes":[
  {"name":"stage","children":[1,2,3,4]},
  {"name":"mover","mesh":0},
  {"name":"eye","camera":0,"translation":[0,1,10]},
  {"name":"spinner","rotation":[0,0.70710678,0,0.70710678],"translation":[3,0,0]},
  {"name":"lamp","extensions":{"KHR_lights_punctual":{"light":0}}}],
 "meshes":[{"name":"tri","primitives":[{"attributes":{"POSITION":0,"NORMAL":1,"TEXCOORD_0":2,"COLOR_0":3},
   "indices":4,"material":0}]}],
 "materials":[{"name":"wood","pbrMetallicRoughness":{"baseColorTexture":{"index":0},"roughnessFactor":0.25}}],
 "textures":[{"source":0}],"images":[{"uri":"wood.png"}],
 "cameras":[{"type":"perspective","perspective":{"yfov":0.8,"aspectRatio":2.0,"znear":0.5,"zfar":200}}],
 "animations":[{"samplers":[{"input":5,"output":6,"interpolation":"LINEAR"}],
   "channels":[{"sampler":0,"target":{"node":1,"path":"translation"}}]}],
 "accessors":)" + accessors + R"(,"bufferViews":)" + views + R"(,
 "buffers":[{"byteLength":)" + std::to_string(b.size()) + R"(,"uri":"data:application/octet-stream;base64,)" +
           base64(b) + R"("}]})";
}

const SceneObject* findObject(const OrvoScene& scene, const std::string& name) {
    for (const SceneObject& o : scene.objects)
        if (o.name == name) return &o;
    return nullptr;
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

#ifndef ORVO_WITH_ASSIMP
TEST(OrvoSceneImport, WithoutAssimpTheToolSaysItCannotImport) {
    ToolRun run = runScene("import model.gltf out.orvo");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(has(run.output, "libassimp-dev")) << run.output;
}
#else

TEST(OrvoSceneImport, AGltfKeepsItsTreeAnimationCameraAndMaterialAndListsWhatItCannotHold) {
    orvotest::ScratchFolder dir;
    dir.write("model.gltf", gltfModel());
    ASSERT_TRUE(orvotest::writePng(dir.path() / "wood.png", 2, 2, PNG_COLOR_TYPE_RGB, 8, std::vector<uint8_t>(12, 128)));

    ToolRun run = runScene("import model.gltf out.orvo");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(has(run.output, "picture: wood.png")) << run.output;
    EXPECT_TRUE(has(run.output, "not held: 1 lights")) << run.output;
    EXPECT_TRUE(has(run.output, "not held: mesh mover: vertex colours")) << run.output;

    ToolRun info = runScene("info out.orvo");
    ASSERT_EQ(info.status, 0) << info.output;
    EXPECT_TRUE(has(info.output, "  - stage\n")) << info.output;
    EXPECT_TRUE(has(info.output, "    - mover  mesh 3 vertices, 1 triangles  keys 25 (frames 0..24)  material wood\n"))
        << info.output;
    EXPECT_TRUE(has(info.output, "    - spinner  keys 1 (frames 0..0)\n")) << info.output;
    EXPECT_TRUE(has(info.output, "wood  diffuse \"wood.png\"  light \"\"  transparency 0  roughness 0.25")) << info.output;
    EXPECT_TRUE(has(info.output, "camera samples: 1")) << info.output;
    EXPECT_TRUE(has(info.output, "first at (0, 1, 10) looking (0, 0, -1)")) << info.output;
    EXPECT_FALSE(has(info.output, "not drawn")) << info.output;

    std::vector<uint8_t> bytes;
    std::string readProblem;
    ASSERT_TRUE(readWholeFile("out.orvo", bytes, readProblem, uint64_t(1) << 30)) << readProblem;
    OrvoScene scene;
    std::string problem;
    ASSERT_TRUE(parseOrvoScene(bytes.data(), bytes.size(), scene, &problem)) << problem;
    const SceneObject* mover = findObject(scene, "mover");
    ASSERT_NE(mover, nullptr);
    ASSERT_EQ(mover->keys.size(), 25u);
    EXPECT_NEAR(mover->keys[12].translation.x, 1.0f, 1e-4f);  // half a second into the slide
    EXPECT_NEAR(mover->keys[24].translation.x, 2.0f, 1e-4f);
    EXPECT_FLOAT_EQ(mover->keys[12].time, 12.0f);
    // glTF puts v = 0 at the picture's top row, as the show does: the coordinates arrive unchanged.
    ASSERT_EQ(mover->texCoords.size(), 6u);
    EXPECT_EQ(mover->texCoords, (std::vector<float>{0, 0, 1, 0, 0.5f, 1}));
    const SceneObject* spinner = findObject(scene, "spinner");
    ASSERT_NE(spinner, nullptr);
    ASSERT_EQ(spinner->keys.size(), 1u);
    // A quarter turn about Y is the first of the three angles.
    EXPECT_NEAR(spinner->keys[0].rotation.x, 90.0f, 0.01f);
    EXPECT_NEAR(spinner->keys[0].rotation.y, 0.0f, 0.01f);
    EXPECT_NEAR(spinner->keys[0].rotation.z, 0.0f, 0.01f);
    EXPECT_NEAR(spinner->keys[0].translation.x, 3.0f, 1e-5f);
    ASSERT_EQ(scene.cameraSamples.size(), 1u);
    const SceneCameraSample& eye = scene.cameraSamples[0];
    // A vertical angle of 0.8 rad (45.8 degrees) at an aspect of 2.
    EXPECT_NEAR(eye.fovY, 0.8f * 57.29578f, 0.05f);
    EXPECT_NEAR(eye.fovX, 2.0f * std::atan(2.0f * std::tan(0.4f)) * 57.29578f, 0.05f);
    EXPECT_FLOAT_EQ(eye.nearPlane, 0.5f);
    EXPECT_FLOAT_EQ(eye.farPlane, 200.0f);
}

TEST(OrvoSceneImport, AnObjWithTwoObjectsTwoMaterialsAndALine) {
    orvotest::ScratchFolder dir;
    dir.write("model.mtl", "newmtl red\nKd 1 1 1\nmap_Kd red.png\nNs 40\n\nnewmtl plain\nKd 0.2 0.4 0.6\n");
    dir.write("model.obj",
              "mtllib model.mtl\n"
              "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\nv 3 0 0\nv 3 1 0\n"
              "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
              "vn 0 0 1\n"
              "o boxA\nusemtl red\nf 1/1/1 2/2/1 3/3/1 4/4/1\n"
              "o boxB\nusemtl plain\nf 5/1/1 6/2/1 7/3/1\nl 5 7\n");
    ToolRun run = runScene("import model.obj out.orvo");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(has(run.output, "picture: red.png")) << run.output;
    EXPECT_TRUE(has(run.output, "not held: material plain: its colour is not drawn")) << run.output;
    EXPECT_TRUE(has(run.output, "points or lines left out")) << run.output;

    ToolRun info = runScene("info out.orvo");
    ASSERT_EQ(info.status, 0) << info.output;
    // The quad is split into two triangles; the line is not part of any mesh.
    EXPECT_TRUE(has(info.output, "- boxA  mesh 4 vertices, 2 triangles  material red\n")) << info.output;
    EXPECT_TRUE(has(info.output, "boxB")) << info.output;
    EXPECT_TRUE(has(info.output, "mesh 3 vertices, 1 triangles  material plain")) << info.output;
    EXPECT_TRUE(has(info.output, "red  diffuse \"red.png\"")) << info.output;
    EXPECT_TRUE(has(info.output, "roughness 0.5")) << info.output;  // shininess 40 of 80
    EXPECT_TRUE(has(info.output, "camera samples: 0")) << info.output;
    EXPECT_FALSE(has(info.output, "not drawn")) << info.output;
}

TEST(OrvoSceneImport, AnUnreadableModelWritesNothingAndSaysWhy) {
    orvotest::ScratchFolder dir;
    dir.write("broken.gltf", "{ this is not json");
    ToolRun run = runScene("import broken.gltf out.orvo");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(has(run.output, "cannot read broken.gltf")) << run.output;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out.orvo"));
    run = runScene("import absent.obj out.orvo");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(has(run.output, "absent.obj")) << run.output;
    run = runScene("import only-one-argument");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(has(run.output, "orvo-scene import MODEL OUT.orvo")) << run.output;
}
#endif
