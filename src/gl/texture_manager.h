// The one registry where textures are found by name: pictures loaded on first request and render
// targets published by their makers. Entries are never removed or replaced, and never owned.
#pragma once

#include <vector>

#include "gl/picture_file.h"
#include "gl/texture.h"

namespace zelFramework {

// How a picture is drawn. `width` x `height`: the largest area, in pixels of the picture on screen,
// that the whole picture is ever drawn over. A picture larger than that is kept at that size, each
// kept pixel the average of the pixels it covers: drawn over that area it shows the picture well
// filtered, and it costs memory and upload time only for what shows. 0 x 0: not known, the picture
// is kept whole.
struct PictureFit {
    int width = 0;
    int height = 0;
    // Also drawn smaller than it is kept (a corner logo, a slide that zooms or turns, a stand far
    // away): it gets mipmaps, so such a draw shows the picture filtered rather than a few of its
    // pixels picked at random (thin lines breaking up, stray bright dots).
    bool drawnSmaller = false;
    // With drawnSmaller: `width` x `height` bounds every draw, but the picture is drawn zoomed, turned
    // or in perspective, where resampling it to that size first would change its fine lines. It is
    // kept as it is instead, less the mipmap levels too large for any draw to read.
    bool dropUnreadLevels = false;
};

// The fit of a picture drawn over the whole picture area (screenWidth x renderHeight), at most
// `largestScale` times that size.
PictureFit fullPictureFit(float largestScale = 1.0f);

// The decoded smaller levels as GL_MemTexture takes them; the views point into `levels`.
std::vector<PictureLevel> pictureLevelViews(const std::vector<DecodedPicture>& levels);

class GL_TextureManager {
public:
    virtual ~GL_TextureManager() = default;

    // The texture registered under `name` (byte-exact), loading the image file of that name when the
    // entry is empty. The wrap modes apply only when this call loads the file: the first request wins.
    // Null when nothing is registered and no picture could be loaded; the next request tries again.
    static GL_Texture* getTexture(const char* name, GLenum wrapS = GL_REPEAT, GLenum wrapT = GL_REPEAT,
                                  PictureFit fit = {});

    // Between these two calls a picture file is checked when it is asked for (a missing or refused
    // one still gives null and a WARNING), then decoded on `threads` worker threads; its texture is
    // returned at once and filled on the main thread by uploadDecodedPictures or at the latest by
    // finishBackgroundLoading, which waits for every picture. A picture whose data turns out to be
    // damaged gets a WARNING and one transparent black pixel. Textures must not be drawn before
    // finishBackgroundLoading has returned.
    static void startBackgroundLoading(int threads);
    static void uploadDecodedPictures();
    static void finishBackgroundLoading();

    // Publishes `texture` under `name`. Note the inverted sense, which callers rely on: true means a
    // texture was ALREADY registered under that name and nothing was stored; false means it was stored.
    static bool addTexture(const char* name, GL_Texture* texture);

    // An 8 x 8 all-white RGB texture (every channel 255), made on first use, always the same object.
    static GL_Texture* getWhiteTexture();

    // Number of entries, empty ones included (tests and diagnostics).
    static size_t entryCount();

    // The checks getTexture makes of the picture file `name` before decoding it (present, within the
    // size limits, a format it reads), each failure told as getTexture tells it; nothing is decoded.
    static bool pictureFileUsable(const char* name);
    // Reads and decodes the picture file `name` on this thread into the pixels getTexture would upload
    // for it with `fit` (the same rules and resizing), registering nothing. False, with a WARNING
    // naming the file and the reason, when it cannot; `picture` and `smaller` are then unchanged.
    static bool decodePictureFile(const char* name, PictureFit fit, DecodedPicture& picture,
                                  std::vector<DecodedPicture>& smaller);

    // Decodes the picture file `name` again into every loaded picture entry that names that file
    // ('\' and '/' count alike), keeping each texture object, so whoever holds it draws the new
    // picture; a picture sequence that shows the file decodes it again too (see
    // GL_PictureSequence::reloadFiles). Render targets are left alone. Returns how many entries and
    // sequences took the new picture; an unreadable file changes nothing (the decoder has traced
    // why). Needs the show's context current.
    static int reloadPicture(const char* name);
};

}  // namespace zelFramework
