// What the process has used so far: for the start-up figures the loading sequence prints.
#pragma once

namespace zelFramework {

struct ProcessUsage {
    double secondsSinceStart = 0;  // wall time since the process started (before main)
    double cpuSeconds = 0;         // user + system time of all threads
    double peakResidentMB = 0;     // the largest resident set so far
};

ProcessUsage processUsage();

}  // namespace zelFramework
