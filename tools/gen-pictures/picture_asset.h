#pragma once
// One picture of the show: where it goes, how it is stored, and the function that paints it.
#include <functional>
#include <string>
#include <vector>

#include "image.h"

namespace zelFramework::content {

enum class FileKind { PngRgb, PngRgba, Jpeg };

struct PictureAsset {
    std::string path;  // relative to the resources folder, '/'-separated
    FileKind kind;
    std::function<Image()> paint;
    // True for pictures stored upside down because the show maps them with bottom-up texture
    // coordinates; review tools turn them back.
    bool storedMirrored = false;
};

// Each group lives in its own file.
std::vector<PictureAsset> identityPictures();   // channel, event and host logos; arena title cards
std::vector<PictureAsset> testCardPictures();   // generic studio layers and the two test images
std::vector<PictureAsset> slidePictures();      // message, network logo, credits, message for you
std::vector<PictureAsset> endScreenPictures();
std::vector<PictureAsset> tvPictures();         // tunnel TV stands and screens
std::vector<PictureAsset> texturePictures();    // loading, noise, reflection, flash, white, vignette
std::vector<PictureAsset> gradingPictures();    // colour look-up tables
std::vector<PictureAsset> editorButtonPictures();

std::vector<PictureAsset> allPictures();

// Clamps the painted picture and writes it under dir in the asset's format (the one place that decides
// encoder settings, so every writer of a picture gives the same bytes).
bool writePicture(const std::string& dir, const PictureAsset& asset, Image& img);

}  // namespace zelFramework::content
