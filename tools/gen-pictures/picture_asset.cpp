#include "picture_asset.h"

#include "image_io.h"

namespace zelFramework::content {

std::vector<PictureAsset> allPictures()
{
    std::vector<PictureAsset> all;
    for (auto group : {texturePictures, gradingPictures, identityPictures, testCardPictures, slidePictures,
                       endScreenPictures, tvPictures, editorButtonPictures}) {
        auto more = group();
        all.insert(all.end(), more.begin(), more.end());
    }
    return all;
}

bool writePicture(const std::string& dir, const PictureAsset& asset, Image& img)
{
    clampAll(img);
    std::string path = dir + "/" + asset.path;
    switch (asset.kind) {
    case FileKind::PngRgb: return writePng(path, img, PngChannels::Rgb);
    case FileKind::PngRgba: return writePng(path, img, PngChannels::Rgba);
    case FileKind::Jpeg: return writeJpeg(path, img, 92);
    }
    return false;
}

}  // namespace zelFramework::content
