// A numbered run of pictures (the frames of a clip) played through one texture. Only the picture
// shown now lives in memory, in the driver's copy: a clip of a hundred frames kept as a hundred
// textures would hold tens of megabytes for the one frame that shows at a time.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gl/texture.h"
#include "gl/texture_manager.h"

namespace zelFramework {

class GL_PictureSequence {
public:
    GL_PictureSequence() = default;
    ~GL_PictureSequence();
    GL_PictureSequence(const GL_PictureSequence&) = delete;  // one texture object, one owner
    GL_PictureSequence& operator=(const GL_PictureSequence&) = delete;

    // Checks every file as a picture load does, so that a missing or refused one is told once while
    // loading, then shows the first. `fit` applies to every picture as it would to a loaded one.
    // Needs the context current.
    void open(std::vector<std::string> names, PictureFit fit, GLenum wrapS, GLenum wrapT);

    // The one texture, whose contents are the picture shown; its object stays the same for the
    // sequence's life. After open it shows the first picture, or one transparent black pixel when
    // that cannot be read.
    GL_Texture* texture() { return &texture_; }

    // Makes picture `index` the texture's contents, reading and decoding its file now unless it is
    // already shown. One that cannot be read leaves the texture as it was: it is told once (while
    // loading, or the first time it fails) and skipped from then on, so a frame asked for on every
    // show frame costs no second attempt. An index past the end changes nothing.
    void show(size_t index);

    // For a picture file that changed while the show runs: every opened sequence forgets that the
    // files `matches` names could not be read, and one that shows such a file now decodes it again.
    // Returns how many sequences took the new picture; an unreadable file changes nothing on screen.
    static int reloadFiles(const std::function<bool(const std::string&)>& matches);

    // The index of the picture the texture holds, or `size()` while it holds none.
    size_t shown() const { return shown_; }
    size_t size() const { return names_.size(); }

private:
    // Reads and decodes picture `index` into the texture whatever it shows now; false, and the file
    // marked unreadable, when it cannot.
    bool load(size_t index);

    std::vector<std::string> names_;
    std::vector<bool> unreadable_;  // told once, then skipped
    PictureFit fit_;
    GL_MemTexture texture_;
    size_t shown_ = 0;
};

}  // namespace zelFramework
