// Texture units by number for the frame passes, which leave units empty rather than holding
// pictures a later fixed-function draw would be tinted by.
#pragma once

#include <GL/glew.h>

#include "gl/texture.h"

namespace RenderEngine {

// Makes `unit` active and leaves it with no 2-D picture bound.
inline void clearUnit(int unit) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// `texture` on `unit`, or the unit emptied when there is no texture.
inline void bindOrClear(zelFramework::GL_Texture* texture, int unit) {
    if (texture)
        texture->bind(GL_TEXTURE0 + unit);
    else
        clearUnit(unit);
}

}  // namespace RenderEngine
