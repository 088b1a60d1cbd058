// The one registry where textures are found by name: pictures loaded on first request and render
// targets published by their makers. Entries are never removed or replaced, and never owned.
#pragma once

#include "gl/texture.h"

namespace zelFramework {

class GL_TextureManager {
public:
    virtual ~GL_TextureManager() = default;

    // The texture registered under `name` (byte-exact), loading the image file of that name when the
    // entry is empty. The wrap modes apply only when this call loads the file: the first request wins.
    // Null when nothing is registered and no picture could be loaded; the next request tries again.
    static GL_Texture* getTexture(const char* name, GLenum wrapS = GL_REPEAT, GLenum wrapT = GL_REPEAT);

    // Publishes `texture` under `name`. Note the inverted sense, which callers rely on: true means a
    // texture was ALREADY registered under that name and nothing was stored; false means it was stored.
    static bool addTexture(const char* name, GL_Texture* texture);

    // An 8 x 8 all-white RGB texture (every channel 255), made on first use, always the same object.
    static GL_Texture* getWhiteTexture();

    // Number of entries, empty ones included (tests and diagnostics).
    static size_t entryCount();

    // Decodes the picture file `name` again into every loaded picture entry that names that file
    // ('\' and '/' count alike), keeping each texture object, so whoever holds it draws the new
    // picture. Render targets are left alone. Returns how many entries took the new picture; an
    // unreadable file changes nothing (the decoder has traced why). Needs the show's context current.
    static int reloadPicture(const char* name);
};

}  // namespace zelFramework
