#include "picture_job.h"

#include <algorithm>

namespace zelFramework::scenegen {

std::string resourcePath(const std::string& outputDir, const std::string& name) {
    std::string rel = name;
    std::replace(rel.begin(), rel.end(), '\\', '/');
    return outputDir + "/" + rel;
}

bool writePicture(const PictureJob& job, const std::string& outputDir) {
    content::Image img = job.paint();
    content::clampAll(img);
    std::string path = resourcePath(outputDir, job.name);
    return content::writePng(path, img, job.channels);
}

}  // namespace zelFramework::scenegen
