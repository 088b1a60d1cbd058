// A changed picture file goes into the texture object already in use.
#include "gl/texture.h"

namespace zelFramework {

void GL_MemTexture::replacePixels(const void* pixels, int newWidth, int newHeight, GLenum newFormat,
                                  std::span<const PictureLevel> smaller) {
    if (!textureId || !pixels || newWidth <= 0 || newHeight <= 0) return;
    width = newWidth;
    height = newHeight;
    format = newFormat;
    GLint previousTexture = 0, previousUnit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &previousUnit);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
    glBindTexture(GL_TEXTURE_2D, textureId);
    uploadLevels(pixels, smaller);
    glBindTexture(GL_TEXTURE_2D, GLuint(previousTexture));
    glActiveTexture(GLenum(previousUnit));
}

}  // namespace zelFramework
