// What each set's layer adds when it draws the set: its lights, ambient and viewer light, and for
// the stadium the two characters. The preview uses these to light a set as the show will.
#pragma once

#include <string>
#include <vector>

#include "image.h"
#include "soft_raster.h"

namespace zelFramework::scenegen {

struct PreviewModel {
    std::string objFile;
    std::string texture;
    Vec3 position;
    float rotationDegrees = 0;
    float scale = 1;
    float lightInfluence = 1;
};

struct PreviewSetup {
    PreviewLighting lighting;
    std::vector<PreviewModel> models;
};

// `seconds` is the layer time the preview shows (for the stadium its scene time).
PreviewSetup previewSetupFor(const std::string& sceneFile, float seconds);

// Reads a PNG or JPEG picture (by its extension, in any letter case).
bool readPicture(const std::string& path, content::Image& out);

}  // namespace zelFramework::scenegen
