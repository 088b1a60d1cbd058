// A 2-D texture uploaded once from pixels in memory.
#include "gl/texture.h"

namespace zelFramework {

void GL_MemTexture::create(const void* pixels, int newWidth, int newHeight, GLenum newFormat, GLenum wrapS,
                           GLenum wrapT, std::span<const PictureLevel> smaller) {
    width = newWidth;
    height = newHeight;
    format = newFormat;

    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(wrapS));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(wrapT));
    uploadLevels(pixels, smaller);

    glDisable(GL_TEXTURE_2D);
}

void GL_MemTexture::uploadLevels(const void* pixels, std::span<const PictureLevel> smaller) {
    mipmapLevels = int(smaller.size());
    visibleTexels.reset();
    if (format == GL_RGBA && pixels) visibleTexels = visibleTexelsOf(static_cast<const uint8_t*>(pixels), width, height);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, smaller.empty() ? GL_LINEAR : GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(smaller.size()));
    // Rows are tightly packed: an RGB picture whose row is not a multiple of 4 bytes would be read
    // skewed under the default alignment of 4.
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    for (size_t i = 0; i < smaller.size(); ++i)
        glTexImage2D(GL_TEXTURE_2D, GLint(i + 1), GLint(format), smaller[i].width, smaller[i].height, 0, format,
                     GL_UNSIGNED_BYTE, smaller[i].pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
}

void GL_MemTexture::bind(GLenum unit) {
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(unit);
    glBindTexture(GL_TEXTURE_2D, textureId);
    boundUnit = unit;
}

void GL_MemTexture::unbind() {
    glActiveTexture(boundUnit);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void GL_MemTexture::release() {
    glDeleteTextures(1, &textureId);
    textureId = 0;
}

}  // namespace zelFramework
