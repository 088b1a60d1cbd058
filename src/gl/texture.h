// Pictures as OpenGL textures: the abstract texture every part of the show hands around, the texture
// made from pixels in memory, and the one reader of image files.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "gl/visible_texels.h"

namespace zelFramework {

// A picture that can be bound for reading. Render targets derive from it too, so a layer binds a
// loaded picture and a rendered image the same way.
class GL_Texture {
public:
    GLuint textureId = 0;
    int width = 32;
    int height = 32;
    GLenum format = GL_RGB;  // GL_RGB or GL_RGBA
    // For a picture uploaded with alpha, the texels whose alpha is above 0; unset where any may show.
    std::optional<TexelRect> visibleTexels;

    // Frees the object only; OpenGL objects go with release().
    virtual ~GL_Texture() = default;
    // Makes the texture current on `unit`, which is GL_TEXTURE0 + i, not a plain index.
    virtual void bind(GLenum unit) = 0;
    // Unbinds it from the unit of the last bind.
    virtual void unbind() = 0;
    // Deletes the OpenGL objects.
    virtual void release() = 0;
};

// One mipmap level's pixels, tightly packed 8-bit rows.
struct PictureLevel {
    const void* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// A 2-D texture uploaded once from a pixel buffer.
class GL_MemTexture : public GL_Texture {
public:
    GLenum boundUnit = GL_TEXTURE0;
    int mipmapLevels = 0;  // levels below level 0

    // Uploads tightly packed 8-bit pixels; `format` (GL_RGB or GL_RGBA) is both the internal and the
    // pixel format. The caller keeps `pixels`. The new texture stays bound on unit 0.
    // `smaller` are mipmap levels 1, 2, ... in the same format, each half the size of the one before
    // (rounded down) down to 1 x 1. With them the texture is read with trilinear filtering, so a draw
    // smaller than the picture shows the average of the texels under each pixel instead of a few
    // picked ones; a draw at the picture's size or larger reads level 0 as without them.
    void create(const void* pixels, int width, int height, GLenum format, GLenum wrapS, GLenum wrapT,
                std::span<const PictureLevel> smaller = {});
    // Uploads a new picture into the same texture object (its wrap modes stay), for a picture file
    // that changed while the show runs. A mipmapped texture needs the new picture's `smaller`
    // levels too (without them it stops being mipmapped).
    void replacePixels(const void* pixels, int width, int height, GLenum format,
                       std::span<const PictureLevel> smaller = {});
    bool mipmapped() const { return mipmapLevels > 0; }

    void bind(GLenum unit) override;
    void unbind() override;
    void release() override;

private:
    // With the texture bound: level 0 at width x height, the smaller levels, and the filter that
    // reads them.
    void uploadLevels(const void* pixels, std::span<const PictureLevel> smaller);
};

// Reads an image file (name relative to the current directory, '\' separators allowed) into tightly
// packed 8-bit rows in the order the image library decodes them. Pictures without colour (grey, grey
// with alpha), with a palette or with wider channels are converted to RGB or RGBA so that
// `bytesPerPixel` is always 3 or 4 on success. On false nothing is set.
bool loadImageFile(const char* path, int& width, int& height, int& bytesPerPixel, std::vector<uint8_t>& pixels);

}  // namespace zelFramework
