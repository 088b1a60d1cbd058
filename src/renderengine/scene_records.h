// The records a layer fills a renderer with: drawable objects, point lights and flares.
#pragma once

#include <cstdint>

namespace zelFramework {
class GL_Texture;
class ModelRenderer;
}  // namespace zelFramework

namespace RenderEngine {

// One drawable of the renderer, changed by layers between frames.
struct RenderObject {
    zelFramework::ModelRenderer* model = nullptr;
    float rotationAngle = 0.0f;  // degrees about rotationAxis
    float rotationAxis[3] = {0.0f, 1.0f, 0.0f};
    float unused[3] = {0.0f, 0.0f, 0.0f};  // kept for layers that store their own values here
    float position[3] = {0.0f, 0.0f, 0.0f};
    float scale = 1.0f;
    float yScale = 1.0f;  // extra factor on the Y scale
    bool visible = true;
    float diffuseAddFactor = 0.0f;
    float lightInfluence = 1.0f;
    float glowIntensity = 0.0f;
    zelFramework::GL_Texture* diffuseTexture = nullptr;  // unit 1
    zelFramework::GL_Texture* matCapTexture = nullptr;   // unit 0
    int32_t blendMode = 0;  // 0 opaque, 1 additive, 2 alpha blended
    bool excluded = false;
    int32_t pass = 0;  // the scene pass (0 or 1) that draws the object
    // The model's animation clock (an ObjModel's animPosition, a wrapped scene's time): the renderer
    // writes the frame's time here before each draw. Null for a model without one.
    float* modelTime = nullptr;
};

struct Light {
    float position[3] = {0.0f, 0.0f, 0.0f};
    float color[3] = {1.0f, 1.0f, 1.0f};
    float falloffDistance = 10000.0f;
    bool enabled = true;
};

// A camera-facing additive sprite of side 2 x size centred on (x, y, z).
struct Flare {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float size = 0.0f;
    float intensity = 0.0f;
};

}  // namespace RenderEngine
