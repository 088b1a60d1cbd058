#include "assets/obj_model.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>

#include "assets/obj_cache.h"
#include "assets/obj_frame_blend.h"
#include "assets/model_reload.h"
#include "platform/platform.h"

namespace zelFramework {

namespace {

GLuint makeArrayBuffer(const FloatArray& values) {
    GLuint id = 0;
    glGenBuffers(1, &id);
    glBindBuffer(GL_ARRAY_BUFFER, id);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(values.size() * sizeof(float)), values.data(), GL_STATIC_DRAW);
    return id;
}

bool hasObjExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return tail == ".obj";
}

void enableAttribute(GLint location) {
    if (location >= 0) glEnableVertexAttribArray(GLuint(location));
}

void disableAttribute(GLint location) {
    if (location >= 0) glDisableVertexAttribArray(GLuint(location));
}

void pointAttribute(GLint location, GLuint buffer, int size) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    if (location >= 0) glVertexAttribPointer(GLuint(location), size, GL_FLOAT, GL_FALSE, 0, nullptr);
}

}  // namespace

ObjModel::ObjModel() { rememberObjModel(*this); }

ObjModel::~ObjModel() { forgetObjModel(*this); }

void ObjModel::loadModel(const char* path) {
    if (!path) return;
    ObjFrame frame;
    frame.sourcePath = path;
    loadObjMesh(path, frame.mesh);
    if (frame.mesh.vertexCount == 0) return;
    frame.positionBuffer = makeArrayBuffer(frame.mesh.positions);
    frame.normalBuffer = makeArrayBuffer(frame.mesh.normals);
    frame.texCoordBuffer = makeArrayBuffer(frame.mesh.texCoords);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    frames.push_back(std::move(frame));
}

void ObjModel::loadSequence(const char* folder, int step) {
    if (!folder) return;
    if (step < 1) step = 1;
    debugOutput("Getting sequence ");
    debugOutput(folder);
    debugOutput("************************************\n");

    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(nativePath(folder), error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (hasObjExtension(name) && it->is_regular_file(error)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());

    // Files 0, step, 2 x step, ... of the listing become frames 0, 1, 2, ...
    for (size_t i = 0; i < names.size(); i += size_t(step)) {
        std::string path = std::string(folder) + "\\" + names[i];
        loadModel(path.c_str());
        debugOutput(path.c_str());
        debugOutput("\n");
    }
}

void ObjModel::render(GLuint program, bool /*flag*/) {
    const ObjFrameBlend blend = objFrameBlend(frames.size(), animPosition);
    if (!blend.draw) return;
    const ObjFrame& current = frames[blend.current];
    const ObjFrame& next = frames[blend.next];
    const bool blending = blend.next != blend.current;

    glEnableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, current.positionBuffer);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_NORMAL_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, current.normalBuffer);
    glNormalPointer(GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, current.texCoordBuffer);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);

    // A program without these attributes (or none at all) simply draws the current frame.
    const bool hasProgram = program != 0 && program != 0xFFFFFFFFu;
    if (blending && hasProgram) {
        const GLint normalAttr = glGetAttribLocation(program, "animNormal");
        const GLint vertexAttr = glGetAttribLocation(program, "animVertex");
        const GLint uvAttr = glGetAttribLocation(program, "animUV");
        enableAttribute(normalAttr);
        enableAttribute(vertexAttr);
        enableAttribute(uvAttr);
        pointAttribute(vertexAttr, next.positionBuffer, 3);
        pointAttribute(normalAttr, next.normalBuffer, 3);
        pointAttribute(uvAttr, next.texCoordBuffer, 2);
    }
    if (hasProgram) glUniform1f(glGetUniformLocation(program, "animFactor"), blend.factor);

    glDrawArrays(GL_TRIANGLES, 0, GLsizei(std::min(current.vertexCount(), next.vertexCount())));

    if (blending && hasProgram) {
        disableAttribute(glGetAttribLocation(program, "animNormal"));
        disableAttribute(glGetAttribLocation(program, "animVertex"));
        disableAttribute(glGetAttribLocation(program, "animUV"));
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

}  // namespace zelFramework
