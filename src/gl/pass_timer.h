// Time spent in each named pass of a frame, for the benchmark's --passes report. Off by default, and
// then a PassTimer costs a flag test. When on, each pass is bounded by GL timestamp queries where the
// driver has them and is a real GPU; on a software renderer (where the GPU time is our own process's
// CPU time) and without queries, by glFinish on both ends, so a pass is charged with its own work.
// The glFinish calls cost overlap, so a frame timed by passes is slower than an untimed one.
#pragma once

#include <string>
#include <vector>

namespace zelFramework {

struct PassSample {
    std::string name;
    double wallMs = 0.0;
    double cpuMs = 0.0;  // process CPU time (all threads; a software renderer's workers included)
    int depth = 0;       // 0 for a pass inside no other timed pass
};

// Switches pass timing on or off; needs a current GL context when switched on.
void enablePassTiming(bool on);
bool passTimingEnabled();
// True when the passes are timed by GPU timestamp queries rather than by glFinish.
bool passTimingUsesQueries();

// Times the enclosing scope as the pass `name` (a string that outlives the frame). Scopes may nest;
// the inner pass's time is then part of the outer one's too.
class PassTimer {
public:
    explicit PassTimer(const char* name);
    ~PassTimer();
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

private:
    int slot_ = -1;
};

// The passes timed since the last call, in the order they began; empties the list.
std::vector<PassSample> takePassSamples();

// Process CPU time in milliseconds (all threads), for per-frame CPU figures.
double processCpuMs();

}  // namespace zelFramework
