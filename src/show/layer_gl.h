// Small pieces every layer of the show draws with: the shared picture target, pictures that may be
// missing, controller values, and the copy of a renderer's finished picture into the shared target.
#pragma once

#include <GL/glew.h>

#include <string>

namespace RenderEngine {
class Renderer;
}

namespace zelFramework {

struct Controller;
class GL_FBOTexture;
class GL_Texture;

// A controller's current value; 0 for one the controller set did not have.
float valueOf(const Controller* controller);

// The render target published as "finalTarget", or null when nothing (or not a target) is there.
GL_FBOTexture* findFinalTarget();

// Binds a picture that may be missing: false, with nothing bound, for a null picture, so the element
// that needed it is skipped instead of drawn through a null pointer.
bool bindPicture(GL_Texture* picture, GLenum unit = GL_TEXTURE0);
// Unbinds a picture that may be missing.
void unbindPicture(GL_Texture* picture);

// Opens the shared target for drawing and clears it; without one the layer draws into the current
// framebuffer as it is.
void beginFinalTarget(GL_FBOTexture* finalTarget);
void endFinalTarget(GL_FBOTexture* finalTarget);

// Draws the renderer's finished picture over the whole current target, in white.
void drawScenery(RenderEngine::Renderer& renderer);
// The renderer's finished picture as the whole shared target (opened, cleared, drawn, closed).
void drawSceneryIntoFinal(RenderEngine::Renderer& renderer, GL_FBOTexture* finalTarget);

// The environment picture the scene layers' renderers reflect.
GL_Texture* reflectionPicture();

// True when the named asset file can be opened from the resources folder.
bool assetFileExists(const std::string& name);

}  // namespace zelFramework
