// Looking up a renderer's objects and lights without creating empty entries for unknown names.
#pragma once

#include <string>

#include "renderengine/renderer.h"

namespace zelFramework {

RenderEngine::RenderObject* findObject(RenderEngine::Renderer& renderer, const std::string& name);
RenderEngine::Light* findLight(RenderEngine::Renderer& renderer, const std::string& name);

void setColour(RenderEngine::Light* light, float r, float g, float b);
void setPosition(RenderEngine::Light* light, float x, float y, float z);

}  // namespace zelFramework
