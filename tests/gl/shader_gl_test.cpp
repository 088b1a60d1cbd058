// Shader programs: prefixes, compile failures and their messages, the scrambled copies, the limits.
#include "gl/shader.h"
#include "gl/shader_scramble.h"

#include "gl_test_files.h"
#include "support/gl_fixture.h"
#include "support/trace_capture.h"

#include <filesystem>

using namespace zelFramework;
using namespace orvotest;

namespace {

// Colours the pixel by which of two macros each stage saw.
const char* MARKED_VERTEX = R"(
varying vec4 marker;
void main()
{
#ifdef REFLECTION
	marker = vec4(1.0, 0.0, 0.0, 1.0);
#else
	marker = vec4(0.0, 0.0, 0.0, 1.0);
#endif
	gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
)";

const char* MARKED_FRAGMENT = R"(
varying vec4 marker;
void main()
{
	gl_FragColor = marker;
#ifdef REFLECTION
	gl_FragColor.g = 1.0;
#endif
}
)";

const char* BROKEN_FRAGMENT = "void main() { gl_FragColor = undefinedThing; }\n";

// Draws a full-viewport quad with the program and reads the centre pixel.
Rgba drawWith(const GL_Shader& shader) {
    glClear(GL_COLOR_BUFFER_BIT);
    shader.use();
    glBegin(GL_QUADS);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    glUseProgram(0);
    return readPixel(GL_TEST_WIDTH / 2, GL_TEST_HEIGHT / 2);
}

}  // namespace

using Shaders = GLTest;

TEST_F(Shaders, PrefixReachesBothStages) {
    TraceCapture capture;
    GL_Shader plain, reflecting;
    ASSERT_TRUE(plain.createFromSource("plain", MARKED_VERTEX, nullptr, MARKED_FRAGMENT, nullptr));
    ASSERT_TRUE(reflecting.createFromSource("reflect", MARKED_VERTEX, nullptr, MARKED_FRAGMENT, "#define REFLECTION\n"));
    EXPECT_EQ(drawWith(plain), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(drawWith(reflecting), (Rgba{255, 255, 0, 255}));
    EXPECT_EQ(capture.count("INFO (shaderCompiler): (reflect) - shader created! (Log: "), 1);
}

TEST_F(Shaders, FailingFragmentStageGivesOneWarningOneErrorAndNoProgram) {
    TraceCapture capture({TRACE_INFO, TRACE_TO_DEBUGGER, nullptr, TRACE_ERROR});
    GL_Shader broken;
    EXPECT_FALSE(broken.createFromSource("broken", MARKED_VERTEX, nullptr, BROKEN_FRAGMENT, nullptr));
    EXPECT_EQ(broken.programId, 0u);
    EXPECT_FALSE(broken.isValid);
    EXPECT_TRUE(broken.shaderIds.empty());
    // Exactly one warning (carrying the compiler's log) and one error.
    EXPECT_EQ(capture.count("WARNING (shaderCompiler): (broken) - Unable to compile shader source: "), 1);
    EXPECT_TRUE(capture.contains("undefinedThing"));
    EXPECT_EQ(capture.count("ERROR (shaderCompiler): (broken) - Unable to compile shader!\n"), 1);
    EXPECT_EQ(capture.count("WARNING") + capture.count("ERROR"), 2);
    EXPECT_TRUE(capture.quitPosted());
    EXPECT_TRUE(drainGLErrors().empty());
}

TEST_F(Shaders, MissingUniformWarnsOnEveryLookup) {
    TraceCapture capture;
    GL_Shader shader;
    ASSERT_TRUE(shader.createFromSource("uniforms", MARKED_VERTEX, nullptr,
                                        "uniform float gain; void main() { gl_FragColor = vec4(gain); }\n", nullptr));
    EXPECT_GE(shader.uniformLocation("gain"), 0);
    EXPECT_EQ(shader.uniformLocation("absent"), -1);
    EXPECT_EQ(shader.uniformLocation("absent"), -1);
    EXPECT_EQ(capture.count("WARNING (shaderAccess): unable to retrieve the following uniform variable: absent "
                            "for shader: uniforms\n"), 2);

    // A failed program answers -1 with the warning, without asking OpenGL about program 0.
    GL_Shader failed;
    EXPECT_FALSE(failed.createFromSource("failed", nullptr, nullptr, BROKEN_FRAGMENT, nullptr));
    EXPECT_EQ(failed.uniformLocation("gain"), -1);
    EXPECT_TRUE(capture.contains("uniform variable: gain for shader: failed\n"));
    EXPECT_TRUE(drainGLErrors().empty());
}

TEST_F(Shaders, ScrambledCopyIsWrittenAndAloneBuildsTheSameProgram) {
    TraceCapture capture;
    ScratchFolder folder;
    folder.write("shaders/markVert.h", MARKED_VERTEX);
    folder.write("shaders/markFrag.h", MARKED_FRAGMENT);

    GL_Shader fromSources;
    ASSERT_TRUE(fromSources.loadFromFiles("mark", "markVert.h", "markFrag.h", "#define REFLECTION\n"));
    std::string copy = folder.read("shaders/markVert.h.bin");
    ASSERT_EQ(copy.size(), std::string(MARKED_VERTEX).size());
    EXPECT_NE(copy, MARKED_VERTEX);
    scrambleShaderText(reinterpret_cast<uint8_t*>(copy.data()), copy.size());
    EXPECT_EQ(copy, MARKED_VERTEX);

    std::filesystem::remove(folder.path() / "shaders/markVert.h");
    std::filesystem::remove(folder.path() / "shaders/markFrag.h");
    GL_Shader fromCopies;
    ASSERT_TRUE(fromCopies.loadFromFiles("mark", "markVert.h", "markFrag.h", "#define REFLECTION\n"));
    EXPECT_EQ(drawWith(fromCopies), (Rgba{255, 255, 0, 255}));
    EXPECT_EQ(drawWith(fromCopies), drawWith(fromSources));

    // A fresh source always replaces an older copy.
    folder.write("shaders/markFrag.h", "void main() { gl_FragColor = vec4(0.0, 0.0, 1.0, 1.0); }\n");
    GL_Shader edited;
    ASSERT_TRUE(edited.loadFromFiles("mark", "markVert.h", "markFrag.h", nullptr));
    EXPECT_EQ(drawWith(edited), (Rgba{0, 0, 255, 255}));

    // A folder in the copy's place: nothing can be written there, nothing stale is read from it, and
    // the source is used.
    folder.write("shaders/markFrag.h", MARKED_FRAGMENT);
    std::filesystem::remove(folder.path() / "shaders/markFrag.h.bin");
    std::filesystem::create_directories(folder.path() / "shaders/markFrag.h.bin");
    GL_Shader unwritable;
    ASSERT_TRUE(unwritable.loadFromFiles("mark", "markVert.h", "markFrag.h", "#define REFLECTION\n"));
    EXPECT_EQ(unwritable.shaderIds.size(), 2u);
    EXPECT_EQ(drawWith(unwritable), (Rgba{255, 255, 0, 255}));
    EXPECT_TRUE(capture.contains("WARNING (shaderCompiler): unable to write the scrambled copy .\\shaders\\markFrag.h.bin"));
}

TEST_F(Shaders, TinyOrAbsentFilesAreMissingStages) {
    TraceCapture capture;
    ScratchFolder folder;
    folder.write("shaders/oneVert.h", "x");
    folder.write("shaders/fullFrag.h", "void main() { gl_FragColor = vec4(1.0); }\n");
    GL_Shader shader;
    // Without a vertex stage the program still links and is reported as created.
    EXPECT_TRUE(shader.loadFromFiles("partial", "oneVert.h", "fullFrag.h", nullptr));
    EXPECT_EQ(shader.shaderIds.size(), 1u);
    EXPECT_TRUE(capture.contains("INFO (shaderCompiler): (partial) - shader created!"));

    GL_Shader nothing;
    EXPECT_TRUE(nothing.loadFromFiles("none", "noVert.h", "noFrag.h", nullptr));
    EXPECT_TRUE(nothing.shaderIds.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "shaders/noVert.h.bin"));
}

