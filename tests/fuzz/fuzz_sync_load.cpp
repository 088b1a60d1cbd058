// Feeds arbitrary bytes to the sync data loader. A refused file must leave the set exactly as it was;
// an accepted one must leave every controller consistent, evaluable and savable again.
#include <cstdlib>
#include <vector>

#include "sync/controller_set.h"
#include "sync/sync_data.h"

using namespace zelFramework;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

void checkConsistent(const ControllerSet& set) {
    for (uint32_t i = 0; i < set.count(); ++i) {
        const Controller& c = *set.at(i);
        require(c.keys.empty() || c.segments.size() + 1 >= c.keys.size());
        for (size_t k = 1; k < c.keys.size(); ++k) require(!(c.keys[k].time < c.keys[k - 1].time));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ControllerSet set;
    Controller* kept = set.get("ZEL: Gamma");
    kept->addKey(0.0f, 0.5f);
    kept->addKey(4.0f, 1.0f);
    const std::vector<uint8_t> before = serializeSyncData(syncDataFromSet(set));

    if (!set.loadFromBytes({data, size}, "fuzz input")) {
        require(serializeSyncData(syncDataFromSet(set)) == before);
        return 0;
    }
    require(set.get("ZEL: Gamma") == kept);
    checkConsistent(set);
    for (float t : {-1.0f, 0.0f, 0.5f, 3.0f, 1e6f}) set.update(t);

    // What the set saves must load again. Keys tied in time with an earlier key may drop out on that
    // first reload (loading goes through addKey), so the contents must be stable from the second on.
    const std::vector<uint8_t> saved = serializeSyncData(syncDataFromSet(set));
    ControllerSet again;
    require(again.loadFromBytes(saved, "resaved fuzz input"));
    const std::vector<uint8_t> resaved = serializeSyncData(syncDataFromSet(again));
    ControllerSet third;
    require(third.loadFromBytes(resaved, "second reload"));
    require(serializeSyncData(syncDataFromSet(third)) == resaved);
    return 0;
}
