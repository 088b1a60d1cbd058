#include "gl/picture_sequence.h"

namespace zelFramework {

void GL_PictureSequence::open(std::vector<std::string> names, PictureFit fit, GLenum wrapS, GLenum wrapT) {
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
    DecodedPicture picture;
    std::vector<DecodedPicture> smaller;
    if (!GL_TextureManager::decodePictureFile(names_[index].c_str(), fit_, picture, smaller)) {
        unreadable_[index] = true;
        return;
    }
    const std::vector<PictureLevel> levels = pictureLevelViews(smaller);
    texture_.replacePixels(picture.pixels.data(), picture.width, picture.height,
                           picture.bytesPerPixel == 4 ? GL_RGBA : GL_RGB, levels);
    shown_ = index;
}

}  // namespace zelFramework
