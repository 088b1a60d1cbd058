// Bounds the triangles a software renderer holds for one frame. Mesa's llvmpipe sorts every
// triangle of a frame into screen tiles and keeps them all until the frame is drawn; the stadium,
// with its many visible triangles, held about 16 MB more at its busiest frame than the show needs
// anywhere else. Waiting for the queued work after every so many indices lets the driver draw and
// free what it has sorted. The picture is the same: the same draws in the same order. On a GPU
// nothing is waited for.
#pragma once

#include <cstddef>

namespace zelFramework {

// Indices drawn between two waits. Measured on the stadium at 640 x 280: 50 000 saved about as
// much as 20 000 and cost no frame time that showed over the noise.
constexpr size_t BINNED_INDEX_LIMIT = 50000;

// Call after each indexed draw of `indexCount` indices; needs the drawing context current.
void afterIndexedDraw(size_t indexCount);

// Tests: the limit in force (0: never wait; a GPU always counts as 0), and the waits so far.
void setBinnedIndexLimit(size_t limit);
size_t binnedIndexLimit();
size_t binnedWorkWaits();

}  // namespace zelFramework
