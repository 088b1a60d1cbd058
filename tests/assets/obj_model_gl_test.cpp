// OBJ models on the GPU: buffers made at load, sequences, and drawing with the frame blend.
#include "assets/obj_model.h"

#include <png.h>

#include <filesystem>
#include <string>

#include "gl/shader.h"
#include "gl/gl_readback.h"
#include "gl/gl_test_files.h"
#include "support/gl_fixture.h"
#include "support/trace_capture.h"

using namespace zelFramework;
using namespace orvotest;

namespace {

// A quad (two triangles) between x0 and x1 over the whole height, in clip coordinates.
std::string quadObj(float x0, float x1, int triangles = 2) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "v %g -1 0\nv %g -1 0\nv %g 1 0\nv %g 1 0\nvt 0 0\nvn 0 0 1\n"
                  "f 1/1/1 2/1/1 3/1/1\n%s",
                  x0, x1, x1, x0, triangles > 1 ? "f 1/1/1 3/1/1 4/1/1\n" : "");
    return text;
}

const char* kBlendVertex =
    "attribute vec3 animVertex;\n"
    "attribute vec3 animNormal;\n"
    "attribute vec2 animUV;\n"
    "uniform float animFactor;\n"
    "void main() {\n"
    "  vec3 p = mix(gl_Vertex.xyz, animVertex, animFactor) + 0.0001 * (animNormal + vec3(animUV, 0.0));\n"
    "  gl_Position = vec4(p, 1.0);\n"
    "}\n";
const char* kWhiteFragment = "void main() { gl_FragColor = vec4(1.0); }\n";

bool lit(int x) { return readPixel(x, GL_TEST_HEIGHT / 2).r > 128; }
// Pixel column of clip-space x.
int column(float x) { return int((x + 1) * 0.5f * GL_TEST_WIDTH); }

class ObjModelGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        ASSERT_TRUE(shader.createFromSource("blend", kBlendVertex, nullptr, kWhiteFragment, nullptr));
        trace.clear();
    }
    void draw(ObjModel& model, float position) {
        glClear(GL_COLOR_BUFFER_BIT);
        model.animPosition = position;
        glUseProgram(shader.programId);
        model.render(shader.programId, false);
        glUseProgram(0);
    }
    float animFactor() {
        float value = -1;
        glGetUniformfv(shader.programId, glGetUniformLocation(shader.programId, "animFactor"), &value);
        return value;
    }
    // No buffer, client array or animation attribute stays bound or enabled.
    void expectStateUndone() {
        EXPECT_EQ(glInteger(GL_ARRAY_BUFFER_BINDING), 0);
        for (GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
            EXPECT_FALSE(glIsEnabled(array)) << array;
        for (const char* name : {"animVertex", "animNormal", "animUV"}) {
            GLint location = glGetAttribLocation(shader.programId, name), enabled = 1;
            ASSERT_GE(location, 0) << name;
            glGetVertexAttribiv(GLuint(location), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
            EXPECT_EQ(enabled, 0) << name;
        }
        EXPECT_TRUE(drainGLErrors().empty());
    }
    ScratchFolder dir;
    TraceCapture trace;
    GL_Shader shader;
};

}  // namespace

TEST_F(ObjModelGL, LoadingUploadsTheFrameAndKeepsItsArrays) {
    dir.write("quad.obj", quadObj(-1, 1));
    ObjModel model;
    model.loadModel("quad.obj");
    ASSERT_EQ(model.frames.size(), 1u);
    const ObjFrame& f = model.frames[0];
    EXPECT_EQ(f.vertexCount(), 6u);
    auto asVector = [](const FloatArray& a) { return std::vector<float>(a.begin(), a.end()); };
    EXPECT_EQ(bufferFloats(f.positionBuffer, 18), asVector(f.mesh.positions));
    EXPECT_EQ(bufferFloats(f.normalBuffer, 18), asVector(f.mesh.normals));
    EXPECT_EQ(bufferFloats(f.texCoordBuffer, 12), asVector(f.mesh.texCoords));
    // A model without faces or without a file adds no frame, and leaves no cache.
    dir.write("nofaces.obj", "v 1 2 3\n");
    model.loadModel("nofaces.obj");
    model.loadModel("missing.obj");
    EXPECT_EQ(model.frames.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists("nofaces.obj.bin"));
    EXPECT_FALSE(std::filesystem::exists("missing.obj.bin"));
}

