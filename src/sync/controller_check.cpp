#include "sync/controller_check.h"

#include <algorithm>
#include <set>

#include "app/trace.h"
#include "sync/beat_grid.h"
#include "sync/controller_set.h"

namespace zelFramework {

size_t nameDistance(std::string_view a, std::string_view b) {
    // Optimal string alignment: three rows of the edit-distance table.
    std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) row[j] = std::min(row[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(row);
    }
    return previous[b.size()];
}

std::string nearestName(std::string_view name, const std::vector<std::string>& candidates) {
    const size_t limit = std::max<size_t>(2, name.size() / 3);
    std::string best;
    size_t bestDistance = limit + 1;
    for (const std::string& candidate : candidates) {
        const size_t d = nameDistance(name, candidate);
        if (d < bestDistance) {
            bestDistance = d;
            best = candidate;
        }
    }
    return best;
}

ControllerCheck checkControllerNames(const std::vector<std::string>& inData, const std::vector<std::string>& read) {
    const std::set<std::string> dataNames(inData.begin(), inData.end()), readNames(read.begin(), read.end());
    std::vector<std::string> onlyInData, onlyRead;
    for (const std::string& name : inData)
        if (!readNames.count(name) && std::find(onlyInData.begin(), onlyInData.end(), name) == onlyInData.end())
            onlyInData.push_back(name);
    for (const std::string& name : read)
        if (!dataNames.count(name) && std::find(onlyRead.begin(), onlyRead.end(), name) == onlyRead.end())
            onlyRead.push_back(name);
    // A typo pairs a name of one side with a name of the other that the first side lacks.
    ControllerCheck check;
    for (const std::string& name : onlyInData) check.unread.push_back({name, nearestName(name, onlyRead)});
    for (const std::string& name : onlyRead) check.missing.push_back({name, nearestName(name, onlyInData)});
    return check;
}

std::string didYouMean(const NameProblem& problem) {
    return problem.nearest.empty() ? std::string() : " (did you mean \"" + problem.nearest + "\"?)";
}

void traceControllerCheck(const ControllerSet& set) {
    std::vector<std::string> inData, read;
    for (uint32_t i = 0; i < set.count(); ++i) {
        if (set.fromFileAt(i) && set.nameAt(i) != BEAT_GRID_CONTROLLER) inData.push_back(set.nameAt(i));
        if (set.requestedAt(i)) read.push_back(set.nameAt(i));
    }
    if (read.empty()) return;
    const ControllerCheck check = checkControllerNames(inData, read);
    for (const NameProblem& p : check.unread)
        trace(TRACE_WARNING, "syncData", "the sync data's controller \"%s\" is read by no layer%s", p.name.c_str(),
              didYouMean(p).c_str());
    if (check.missing.empty()) return;
    std::string names;
    for (const NameProblem& p : check.missing) names += (names.empty() ? "\"" : ", \"") + p.name + "\"" + didYouMean(p);
    trace(TRACE_INFO, "syncData", "%zu controller(s) read by the layers have no keys in the sync data and read 0: %s",
          check.missing.size(), names.c_str());
}

}  // namespace zelFramework
