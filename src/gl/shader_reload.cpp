// Live rebuilds: a fresh program is built beside the running one and only replaces it when it
// compiled and linked, carrying over the uniform values the owner set once at start-up.
#include "gl/shader_reload.h"

#include "gl/shader.h"
#include "platform/platform.h"

#include <string>
#include <utility>
#include <vector>

namespace zelFramework {
namespace {

constexpr const char* TAG = "shaderReload";

std::string sameSpelling(std::string_view fileName) { return nativePath(fileName).lexically_normal().generic_string(); }

bool linked(GLuint program, std::string& log) {
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status == GL_TRUE) return true;
    char text[4096] = {};
    GLsizei length = 0;
    glGetProgramInfoLog(program, GLsizei(sizeof text), &length, text);
    log += std::string("link: ") + text;
    return false;
}

// Copies one uniform (one array element) from `from` to the program in use, when both have it
// with the same type. Samplers are ints; matrices go through their float arrays.
void copyUniform(GLuint from, GLuint to, const std::string& uniformName, GLenum type) {
    const GLint source = glGetUniformLocation(from, uniformName.c_str());
    const GLint target = glGetUniformLocation(to, uniformName.c_str());
    if (source < 0 || target < 0) return;
    GLfloat f[16] = {};
    GLint i[4] = {};
    switch (type) {
    case GL_FLOAT: glGetUniformfv(from, source, f); glUniform1fv(target, 1, f); break;
    case GL_FLOAT_VEC2: glGetUniformfv(from, source, f); glUniform2fv(target, 1, f); break;
    case GL_FLOAT_VEC3: glGetUniformfv(from, source, f); glUniform3fv(target, 1, f); break;
    case GL_FLOAT_VEC4: glGetUniformfv(from, source, f); glUniform4fv(target, 1, f); break;
    case GL_FLOAT_MAT2: glGetUniformfv(from, source, f); glUniformMatrix2fv(target, 1, GL_FALSE, f); break;
    case GL_FLOAT_MAT3: glGetUniformfv(from, source, f); glUniformMatrix3fv(target, 1, GL_FALSE, f); break;
    case GL_FLOAT_MAT4: glGetUniformfv(from, source, f); glUniformMatrix4fv(target, 1, GL_FALSE, f); break;
    case GL_INT_VEC2: case GL_BOOL_VEC2: glGetUniformiv(from, source, i); glUniform2iv(target, 1, i); break;
    case GL_INT_VEC3: case GL_BOOL_VEC3: glGetUniformiv(from, source, i); glUniform3iv(target, 1, i); break;
    case GL_INT_VEC4: case GL_BOOL_VEC4: glGetUniformiv(from, source, i); glUniform4iv(target, 1, i); break;
    default:  // int, bool and every sampler type
        glGetUniformiv(from, source, i);
        glUniform1iv(target, 1, i);
        break;
    }
}

void copyUniforms(GLuint from, GLuint to) {
    GLint previous = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
    glUseProgram(to);
    GLint count = 0;
    glGetProgramiv(from, GL_ACTIVE_UNIFORMS, &count);
    for (GLint index = 0; index < count; ++index) {
        char text[256] = {};
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(from, GLuint(index), GLsizei(sizeof text), &length, &size, &type, text);
        std::string uniformName(text, size_t(length));
        if (uniformName.compare(0, 3, "gl_") == 0) continue;  // built-in state, not settable
        if (size <= 1) {
            copyUniform(from, to, uniformName, type);
            continue;
        }
        // Arrays report "name[0]"; each element has its own location.
        const std::string base = uniformName.substr(0, uniformName.find('['));
        for (GLint element = 0; element < size; ++element)
            copyUniform(from, to, base + "[" + std::to_string(element) + "]", type);
    }
    glUseProgram(GLuint(previous));
}

}  // namespace

void GL_Shader::adoptProgram(GL_Shader& fresh) {
    if (programId && fresh.programId) copyUniforms(programId, fresh.programId);
    destroy();
    programId = std::exchange(fresh.programId, 0);
    shaderIds = std::move(fresh.shaderIds);
    fresh.shaderIds.clear();
    isValid = std::exchange(fresh.isValid, false);
    buildLog.clear();
}

bool GL_Shader::rebuildFromFiles(std::string& log) {
    GL_Shader fresh;
    fresh.failureLevel_ = TRACE_WARNING;
    const std::string programName = name;
    bool built = fresh.loadFromFiles(programName.c_str(), vertexFileName.c_str(), fragmentFileName.c_str(),
                                     prefixText.empty() ? nullptr : prefixText.c_str());
    std::string messages = fresh.buildLog;
    if (built && !linked(fresh.programId, messages)) built = false;
    if (!built) {
        if (messages.empty()) messages = "the program could not be built (missing or unreadable file)\n";
        log = messages;
        buildLog = messages;
        trace(TRACE_WARNING, TAG, "(%s) - the changed shader did not build; the last good program stays: %s",
              name, messages.c_str());
        return false;
    }
    adoptProgram(fresh);
    trace(TRACE_INFO, TAG, "(%s) - rebuilt from %s and %s", name, vertexFileName.c_str(), fragmentFileName.c_str());
    return true;
}

ShaderReloadReport reloadShadersReading(std::string_view fileName) {
    ShaderReloadReport report;
    const std::string wanted = sameSpelling(fileName);
    // Rebuilding never adds or removes entries (the fresh program is a temporary), but a copy keeps
    // the loop safe whatever a rebuild does.
    const std::vector<GL_Shader*> shaders = GL_Shader::builtFromFiles();
    for (GL_Shader* shader : shaders) {
        if (sameSpelling(shader->vertexFileName) != wanted && sameSpelling(shader->fragmentFileName) != wanted)
            continue;
        std::string log;
        if (shader->rebuildFromFiles(log)) {
            ++report.rebuilt;
        } else {
            ++report.failed;
            report.log += std::string(shader->name) + " (" + std::string(fileName) + "):\n" + log;
        }
    }
    return report;
}

}  // namespace zelFramework
