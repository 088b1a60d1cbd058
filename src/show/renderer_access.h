// Looking up a renderer's objects and lights without creating empty entries for unknown names, and
// placing a layer's fixed lights.
#pragma once

#include <span>
#include <string>

#include "renderengine/renderer.h"

namespace zelFramework {

RenderEngine::RenderObject* findObject(RenderEngine::Renderer& renderer, const std::string& name);
RenderEngine::Light* findLight(RenderEngine::Renderer& renderer, const std::string& name);

// A light as a layer places it at start-up.
struct LightPlacement {
    const char* name;
    float position[3];
    float colour[3];
    float falloff;
};
void addLights(RenderEngine::Renderer& renderer, std::span<const LightPlacement> lights);

void setColour(RenderEngine::Light* light, float r, float g, float b);
void setPosition(RenderEngine::Light* light, float x, float y, float z);

}  // namespace zelFramework
