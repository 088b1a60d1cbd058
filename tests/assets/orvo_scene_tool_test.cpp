// The orvo-scene tool describes a scene written by the writer, and refuses a damaged one.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "assets/orvo_writer.h"
#include "gl/gl_test_files.h"
#include "scene_tool_run.h"
#include "scene_test_objects.h"

using namespace zelFramework;

namespace {

using orvotest::sceneMaterial;
using orvotest::sceneObject;
using orvotest::ToolRun;

ToolRun runTool(const std::string& arguments) { return orvotest::runSceneTool(arguments); }

}  // namespace

TEST(OrvoSceneTool, DescribesAWrittenScene) {
    orvotest::ScratchFolder dir;
    OrvoWriter w;
    w.addObject(sceneObject("stage", ""));
    SceneObjectDesc box = sceneObject("box", "stage", "wood");
    box.positions = {{-1, 0, 0}, {1, 0, 0}, {0, 3, 2}};
    box.normals.assign(3, Float3{0, 0, 1});
    box.indices = {0, 1, 2};
    box.keys = {sceneKey(0, {}), sceneKey(24, {1, 0, 0})};
    w.addObject(box);
    w.addObject(sceneObject("lost", "box"));
    w.addMaterial(sceneMaterial("wood", "wood.png"));
    for (int i = 0; i < 24; ++i) w.addCameraSample(cameraLookAt({0, 1, 10}, {0, 0, 0}));
    std::string error;
    ASSERT_TRUE(w.writeFile("stage.orvo", &error)) << error;

    ToolRun run = runTool("info " + (dir.path() / "stage.orvo").string());
    EXPECT_EQ(run.status, 0) << run.output;
    for (const char* line : {"objects: 3\n", "  - stage\n",
                             "    - box  mesh 3 vertices, 1 triangles  keys 2 (frames 0..24)  material wood\n",
                             "      - lost\n", "meshes: 3 vertices, 1 triangles\n",
                             "bounding box (object coordinates): (-1, 0, 0) .. (1, 3, 2)\n",
                             "  - wood  diffuse \"wood.png\"  light \"\"", "camera samples: 24 (1.00 s",
                             "auxiliary records: 0 + 0\n"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << "\n" << run.output;
}

TEST(OrvoSceneTool, RefusesDamagedFilesAndWrongUse) {
    orvotest::ScratchFolder dir;
    dir.write("short.orvo", std::string("\x05\0\0\0", 4));
    ToolRun run = runTool("info " + (dir.path() / "short.orvo").string());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("is not a sound scene file: 5 objects do not fit"), std::string::npos) << run.output;
    run = runTool("info " + (dir.path() / "absent.orvo").string());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("absent.orvo: it does not exist"), std::string::npos) << run.output;
    // A folder where the file belongs (say, "orvo-scene info resources") is named and refused.
    run = runTool("info " + dir.path().string());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("it is a folder, not a file"), std::string::npos) << run.output;
    run = runTool("describe x");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("usage: orvo-scene info FILE"), std::string::npos);
}