TEST_F(ObjModelGL, SequenceLoadsEveryStepthFileInNameOrder) {
    for (int i = 1; i <= 5; ++i) dir.write("walk/frame" + std::to_string(i) + ".obj", quadObj(-1, float(i) / 10));
    dir.write("walk/notes.txt", "v 1 1 1\n");
    ObjModel model;
    model.loadSequence("walk", 2);
    ASSERT_EQ(model.frames.size(), 3u);
    EXPECT_EQ(model.frames[0].mesh.positions[3], 0.1f);
    EXPECT_EQ(model.frames[1].mesh.positions[3], 0.3f);
    EXPECT_EQ(model.frames[2].mesh.positions[3], 0.5f);
    EXPECT_EQ(trace.text(),
              "Getting sequence walk************************************\n"
              "walk\\frame1.obj\nwalk\\frame3.obj\nwalk\\frame5.obj\n");

    ObjModel none;
    none.loadSequence("nothing-here", 1);
    dir.write("empty/readme.txt", "");
    none.loadSequence("empty", 1);
    EXPECT_TRUE(none.frames.empty());
}

TEST_F(ObjModelGL, RenderBlendsTheCurrentFrameTowardsTheNext) {
    for (const auto& [name, x0, x1] : {std::tuple{"a.obj", -1.0f, -0.5f}, std::tuple{"b.obj", 0.5f, 1.0f},
                                      std::tuple{"c.obj", -0.25f, 0.25f}}) {
        dir.write(name, quadObj(x0, x1));
    }
    ObjModel model;
    for (const char* name : {"a.obj", "b.obj", "c.obj"}) model.loadModel(name);
    ASSERT_EQ(model.frames.size(), 3u);

    draw(model, 0.25f);  // frame 0 half way to frame 1: x from -0.25 to 0.25
    EXPECT_NEAR(animFactor(), 0.5f, 1e-6);
    EXPECT_TRUE(lit(column(0)));
    EXPECT_FALSE(lit(column(-0.75f)));
    EXPECT_FALSE(lit(column(0.75f)));
    expectStateUndone();

    draw(model, 0.5f);  // exactly frame 1
    EXPECT_EQ(animFactor(), 0.0f);
    EXPECT_TRUE(lit(column(0.75f)));
    EXPECT_FALSE(lit(column(0)));
    expectStateUndone();

    draw(model, 1.7f);  // clamped: the last frame, unblended
    EXPECT_EQ(model.animPosition, 1.0f);
    EXPECT_TRUE(lit(column(0)));
    EXPECT_FALSE(lit(column(-0.75f)));
    expectStateUndone();

}

TEST_F(ObjModelGL, OneFrameDrawsUnblendedAndUnequalFramesDrawTheSmallerCount) {
    dir.write("single.obj", quadObj(-1, 1));
    ObjModel single;
    single.loadModel("single.obj");
    glUseProgram(shader.programId);
    glUniform1f(glGetUniformLocation(shader.programId, "animFactor"), 0.7f);
    glUseProgram(0);
    draw(single, 0.5f);
    EXPECT_EQ(animFactor(), 0.0f);
    EXPECT_TRUE(lit(column(-0.9f)));
    EXPECT_TRUE(lit(column(0.9f)));
    expectStateUndone();

    // Frame 0 has two triangles, frame 1 only the first: one triangle is drawn (the lower right half).
    dir.write("two.obj", quadObj(-1, 1, 2));
    dir.write("one.obj", quadObj(-1, 1, 1));
    ObjModel uneven;
    uneven.loadModel("two.obj");
    uneven.loadModel("one.obj");
    draw(uneven, 0.0f);
    EXPECT_NE(readPixel(GL_TEST_WIDTH - 10, 10).r, 0);
    EXPECT_EQ(readPixel(10, GL_TEST_HEIGHT - 10).r, 0);
    expectStateUndone();

    ObjModel empty;
    draw(empty, 0.5f);  // nothing to draw, nothing touched
    EXPECT_EQ(readPixel(GL_TEST_WIDTH / 2, GL_TEST_HEIGHT / 2).r, 0);
}
