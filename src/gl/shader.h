// GLSL programs: built from the shader folder (through the scrambled ".bin" copies kept beside the
// sources) or from texts in memory, each stage preceded by an optional block of preprocessor lines.
#pragma once

#include <GL/glew.h>

#include "app/trace.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zelFramework {

// A shader file is read into a buffer of this size and must leave room for its terminating NUL.
constexpr size_t SHADER_FILE_LIMIT = 40960;
// Prefix plus stage source must fit, with its NUL, into a buffer of this size.
constexpr size_t SHADER_STAGE_LIMIT = 20480;
constexpr size_t SHADER_NAME_SIZE = 512;

class GL_Shader {
public:
    GLuint programId = 0;          // 0 after a failed build
    bool isValid = false;          // true when every given stage compiled
    std::vector<GLuint> shaderIds; // attached stage objects, in compile order
    char name[SHADER_NAME_SIZE] = {};
    // What loadFromFiles was given, so that a changed shader file can rebuild the program.
    std::string vertexFileName, fragmentFileName, prefixText;
    // The compiler's messages of the stages that failed in the last build; empty after a clean one.
    std::string buildLog;

    GL_Shader() = default;
    GL_Shader(const GL_Shader&) = delete;
    GL_Shader& operator=(const GL_Shader&) = delete;
    GL_Shader(GL_Shader&& other) noexcept;
    GL_Shader& operator=(GL_Shader&& other) noexcept;
    // Deletes the stage objects and the program.
    virtual ~GL_Shader();

    // Builds from "shaders\<vertexFile>" and "shaders\<fragmentFile>" below the current directory.
    // A readable source is first rewritten into its scrambled copy "<path>.bin", and the copy is what
    // is compiled, so a folder holding only the copies builds the same program. `prefix` may be null.
    // Returns isValid.
    bool loadFromFiles(const char* name, const char* vertexFile, const char* fragmentFile, const char* prefix);

    // Builds from texts; any stage may be null and is then not built. `prefix` (may be null) goes in
    // front of every stage given. Returns isValid.
    bool createFromSource(const char* name, const char* vertexSource, const char* geometrySource,
                          const char* fragmentSource, const char* prefix);

    // Looks the uniform up on every call; -1, with a "shaderAccess" WARNING, when the program has none.
    GLint uniformLocation(const char* uniformName) const;

    // glUseProgram(programId).
    void use() const;
    // Deletes the stage objects and the program now, leaving an empty, invalid shader.
    void destroy();

    // Builds the program again from the files loadFromFiles was given. On success the new program
    // replaces the old one and takes over every uniform value set on it (samplers, sizes); on failure
    // the old program stays in use untouched, `log` holds the compiler's or linker's messages, and
    // the failure is traced as a WARNING, since a mistyped edit must not end a running show.
    bool rebuildFromFiles(std::string& log);

    // Every shader currently holding a loadFromFiles build, for reloading after a file changed.
    static const std::vector<GL_Shader*>& builtFromFiles();

private:
    // Shared by both builders: `labels` name each stage in messages (a file name or "vertex" etc.).
    bool build(const char* name, const char* const sources[3], const char* const labels[3], const char* prefix);
    bool compileStage(const char* text, GLenum stageType, const char* label);
    void rememberFileBuild();
    void adoptProgram(GL_Shader& fresh);

    // Level of the trace line a failed build leaves: ERROR at start-up, WARNING for a live rebuild.
    TraceLevel failureLevel_ = TRACE_ERROR;
};

}  // namespace zelFramework
