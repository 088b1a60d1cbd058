#include "gl/picture_rules.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/platform.h"

namespace zelFramework {

std::string pictureRuleKey(std::string_view name) {
    return nativePath(name).lexically_normal().generic_string();
}

bool PictureRules::flips(std::string_view name) const {
    if (flipped.empty()) return false;
    return std::find(flipped.begin(), flipped.end(), pictureRuleKey(name)) != flipped.end();
}

PictureRules readPictureRules(const std::filesystem::path& file, std::vector<std::string>& problems) {
    PictureRules rules;
    std::ifstream in(file);
    if (!in) return rules;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        std::istringstream words(line.substr(first));
        std::string verb;
        words >> verb;
        std::string name;
        std::getline(words >> std::ws, name);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
        const std::string where = file.string() + " line " + std::to_string(number) + ": ";
        if (verb != "flip")
            problems.push_back(where + "unknown rule \"" + verb + "\" (the rule is: flip NAME)");
        else if (name.empty())
            problems.push_back(where + "flip without a picture name");
        else
            rules.flipped.push_back(pictureRuleKey(name));
    }
    return rules;
}

}  // namespace zelFramework
