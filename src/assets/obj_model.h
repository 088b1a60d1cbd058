// A model read from OBJ files: one frame per file, drawn with a blend between two neighbouring
// frames so that a vertex shader can interpolate the animation.
#pragma once

#include <GL/glew.h>

#include <string>
#include <vector>

#include "assets/model_renderer.h"
#include "assets/obj_mesh.h"

namespace zelFramework {

// One key frame: its arrays (kept after upload) and the vertex buffers holding them.
struct ObjFrame {
    ObjMesh mesh;
    std::string sourcePath;  // the OBJ file it came from, for reloading after that file changed
    GLuint positionBuffer = 0;
    GLuint texCoordBuffer = 0;
    GLuint normalBuffer = 0;

    uint32_t vertexCount() const { return mesh.vertexCount; }
};

class ObjModel : public ModelLoader, public ModelRenderer {
public:
    // 0 = first frame, 1 = last frame; set by the owner before drawing, clamped into 0..1 by render.
    float animPosition = 0.0f;
    std::vector<ObjFrame> frames;

    ObjModel();
    ObjModel(const ObjModel&) = delete;
    ObjModel& operator=(const ObjModel&) = delete;
    ~ObjModel() override;

    // Appends at most one frame: from the cache "<path>.bin" when it is sound, otherwise from the OBJ
    // text (writing the cache). Needs a current GL context for the vertex buffers.
    void loadModel(const char* path) override;
    // Writes "Getting sequence <folder>" and 36 asterisks to the debug output, then loads the ".obj"
    // files of the folder in name order, every `step`-th from the first, each path written as it loads.
    void loadSequence(const char* folder, int step) override;

    // The current frame goes to the fixed-function arrays, the next one to the "animVertex",
    // "animNormal" and "animUV" attributes, and the blend factor to "animFactor". Every binding made
    // here is undone before returning.
    void render(GLuint program, bool flag) override;
};

}  // namespace zelFramework
