#pragma once
// A contact sheet: every picture as a labelled thumbnail on one page, for reviewing the set at a glance.
#include <string>
#include <vector>

#include "image.h"

namespace zelFramework::content {

struct ContactSheetEntry {
    std::string label;
    Image thumbnail;
    bool large = false;  // composed slide previews get bigger cells, so their text can be read
};

// A thumbnail that fits a fixed cell; transparent pictures are shown over a checkerboard unless opaque.
Image thumbnailOf(const Image& img, bool opaque, bool large = false);
bool writeContactSheet(const std::string& path, const std::vector<ContactSheetEntry>& entries);

}  // namespace zelFramework::content
