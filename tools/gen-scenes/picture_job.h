// A picture the generator writes: a resource name (with '\' folders, as the show names it) and the
// function that paints it.
#pragma once

#include <functional>
#include <string>

#include "image.h"

namespace zelFramework::scenegen {

enum class PictureFormat { PngRgb, Jpeg };

struct PictureJob {
    std::string name;  // as the scene materials or layers name it, e.g. "video\Tabor_Pimsel_00058.png"
    PictureFormat format = PictureFormat::PngRgb;
    std::function<content::Image()> paint;
};

// The file a resource name lands in below `outputDir` ('\' becomes '/').
std::string resourcePath(const std::string& outputDir, const std::string& name);
// Paints and writes one picture; false when the file cannot be written.
bool writePicture(const PictureJob& job, const std::string& outputDir);

}  // namespace zelFramework::scenegen
