// A picture the generator writes: a resource name (with '\' folders, as the show names it) and the
// function that paints it. Every set picture is stored as a three-channel PNG: the scene draws only
// RGB diffuse maps in its opaque pass.
#pragma once

#include <functional>
#include <string>

#include "image.h"

namespace zelFramework::scenegen {

struct PictureJob {
    std::string name;  // as the scene materials or layers name it, e.g. "video\Tabor_Pimsel_00058.png"
    std::function<content::Image()> paint;
};

// The file a resource name lands in below `outputDir` ('\' becomes '/').
std::string resourcePath(const std::string& outputDir, const std::string& name);
// Paints and writes one picture as an RGB PNG; false when the file cannot be written.
bool writePicture(const PictureJob& job, const std::string& outputDir);

}  // namespace zelFramework::scenegen
