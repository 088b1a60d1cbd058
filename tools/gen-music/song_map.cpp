#include "song_map.h"

#include <algorithm>

namespace zelFramework::music {

const std::vector<double>& featureCuts()
{
    static const std::vector<double> cuts = {57.583, 62.541, 66.708, 70.916, 74.5};
    return cuts;
}

const std::vector<double>& buildUpSlideChanges()
{
    static const std::vector<double> changes = {113.103, 115.857, 118.621, 121.3, 122.759};
    return changes;
}

const std::vector<double>& tunnelFlashTimes()
{
    // The tunnel's list of flash moments; two of them are listed twice there, but one hit each is enough.
    static const std::vector<double> times = [] {
        std::vector<double> all = {153.1,   154.481, 157.241, 157.585, 158.094, 158.615, 158.961, 159.3,
                                   159.645, 160.345, 160.862, 161.38,  161.723, 161.861, 162.241, 162.241,
                                   162.754, 163.621, 164.144, 164.691, 165.003, 165.518, 166.377, 166.894,
                                   167.412, 168.276, 168.621, 169.655, 169.998, 170.26,  170.515, 170.515,
                                   171.379, 172.414, 172.757, 172.931, 173.1,   173.265, 173.448, 173.793};
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }();
    return times;
}

}  // namespace zelFramework::music
