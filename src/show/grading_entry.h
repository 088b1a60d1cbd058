// A colour-grading picture and the span of show time in which it applies.
#pragma once

#include <string>
#include <vector>

namespace zelFramework {

class GL_Texture;

struct GradingEntry {
    std::string path;              // picture in the resources folder
    GL_Texture* texture = nullptr;  // loaded by the post-processing layer's init; null when missing
    float startSeconds = 0.0f;
    float endSeconds = 0.0f;
};

// The grading picture in effect at `seconds`: of every entry whose span holds the time (both ends
// inclusive) the last in list order wins, so at a shared end the later entry is used. Null when no
// span holds the time or the winning entry's picture is missing.
GL_Texture* gradingAt(const std::vector<GradingEntry>& gradings, float seconds);

}  // namespace zelFramework
