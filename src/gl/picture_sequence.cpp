#include "gl/picture_sequence.h"

#include <algorithm>

namespace zelFramework {

namespace {
std::vector<GL_PictureSequence*>& openedSequences() {
    static std::vector<GL_PictureSequence*> sequences;
    return sequences;
}
}  // namespace

GL_PictureSequence::~GL_PictureSequence() { std::erase(openedSequences(), this); }

int GL_PictureSequence::reloadFiles(const std::function<bool(const std::string&)>& matches) {
    int reloaded = 0;
    for (GL_PictureSequence* sequence : openedSequences()) {
        bool showsIt = false;
        for (size_t i = 0; i < sequence->names_.size(); ++i) {
            if (!matches(sequence->names_[i])) continue;
            sequence->unreadable_[i] = false;
            showsIt = showsIt || i == sequence->shown_;
        }
        // On failure the texture still holds the last good picture, and says it does.
        if (showsIt && sequence->load(sequence->shown_)) ++reloaded;
    }
    return reloaded;
}

void GL_PictureSequence::open(std::vector<std::string> names, PictureFit fit, GLenum wrapS, GLenum wrapT) {
    if (std::find(openedSequences().begin(), openedSequences().end(), this) == openedSequences().end())
        openedSequences().push_back(this);
    names_ = std::move(names);
    fit_ = fit;
    unreadable_.assign(names_.size(), false);
    for (size_t i = 1; i < names_.size(); ++i) unreadable_[i] = !GL_TextureManager::pictureFileUsable(names_[i].c_str());
    shown_ = names_.size();
    const uint8_t clear[4] = {0, 0, 0, 0};
    texture_.create(clear, 1, 1, GL_RGBA, wrapS, wrapT);
    show(0);
}

void GL_PictureSequence::show(size_t index) {
    if (index >= names_.size() || index == shown_ || unreadable_[index]) return;
    load(index);
}

bool GL_PictureSequence::load(size_t index) {
    DecodedPicture picture;
    std::vector<DecodedPicture> smaller;
    if (!GL_TextureManager::decodePictureFile(names_[index].c_str(), fit_, picture, smaller)) {
        unreadable_[index] = true;
        return false;
    }
    const std::vector<PictureLevel> levels = pictureLevelViews(smaller);
    texture_.replacePixels(picture.pixels.data(), picture.width, picture.height,
                           picture.bytesPerPixel == 4 ? GL_RGBA : GL_RGB, levels);
    shown_ = index;
    return true;
}

}  // namespace zelFramework
