#include "picture_asset.h"

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

}  // namespace zelFramework::content
