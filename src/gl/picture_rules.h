// Per-picture rules an author writes beside the pictures, so that a picture can be used as it came
// from another program, without editing its pixels.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zelFramework {

// The rules file in the resources folder. One rule a line, '#' starts a comment:
//     flip NAME     turn the picture NAME upside down when it is loaded
// NAME is the picture's file name as the show asks for it; '\' and '/' are the same separator.
constexpr const char* PICTURE_RULES_FILE = "pictures.txt";

struct PictureRules {
    std::vector<std::string> flipped;  // names in the form pictureRuleKey gives

    bool flips(std::string_view name) const;
};

// The form names are compared in: separators as '/', doubled separators and "./" removed.
std::string pictureRuleKey(std::string_view name);

// Reads a rules file; a missing file holds no rules. Every line that is not a rule adds a line to
// `problems` naming the file, the line number and what is wrong.
PictureRules readPictureRules(const std::filesystem::path& file, std::vector<std::string>& problems);

}  // namespace zelFramework