TEST_F(Shaders, OverlongTextsAreRefusedNamingTheFile) {
    TraceCapture capture;
    ScratchFolder folder;
    std::string comment = "// " + std::string(SHADER_FILE_LIMIT, 'x') + "\n";
    folder.write("shaders/hugeFrag.h", comment + "void main() { gl_FragColor = vec4(1.0); }\n");
    folder.write("shaders/smallVert.h", MARKED_VERTEX);
    GL_Shader huge;
    EXPECT_FALSE(huge.loadFromFiles("huge", "smallVert.h", "hugeFrag.h", nullptr));
    EXPECT_TRUE(capture.contains("ERROR (shaderCompiler): (huge) - shader file .\\shaders\\hugeFrag.h is too long"));
    EXPECT_EQ(huge.programId, 0u);

    // Prefix plus stage over the per-stage limit: refused with the file's name.
    capture.clear();
    std::string longPrefix = "// " + std::string(SHADER_STAGE_LIMIT - 100, 'p') + "\n";
    GL_Shader prefixed;
    EXPECT_FALSE(prefixed.loadFromFiles("prefixed", "smallVert.h", "smallVert.h", longPrefix.c_str()));
    EXPECT_TRUE(capture.contains("ERROR (shaderCompiler): (prefixed) - smallVert.h is too long"));

    // Just under the limit still builds.
    capture.clear();
    std::string body = "void main() { gl_FragColor = vec4(1.0); }\n";
    std::string fitting = "//" + std::string(SHADER_STAGE_LIMIT - 1 - 3 - body.size(), 'f') + "\n";
    GL_Shader fits;
    EXPECT_TRUE(fits.createFromSource("fits", nullptr, nullptr, body.c_str(), fitting.c_str()));
    std::string tooLong = fitting + " ";
    GL_Shader over;
    EXPECT_FALSE(over.createFromSource("over", nullptr, nullptr, body.c_str(), tooLong.c_str()));
    EXPECT_TRUE(capture.contains("ERROR (shaderCompiler): (over) - fragment stage is too long"));
}
