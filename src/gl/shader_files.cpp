// Building a program from the shader folder, through the scrambled ".bin" copies beside the sources.
#include "gl/shader.h"
#include "gl/shader_scramble.h"

#include "app/trace.h"
#include "platform/file_read.h"
#include "platform/file_write.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace zelFramework {
namespace {

constexpr const char* TAG = "shaderCompiler";

// Reads a whole file. False when there is none or it cannot be read (said in a WARNING, except for
// a file that is simply absent); `tooLong` when it would not fit the shader buffer with its
// terminating NUL (the text is then refused, never cut or overflowed).
bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes, bool& tooLong) {
    std::string problem;
    const ReadFault fault = readFileChecked(std::string_view(path), bytes, problem, SHADER_FILE_LIMIT - 1);
    tooLong = fault == ReadFault::TooLarge;
    if (fault == ReadFault::None || tooLong) return true;
    if (fault != ReadFault::Missing) trace(TRACE_WARNING, TAG, "shader file %s %s", path.c_str(), problem.c_str());
    return false;
}

// Another copy of the program may be reading the copy this moment (the workers of one capture share
// the folder): it is replaced whole, never truncated and refilled under a reader.
bool writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string problem;
    if (writeFileReplacing(path, bytes, problem)) return true;
    trace(TRACE_WARNING, TAG, "unable to write the scrambled copy %s: %s", path.c_str(), problem.c_str());
    return false;
}

// The text up to the first NUL, as the compiler is given it.
std::string textUpToNul(const std::vector<uint8_t>& bytes) {
    size_t length = 0;
    while (length < bytes.size() && bytes[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(bytes.data()), length);
}

void refuseTooLong(uint32_t level, const char* programName, const std::string& path) {
    trace(level, TAG, "(%s) - shader file %s is too long: the limit is %zu bytes", programName ? programName : "",
          path.c_str(),
          SHADER_FILE_LIMIT - 1);
}

// One stage's text: the source (when readable) is rewritten into its scrambled copy, and the copy is
// what is read back. Empty when neither exists; `refused` when a file is too long.
std::string readStage(uint32_t level, const char* programName, const std::string& path, bool& refused) {
    std::vector<uint8_t> bytes;
    bool tooLong = false;
    std::string binPath = path + ".bin";
    if (readWholeFile(path, bytes, tooLong)) {
        if (tooLong) {
            refuseTooLong(level, programName, path);
            refused = true;
            return std::string();
        }
        std::string sourceText = textUpToNul(bytes);
        scrambleShaderText(bytes.data(), bytes.size());
        // Where the copy cannot be written (a read-only folder), an older copy must not win over the
        // source it no longer matches: the source is used as it is.
        if (!writeWholeFile(binPath, bytes))
            return sourceText;
    }
    std::string text;
    if (readWholeFile(binPath, bytes, tooLong)) {
        if (tooLong) {
            refuseTooLong(level, programName, binPath);
            refused = true;
            return std::string();
        }
        scrambleShaderText(bytes.data(), bytes.size());
        text = textUpToNul(bytes);
    }
    return text;
}

}  // namespace

bool GL_Shader::loadFromFiles(const char* programName, const char* vertexFile, const char* fragmentFile,
                              const char* prefix) {
    std::string vertexPath = std::string(".\\shaders\\") + (vertexFile ? vertexFile : "");
    std::string fragmentPath = std::string(".\\shaders\\") + (fragmentFile ? fragmentFile : "");
    vertexFileName = vertexFile ? vertexFile : "";
    fragmentFileName = fragmentFile ? fragmentFile : "";
    prefixText = prefix ? prefix : "";
    rememberFileBuild();
    bool refused = false;
    std::string vertexText = readStage(failureLevel_, programName, vertexPath, refused);
    std::string fragmentText = readStage(failureLevel_, programName, fragmentPath, refused);
    if (refused) {
        // Building without the refused stage would report a program that is not the one asked for.
        destroy();
        std::snprintf(name, sizeof name, "%s", programName ? programName : "");
        buildLog = "shader file too long\n";
        trace(failureLevel_, TAG, "(%s) - Unable to compile shader!", name);
        return false;
    }

    // A text shorter than 2 bytes is a missing stage.
    const char* sources[3] = {vertexText.size() >= 2 ? vertexText.c_str() : nullptr, nullptr,
                              fragmentText.size() >= 2 ? fragmentText.c_str() : nullptr};
    const char* labels[3] = {vertexFile ? vertexFile : "vertex stage", "geometry stage",
                             fragmentFile ? fragmentFile : "fragment stage"};
    return build(programName, sources, labels, prefix);
}

}  // namespace zelFramework
