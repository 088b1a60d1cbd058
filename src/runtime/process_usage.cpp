#include "runtime/process_usage.h"

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace zelFramework {
namespace {

// Field 22 of /proc/self/stat: the start time in clock ticks after boot. The command name (field 2)
// may hold spaces, so fields are counted after its closing parenthesis.
double startSecondsAfterBoot() {
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int number = 3; number <= 22 && fields >> field; ++number)
        if (number == 22) return std::stod(field) / double(sysconf(_SC_CLK_TCK));
    return -1;
}

}  // namespace

ProcessUsage processUsage() {
    ProcessUsage usage;
    timespec now{};
    const double started = startSecondsAfterBoot();
    if (started >= 0 && clock_gettime(CLOCK_BOOTTIME, &now) == 0)
        usage.secondsSinceStart = double(now.tv_sec) + double(now.tv_nsec) * 1e-9 - started;
    rusage self{};
    if (getrusage(RUSAGE_SELF, &self) == 0) {
        usage.cpuSeconds = double(self.ru_utime.tv_sec + self.ru_stime.tv_sec) +
                           double(self.ru_utime.tv_usec + self.ru_stime.tv_usec) * 1e-6;
        usage.peakResidentMB = double(self.ru_maxrss) / 1024.0;  // kilobytes on Linux
    }
    return usage;
}

}  // namespace zelFramework
