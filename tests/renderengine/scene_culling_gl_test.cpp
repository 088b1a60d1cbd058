// A scene drawn as a model of the renderer leaves out the objects that lie wholly outside the view.
// What must never happen is that an object which does reach into the view is left out: one whose
// centre is outside but whose extent reaches in, one placed into view by its own keys (bounds are in
// the object's coordinates), the child of an object that is left out, and a vertex animation whose
// later frame moves into view.
#include <string>

#include "../assets/scene_test_objects.h"
#include "assets/orvo_writer.h"
#include "assets/scene_draw.h"
#include "gl/gl_readback.h"
#include "renderengine/orvo_wrap_model_render.h"
#include "support/gl_fixture.h"

using namespace zelFramework;
using namespace orvotest;

namespace {

class SceneCulling : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        glMatrixMode(GL_PROJECTION);
        glOrtho(-4, 4, -4, 4, -10, 10);
        glMatrixMode(GL_MODELVIEW);
    }
    // Draws with no program at `time` and returns how many triangles went to the rasteriser.
    GLuint draw(RenderEngine::Orvo_WrapModelRender& model, float time) {
        glClear(GL_COLOR_BUFFER_BIT);
        model.time = time;
        GLuint query = 0;
        glGenQueries(1, &query);
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        model.render(NO_SCENE_PROGRAM, true);
        glEndQuery(GL_PRIMITIVES_GENERATED);
        GLuint primitives = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &primitives);
        glDeleteQueries(1, &query);
        return primitives;
    }
    static bool litAt(float x, float y = 0) {
        Rgba c = readPixel(int((x + 4) / 8 * GL_TEST_WIDTH), int((y + 4) / 8 * GL_TEST_HEIGHT));
        return c.r > 128 || c.g > 128 || c.b > 128;
    }
    void load(RenderEngine::Orvo_WrapModelRender& model, const OrvoWriter& w) {
        std::string error;
        ASSERT_TRUE(w.build(model.scene, &error)) << error;
        prepareSceneObject(model.scene.objects[0]);
    }
};

}  // namespace

TEST_F(SceneCulling, ObjectsThatReachTheViewAreDrawnAndOnlyThoseOutsideAreLeftOut) {
    OrvoWriter w;
    w.addObject(sceneObject("root", ""));
    // Centre at x = 5.5, outside the view (x up to 4), but reaching in to x = 3.
    w.addObject(sceneQuad("reaching", "root", "", 5.5f, 2, 2.5f));
    // At x = 8 in its own coordinates, moved to x = 2 by its key.
    SceneObjectDesc moved = sceneQuad("moved", "root", "", 8, -2);
    moved.keys = {sceneKey(0, {-6, 0, 0})};
    w.addObject(moved);
    // Far outside, with a child that its own key brings back into view at x = -2.
    w.addObject(sceneQuad("away", "root", "", 30, 0));
    SceneObjectDesc child = sceneQuad("child", "away", "", 30, 0);
    child.keys = {sceneKey(0, {-32, 0, 0})};
    w.addObject(child);
    // Far outside in every frame.
    w.addObject(sceneQuad("gone", "root", "", -30, 30));
    RenderEngine::Orvo_WrapModelRender model;
    load(model, w);

    const GLuint primitives = draw(model, 0);
    EXPECT_TRUE(litAt(3.5f, 2));
    EXPECT_TRUE(litAt(2, -2));
    EXPECT_TRUE(litAt(-2, 0));
    EXPECT_FALSE(litAt(0, 0));
    // Two triangles each for the reaching, moved and child squares; "away" and "gone" never reach
    // the rasteriser.
    EXPECT_EQ(primitives, 6u);
}

TEST_F(SceneCulling, AVertexAnimationIsBoundedByAllItsFrames) {
    OrvoWriter w;
    SceneObjectDesc wave = sceneQuad("wave", "", "", 20);
    wave.keys = {sceneKey(0, {})};
    wave.frameTimes = {0, 24, 48};
    // Out of view at first and at the end; frame 1, shown from 1 s to 2 s, is at x = 2.
    wave.laterFrames = {{square(2, 0), wave.normals}, {square(20, 0), wave.normals}};
    w.addObject(wave);
    RenderEngine::Orvo_WrapModelRender model;
    load(model, w);

    draw(model, 0);
    EXPECT_FALSE(litAt(2));
    draw(model, 1.5f);
    EXPECT_TRUE(litAt(2));
    draw(model, 2.5f);
    EXPECT_FALSE(litAt(2));
}
