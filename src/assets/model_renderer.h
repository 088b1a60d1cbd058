// The two faces of anything the render engine draws as a model: how it is loaded and how it is drawn.
#pragma once

#include <GL/glew.h>

namespace zelFramework {

class ModelRenderer {
public:
    virtual ~ModelRenderer() = default;
    // Draws the model with `program` in use (the caller has made it current and set its other
    // uniforms and textures). `flag` is for renderers that need it (the scene adapter passes it on as
    // "camera already set"); OBJ models ignore it.
    virtual void render(GLuint program, bool flag) = 0;
};

class ModelLoader {
public:
    virtual ~ModelLoader() = default;
    // Loads one OBJ file as one more frame.
    virtual void loadModel(const char* path) = 0;
    // Loads every `step`-th OBJ file of a folder (sorted by name) as frames.
    virtual void loadSequence(const char* folder, int step) = 0;
};

}  // namespace zelFramework
