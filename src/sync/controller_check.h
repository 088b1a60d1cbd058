// Finding the curves that do nothing: names the sync data holds but no layer reads (a typo such as
// "ZEL: Contrst" silently drops the effect), and names the layers read that the data lacks (they
// read 0 for the whole show). Each comes with the nearest name of the other side, if one is close.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelFramework {

class ControllerSet;

struct NameProblem {
    std::string name;
    std::string nearest;  // empty when no name is close enough to suggest
};

struct ControllerCheck {
    std::vector<NameProblem> unread;   // in the data, read by no layer
    std::vector<NameProblem> missing;  // read by a layer, not in the data
};

// Edits (insert, delete, replace one byte, swap two neighbours) that turn `a` into `b`.
size_t nameDistance(std::string_view a, std::string_view b);
// The candidate closest to `name`, if it is within a third of the name's length (at least 2 edits).
std::string nearestName(std::string_view name, const std::vector<std::string>& candidates);

ControllerCheck checkControllerNames(const std::vector<std::string>& inData, const std::vector<std::string>& read);

// "... (did you mean "X"?)" or nothing.
std::string didYouMean(const NameProblem& problem);

// After loading: the names the sync data brought that no layer asked for, as WARNING trace lines
// with the nearest name read, and one INFO line listing the names read that the data lacks. Says
// nothing when no layer asked for any controller (a composition that reads no curves).
void traceControllerCheck(const ControllerSet& set);

}  // namespace zelFramework
