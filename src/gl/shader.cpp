// Building GLSL programs from texts: prefix, compile, attach, link, report.
#include "gl/shader.h"

#include "app/trace.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace zelFramework {
namespace {

constexpr size_t INFO_LOG_SIZE = 4096;
constexpr const char* TAG = "shaderCompiler";

std::vector<GL_Shader*>& fileShaderList() {
    static std::vector<GL_Shader*> shaders;
    return shaders;
}

void forgetFileShader(GL_Shader* shader) {
    auto& list = fileShaderList();
    list.erase(std::remove(list.begin(), list.end(), shader), list.end());
}

}  // namespace

const std::vector<GL_Shader*>& GL_Shader::builtFromFiles() { return fileShaderList(); }

void GL_Shader::rememberFileBuild() {
    auto& list = fileShaderList();
    if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
}

GL_Shader::GL_Shader(GL_Shader&& other) noexcept { *this = std::move(other); }

GL_Shader& GL_Shader::operator=(GL_Shader&& other) noexcept {
    if (this != &other) {
        destroy();
        programId = std::exchange(other.programId, 0);
        isValid = std::exchange(other.isValid, false);
        shaderIds = std::move(other.shaderIds);
        other.shaderIds.clear();
        std::memcpy(name, other.name, sizeof name);
        vertexFileName = std::move(other.vertexFileName);
        fragmentFileName = std::move(other.fragmentFileName);
        prefixText = std::move(other.prefixText);
        buildLog = std::move(other.buildLog);
        auto& list = fileShaderList();
        if (std::find(list.begin(), list.end(), &other) != list.end()) {
            forgetFileShader(&other);
            rememberFileBuild();
        }
    }
    return *this;
}

GL_Shader::~GL_Shader() {
    forgetFileShader(this);
    destroy();
}

void GL_Shader::destroy() {
    // Nothing was ever made without a context; skipping the calls keeps an unused shader's
    // destruction safe before the entry points are loaded.
    for (GLuint id : shaderIds)
        glDeleteShader(id);
    shaderIds.clear();
    if (programId)
        glDeleteProgram(programId);
    programId = 0;
    isValid = false;
}

void GL_Shader::use() const { glUseProgram(programId); }

GLint GL_Shader::uniformLocation(const char* uniformName) const {
    // A failed build has no program to ask; asking program 0 would only leave a GL error behind.
    GLint location = programId && uniformName ? glGetUniformLocation(programId, uniformName) : -1;
    if (location == -1)
        trace(TRACE_WARNING, "shaderAccess", "unable to retrieve the following uniform variable: %s for shader: %s",
              uniformName ? uniformName : "(null)", name);
    return location;
}

bool GL_Shader::createFromSource(const char* programName, const char* vertexSource, const char* geometrySource,
                                 const char* fragmentSource, const char* prefix) {
    const char* sources[3] = {vertexSource, geometrySource, fragmentSource};
    const char* labels[3] = {"vertex stage", "geometry stage", "fragment stage"};
    return build(programName, sources, labels, prefix);
}

bool GL_Shader::build(const char* programName, const char* const sources[3], const char* const labels[3],
                      const char* prefix) {
    // A rebuild starts from scratch rather than leaking the previous program.
    destroy();
    buildLog.clear();
    programId = glCreateProgram();
    std::snprintf(name, sizeof name, "%s", programName ? programName : "");
    if (!glIsProgram(programId)) {
        trace(failureLevel_, TAG, "(%s) - unable to create shader basics", name);
        return isValid;
    }
    isValid = true;

    static const GLenum stageTypes[3] = {GL_VERTEX_SHADER, GL_GEOMETRY_SHADER, GL_FRAGMENT_SHADER};
    size_t prefixLength = prefix ? std::strlen(prefix) : 0;
    for (int stage = 0; stage < 3; ++stage) {
        if (!sources[stage])
            continue;
        size_t length = prefixLength + std::strlen(sources[stage]);
        if (length >= SHADER_STAGE_LIMIT) {
            trace(failureLevel_, TAG, "(%s) - %s is too long: %zu bytes with its prefix, the limit is %zu", name,
                  labels[stage], length, SHADER_STAGE_LIMIT - 1);
            buildLog += std::string(labels[stage]) + ": too long\n";
            isValid = false;
            continue;
        }
        std::string text;
        text.reserve(length);
        if (prefix)
            text += prefix;
        text += sources[stage];
        if (!compileStage(text.c_str(), stageTypes[stage], labels[stage]))
            isValid = false;
    }

    glLinkProgram(programId);
    char log[INFO_LOG_SIZE] = {};
    GLsizei logLength = 0;
    glGetProgramInfoLog(programId, GLsizei(sizeof log), &logLength, log);

    if (isValid) {
        trace(TRACE_INFO, TAG, "(%s) - shader created! (Log: %s)", name, log);
        return true;
    }
    trace(failureLevel_, TAG, "(%s) - Unable to compile shader!", name);
    destroy();
    return false;
}

bool GL_Shader::compileStage(const char* text, GLenum stageType, const char* label) {
    GLuint shader = glCreateShader(stageType);
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) {
        glAttachShader(programId, shader);
        shaderIds.push_back(shader);
        return true;
    }
    char log[INFO_LOG_SIZE] = {};
    GLsizei logLength = 0;
    glGetShaderInfoLog(shader, GLsizei(sizeof log), &logLength, log);
    trace(TRACE_WARNING, TAG, "(%s) - Unable to compile shader source: %s", name, log);
    buildLog += std::string(label) + ": " + log;
    if (!buildLog.empty() && buildLog.back() != '\n') buildLog += '\n';
    // The failed object is neither attached nor listed, so it is deleted here.
    glDeleteShader(shader);
    return false;
}

}  // namespace zelFramework
