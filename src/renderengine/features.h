// The feature mask a renderer is built from: each bit switches on passes, shaders and targets.
#pragma once

#include <cstdint>

namespace RenderEngine {

enum RenderFeature : uint32_t {
    RE_SSAO = 0x001,              // ambient occlusion with its bilateral blur
    RE_CUBEMAP = 0x002,           // six cube faces turned into a polar panorama; 512 x 512
    RE_MOTION_BLUR = 0x008,       // average of up to ten history pictures
    RE_DOF_LAYERS = 0x010,        // two scene passes blurred apart and combined
    RE_DOF = 0x020,               // depth-of-field gather
    RE_REAL_LIGHT_MODEL = 0x040,  // point lights with falloff; otherwise spherical-harmonics ambient
    RE_GLOW = 0x080,              // two-pass glow from the colour's alpha
    RE_REFLECTION = 0x100,        // sphere-mapped reflection on unit 2
};

// Features that cube mode cannot be combined with: their passes read or write pictures that the
// cube faces and the panorama conversion do not produce.
constexpr uint32_t RE_CUBEMAP_CONFLICTS = RE_DOF | RE_GLOW | RE_DOF_LAYERS;

}  // namespace RenderEngine
