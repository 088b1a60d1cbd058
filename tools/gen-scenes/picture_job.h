// A picture the generator writes: a resource name (with '\' folders, as the show names it) and the
// function that paints it. Set pictures are stored as three-channel PNGs (the scene draws only RGB
// diffuse maps in its opaque pass), except a light map whose alpha says how much of the scene's
// lights its surfaces take.
#pragma once

#include <functional>
#include <string>

#include "image.h"
#include "image_io.h"

namespace zelFramework::scenegen {

struct PictureJob {
    std::string name;  // as the scene materials or layers name it, e.g. "video\Tabor_Pimsel_00058.png"
    std::function<content::Image()> paint;
    content::PngChannels channels = content::PngChannels::Rgb;
};

// The file a resource name lands in below `outputDir` ('\' becomes '/').
std::string resourcePath(const std::string& outputDir, const std::string& name);
// Paints and writes one picture with its channels; false when the file cannot be written.
bool writePicture(const PictureJob& job, const std::string& outputDir);

}  // namespace zelFramework::scenegen
