// Live reloading on a real folder and context: a shader edit, a replaced picture, a new sync data
// file, a rebuilt scene and an edited OBJ model each reach the picture within a second of the file
// being written; a broken shader keeps the last good program and puts its log on screen.
#include "runtime/live_reload.h"

#include <png.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <functional>
#include <thread>

#include "assets/model_reload.h"
#include "assets/obj_model.h"
#include "assets/orvo_scene_reader.h"
#include "assets/orvo_writer.h"
#include "assets/scene_draw.h"
#include "assets/scene_test_objects.h"
#include "gl/gl_test_files.h"
#include "gl/shader.h"
#include "gl/texture_manager.h"
#include "runtime/show_editor.h"
#include "runtime/show_runtime.h"
#include "support/gl_fixture.h"
#include "support/trace_capture.h"
#include "sync/controller_set.h"
#include "sync/sync_data.h"

using namespace zelFramework;
using namespace orvotest;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto REACH_LIMIT = std::chrono::milliseconds(1000);

const char* PASS_VERTEX = "void main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; }\n";
const char* TINT_FRAGMENT = "uniform vec4 tint;\nvoid main() { gl_FragColor = tint; }\n";
// Red added to the tint set once at start-up: yellow only when the reload carried the tint over.
const char* REDDER_FRAGMENT = "uniform vec4 tint;\nvoid main() { gl_FragColor = vec4(1.0, tint.g, 0.0, 1.0); }\n";
const char* BROKEN_FRAGMENT = "uniform vec4 tint;\nvoid main() { gl_FragColor = tint * undefinedThing; }\n";

void quad(float x0 = -1, float y0 = -1, float x1 = 1, float y1 = 1) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y0);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y1);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y1);
    glEnd();
}

Rgba centre() { return readPixel(GL_TEST_WIDTH / 2, GL_TEST_HEIGHT / 2); }
bool white(Rgba c) { return c.r == 255 && c.g == 255 && c.b == 255; }
bool black(Rgba c) { return c.r == 0 && c.g == 0 && c.b == 0; }

class LiveReloadGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        runtime() = ShowRuntime{};
        std::string problem;
        ASSERT_TRUE(live.start(std::filesystem::current_path(), problem)) << problem;
    }
    void TearDown() override {
        runtime() = ShowRuntime{};
        GLTest::TearDown();
    }

    // Frames of poll, draw, read until the picture shows what is wanted; how long that took from
    // `written`, or nothing when a second went by first.
    std::optional<Clock::duration> frameUntil(Clock::time_point written, const std::function<void()>& draw,
                                              const std::function<bool()>& shows) {
        while (Clock::now() - written < REACH_LIMIT) {
            live.poll();
            glClear(GL_COLOR_BUFFER_BIT);
            draw();
            if (shows()) {
                const auto took = Clock::now() - written;
                std::printf("  reached the picture after %.1f ms\n",
                            std::chrono::duration<double, std::milli>(took).count());
                return took;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return std::nullopt;
    }
    // Polls for a tenth of a second, for a write that must change nothing.
    void pollAWhile() {
        for (int i = 0; i < 20; ++i) {
            live.poll();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    ScratchFolder folder;  // the resources folder, current while the test runs
    LiveReload live{runtime()};
};

TEST_F(LiveReloadGL, AShaderEditReachesThePictureKeepingItsUniformsAndABrokenOneKeepsTheLastGoodProgram) {
    folder.write("shaders/liveVert.h", PASS_VERTEX);
    folder.write("shaders/liveFrag.h", TINT_FRAGMENT);
    GL_Shader shader;
    ASSERT_TRUE(shader.loadFromFiles("live", "liveVert.h", "liveFrag.h", nullptr));
    shader.use();
    glUniform4f(shader.uniformLocation("tint"), 0.0f, 1.0f, 0.0f, 1.0f);  // set once, like a sampler
    glUseProgram(0);
    const auto drawShader = [&] {
        shader.use();
        quad();
        glUseProgram(0);
    };
    live.poll();  // the scrambled copies the load wrote are not edits
    glClear(GL_COLOR_BUFFER_BIT);
    drawShader();
    ASSERT_EQ(centre(), (Rgba{0, 255, 0, 255}));

    folder.write("shaders/liveFrag.h", REDDER_FRAGMENT);
    auto took = frameUntil(Clock::now(), drawShader, [] { return centre() == Rgba{255, 255, 0, 255}; });
    ASSERT_TRUE(took.has_value()) << "the edit did not reach the picture within 1 s; it shows " << centre();
    EXPECT_EQ(live.failureText(), "");
    EXPECT_NE(live.lastReload().find("shaders/liveFrag.h"), std::string::npos);

    TraceCapture capture;
    folder.write("shaders/liveFrag.h", BROKEN_FRAGMENT);
    took = frameUntil(Clock::now(), drawShader, [&] { return !live.failureText().empty(); });
    ASSERT_TRUE(took.has_value()) << "the failed build was not reported within 1 s";
    EXPECT_EQ(centre(), (Rgba{255, 255, 0, 255}));  // the last good program still draws
    EXPECT_TRUE(shader.isValid);
    EXPECT_NE(live.failureText().find("undefinedThing"), std::string::npos) << live.failureText();
    EXPECT_NE(live.failureText().find("shaders/liveFrag.h"), std::string::npos);
    // A typo must not end the show: the trace says WARNING, never ERROR.
    EXPECT_TRUE(capture.contains("undefinedThing"));
    EXPECT_FALSE(capture.contains("ERROR")) << capture.text();

    // On screen: a dark panel with red text near the top of the picture.
    glClear(GL_COLOR_BUFFER_BIT);
    drawShader();
    live.draw();
    const std::vector<uint8_t> top = readPixelsRgba(0, GL_TEST_HEIGHT * 3 / 4, GL_TEST_WIDTH, GL_TEST_HEIGHT / 4 - 4);
    int reddish = 0, dark = 0;
    for (size_t i = 0; i + 3 < top.size(); i += 4) {
        reddish += top[i] > 200 && top[i + 1] < 160 && top[i + 2] < 140;
        dark += top[i] < 80 && top[i + 1] < 80;
    }
    EXPECT_GT(reddish, 20);
    EXPECT_GT(dark, 1000);
    EXPECT_EQ(centre(), (Rgba{255, 255, 0, 255}));  // the panel leaves the middle of the picture alone

    folder.write("shaders/liveFrag.h", TINT_FRAGMENT);
    took = frameUntil(Clock::now(), drawShader, [] { return centre() == Rgba{0, 255, 0, 255}; });
    ASSERT_TRUE(took.has_value());
    EXPECT_EQ(live.failureText(), "");  // a good build clears the message
}

TEST_F(LiveReloadGL, AReplacedPictureReachesTheTextureAlreadyInUse) {
    const auto solid = [](uint8_t r, uint8_t g, uint8_t b, int size) {
        std::vector<uint8_t> pixels;
        for (int i = 0; i < size * size; ++i) pixels.insert(pixels.end(), {r, g, b});
        return pixels;
    };
    ASSERT_TRUE(writePng("live_picture.png", 4, 4, PNG_COLOR_TYPE_RGB, 8, solid(255, 0, 0, 4)));
    GL_Texture* texture = GL_TextureManager::getTexture("live_picture.png");
    ASSERT_NE(texture, nullptr);
    const GLuint id = texture->textureId;
    const auto drawPicture = [&] {
        glColor4f(1, 1, 1, 1);
        texture->bind(GL_TEXTURE0);
        quad();
        texture->unbind();
        glDisable(GL_TEXTURE_2D);
    };
    live.poll();
    drawPicture();
    ASSERT_EQ(centre(), (Rgba{255, 0, 0, 255}));

    // Another size too: the texture object takes whatever the new file holds.
    ASSERT_TRUE(writePng("live_picture.png", 8, 8, PNG_COLOR_TYPE_RGB, 8, solid(0, 0, 255, 8)));
    auto took = frameUntil(Clock::now(), drawPicture, [] { return centre() == Rgba{0, 0, 255, 255}; });
    ASSERT_TRUE(took.has_value()) << "the picture did not change within 1 s; it shows " << centre();
    EXPECT_EQ(texture->textureId, id);
    EXPECT_EQ(texture->width, 8);
    EXPECT_EQ(GL_TextureManager::getTexture("live_picture.png"), texture);

    // A file that does not decode leaves the picture as it was.
    folder.write("live_picture.png", "not a picture");
    pollAWhile();
    glClear(GL_COLOR_BUFFER_BIT);
    drawPicture();
    EXPECT_EQ(centre(), (Rgba{0, 0, 255, 255}));
}

std::string syncFileWith(float value) {
    SyncData data;
    SyncControllerRecord record;
    record.storedName = "live";
    record.keys = {{0.0f, value, 0, 0}, {100.0f, value, 0, 0}};
    data.controllers.push_back(record);
    const std::vector<uint8_t> bytes = serializeSyncData(data);
    return std::string(bytes.begin(), bytes.end());
}

// Counts how often it was told that every key was replaced.
class CountingEditor : public ShowEditor {
public:
    explicit CountingEditor(int& replaced) : replaced_(replaced) {}
    void activate() override {}
    void draw() override {}
    void handleMessage(uint32_t, uintptr_t, intptr_t) override {}
    void keysReplaced() override { ++replaced_; }
    void shutdown() override {}

private:
    int& replaced_;
};

TEST_F(LiveReloadGL, ANewSyncDataFileReplacesTheKeysAtTheShowTimeItHas) {
    ControllerSet controllers;
    int replaced = 0;
    CountingEditor editor(replaced);
    runtime().editor = &editor;
    std::filesystem::create_directories("editor");
    folder.write("data/demosynch.dat", syncFileWith(0.25f));
    ASSERT_TRUE(controllers.load("data\\demosynch.dat"));
    Controller* live_ = controllers.get("live");
    runtime().controllers = &controllers;
    runtime().startOffset = 40.0f;
    runtime().playTime = 2.5f;
    const auto drawValue = [&] {
        glColor4f(live_->value, live_->value, live_->value, 1.0f);
        quad();
    };
    live.poll();
    controllers.update(42.5f);
    drawValue();
    ASSERT_EQ(centre().r, 64);

    folder.write("data/demosynch.dat", syncFileWith(0.75f));
    auto took = frameUntil(Clock::now(), drawValue, [] { return centre().r == 191; });
    ASSERT_TRUE(took.has_value()) << "the new keys did not reach the picture within 1 s; it shows " << centre();
    EXPECT_EQ(controllers.get("live"), live_);  // the same controller, new keys
    EXPECT_FLOAT_EQ(runtime().startOffset + runtime().playTime, 42.5f);
    EXPECT_EQ(replaced, 1);
    // What the editor held before is not lost: it is kept beside the editor's snapshots.
    ControllerSet before;
    ASSERT_TRUE(before.load("editor/keys-before-reload.dat"));
    before.update(42.5f);
    EXPECT_FLOAT_EQ(before.get("live")->value, 0.25f);
    EXPECT_NE(live.lastReload().find("editor/keys-before-reload.dat"), std::string::npos) << live.lastReload();

    // The same bytes again (the editor's own save comes back this way) change nothing.
    folder.write("data/demosynch.dat", syncFileWith(0.75f));
    pollAWhile();
    EXPECT_EQ(replaced, 1);

    // A broken file keeps the keys in memory and says so.
    folder.write("data/demosynch.dat", "\x01\x00");
    took = frameUntil(Clock::now(), drawValue, [&] { return !live.failureText().empty(); });
    ASSERT_TRUE(took.has_value());
    EXPECT_EQ(centre().r, 191);
    EXPECT_NE(live.failureText().find("data/demosynch.dat"), std::string::npos);
    runtime().editor = nullptr;
}

void writeSceneWithQuadAt(float cx) {
    OrvoWriter writer;
    writer.addObject(sceneObject("root", ""));
    writer.addObject(sceneQuad("square", "root", "", cx));
    std::string error;
    ASSERT_TRUE(writer.writeFile("live.orvo", &error)) << error;
}

TEST_F(LiveReloadGL, ARebuiltSceneFileReplacesTheSceneOnScreen) {
    writeSceneWithQuadAt(-0.5f);
    OrvoScene scene;
    loadOrvoScene("live.orvo", false, scene, false);
    ASSERT_EQ(scene.objectCount(), 2u);
    prepareSceneObject(scene.objects[0]);
    rememberSceneFile("live.orvo", scene, false, false);
    const auto drawIt = [&] {
        glColor4f(1, 1, 1, 1);
        drawScene(scene, NO_SCENE_PROGRAM, true, 0.0f);
        glActiveTexture(GL_TEXTURE1);
        glDisable(GL_TEXTURE_2D);
        glActiveTexture(GL_TEXTURE0);
        glDisable(GL_TEXTURE_2D);
    };
    const auto left = [] { return readPixel(GL_TEST_WIDTH / 4, GL_TEST_HEIGHT / 2); };
    const auto right = [] { return readPixel(GL_TEST_WIDTH * 3 / 4, GL_TEST_HEIGHT / 2); };
    live.poll();
    glClear(GL_COLOR_BUFFER_BIT);
    drawIt();
    ASSERT_TRUE(white(left())) << left();
    ASSERT_TRUE(black(right())) << right();

    writeSceneWithQuadAt(0.5f);
    auto took = frameUntil(Clock::now(), drawIt, [&] { return white(right()); });
    ASSERT_TRUE(took.has_value()) << "the rebuilt scene did not reach the picture within 1 s";
    EXPECT_TRUE(black(left())) << left();

    // A truncated file leaves the scene drawn as it was.
    folder.write("live.orvo", "\x05");
    took = frameUntil(Clock::now(), drawIt, [&] { return !live.failureText().empty(); });
    ASSERT_TRUE(took.has_value());
    EXPECT_TRUE(white(right())) << right();
    forgetSceneFile(scene);
}

const char* TRIANGLE_LEFT = "v -0.9 -0.5 0\nv -0.1 -0.5 0\nv -0.5 0.5 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";
const char* TRIANGLE_RIGHT = "v 0.1 -0.5 0\nv 0.9 -0.5 0\nv 0.5 0.5 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";

TEST_F(LiveReloadGL, AnEditedObjModelIsParsedAgainDespiteItsCache) {
    folder.write("live.obj", TRIANGLE_LEFT);
    {
        ObjModel model;
        model.loadModel("live.obj");
        ASSERT_EQ(model.frames.size(), 1u);
        ASSERT_TRUE(std::filesystem::exists("live.obj.bin"));  // the cache that would otherwise win
        const auto drawIt = [&] {
            glColor4f(1, 1, 1, 1);
            model.render(0, false);
        };
        live.poll();
        glClear(GL_COLOR_BUFFER_BIT);
        drawIt();
        ASSERT_TRUE(white(readPixel(GL_TEST_WIDTH / 4, GL_TEST_HEIGHT / 2)));

        folder.write("live.obj", TRIANGLE_RIGHT);
        auto took = frameUntil(Clock::now(), drawIt, [] {
            return white(readPixel(GL_TEST_WIDTH * 3 / 4, GL_TEST_HEIGHT / 2));
        });
        ASSERT_TRUE(took.has_value()) << "the edited model did not reach the picture within 1 s";
        EXPECT_TRUE(black(readPixel(GL_TEST_WIDTH / 4, GL_TEST_HEIGHT / 2)));
    }
    // Once the model is gone, an edit reaches nothing and harms nothing.
    folder.write("live.obj", TRIANGLE_LEFT);
    pollAWhile();
    EXPECT_EQ(live.failureText(), "");
}

TEST(LiveReloadKinds, FilesAreSortedByWhatTheShowMakesOfThem) {
    EXPECT_EQ(classifyResource("shaders/postFXFrag.h"), ResourceKind::Shader);
    EXPECT_EQ(classifyResource("shaders/postFXFrag.h.bin"), ResourceKind::Ignored);  // the show's own copy
    EXPECT_EQ(classifyResource("shaders/postFXFrag.h.bin.4242-0.part"), ResourceKind::Ignored);  // being written
    EXPECT_EQ(classifyResource("data/demosynch.dat"), ResourceKind::SyncData);
    EXPECT_EQ(classifyResource("data/demosynch.dat.saving"), ResourceKind::Ignored);
    EXPECT_EQ(classifyResource("data/other.dat"), ResourceKind::Ignored);
    EXPECT_EQ(classifyResource("arena_floor.PNG"), ResourceKind::Picture);
    EXPECT_EQ(classifyResource("Endscreen/logo.jpg"), ResourceKind::Picture);
    EXPECT_EQ(classifyResource("intro-005.orvo"), ResourceKind::Model);
    EXPECT_EQ(classifyResource("pimsel.obj"), ResourceKind::Model);
    EXPECT_EQ(classifyResource("pimsel.obj.bin"), ResourceKind::Ignored);
    EXPECT_EQ(classifyResource("anthem.mp3"), ResourceKind::Ignored);
    EXPECT_EQ(classifyResource("folder.png/readme"), ResourceKind::Ignored);
}

}  // namespace
