#include "show/renderer_access.h"

namespace zelFramework {

RenderEngine::RenderObject* findObject(RenderEngine::Renderer& renderer, const std::string& name) {
    auto found = renderer.objects.find(name);
    return found == renderer.objects.end() ? nullptr : found->second;
}

RenderEngine::Light* findLight(RenderEngine::Renderer& renderer, const std::string& name) {
    auto found = renderer.lights.find(name);
    return found == renderer.lights.end() ? nullptr : found->second;
}

void addLights(RenderEngine::Renderer& renderer, std::span<const LightPlacement> lights) {
    for (const LightPlacement& l : lights) renderer.addLight(l.name, l.position, l.colour, l.falloff);
}

void setColour(RenderEngine::Light* light, float r, float g, float b) {
    if (!light) return;
    light->color[0] = r;
    light->color[1] = g;
    light->color[2] = b;
}

void setPosition(RenderEngine::Light* light, float x, float y, float z) {
    if (!light) return;
    light->position[0] = x;
    light->position[1] = y;
    light->position[2] = z;
}

}  // namespace zelFramework
