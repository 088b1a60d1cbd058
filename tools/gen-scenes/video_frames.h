// The hosts' "video": a short broadcast clip (10 pictures a second) that plays on the two hosts'
// shirt fronts. Picture n is "video\Tabor_Pimsel_%05d.png" (the clip beside the hosts' cloth ramps,
// see host_wardrobe.h); the show uses 1 and 58 to 174.
#pragma once

#include <vector>

#include "picture_job.h"

namespace zelFramework::scenegen {

// One picture of the clip (256 x 256).
content::Image paintVideoFrame(int number);

// The jobs for pictures 1 and 58 to 174, each the whole picture the hosts wear.
std::vector<PictureJob> videoFrameJobs();

}  // namespace zelFramework::scenegen
