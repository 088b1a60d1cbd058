// The trace log: the one diagnostic channel of the program, and its error policy.
// A printed message at or below the quit level asks the whole program to quit.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace zelFramework {

using TraceLevel = uint32_t;
enum : TraceLevel { TRACE_CRITICAL = 0, TRACE_ERROR = 1, TRACE_WARNING = 2, TRACE_INFO = 3 };

constexpr uint32_t TRACE_NEVER_QUIT = 0xFFFFFFFFu;
constexpr size_t TRACE_BUFFER_SIZE = 8192;

enum : uint32_t { TRACE_TO_STREAM = 1, TRACE_TO_DEBUGGER = 2, TRACE_TO_BOTH = 3 };

struct TraceSettings {
    uint32_t maximumLevel = 0;
    uint32_t outputMode = 0;
    FILE* logStream = nullptr;
    uint32_t quitLevel = TRACE_NEVER_QUIT;
};

// The process-wide settings; the entry function sets them once at start-up.
TraceSettings& traceSettings();

const char* traceLevelName(TraceLevel level);

void trace(TraceLevel level, const char* tag, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// Ends the log: writes the count of every collapsed message, then "Trace stopped.", then closes the
// log stream of modes 1 and 3.
void traceStop();

// With collapsing on, a WARNING, ERROR or CRITICAL message printed once is not printed again: its
// later copies are only counted, and traceStop writes it once more with "(repeated N times)", N
// counting every copy. A frame loop that meets the same fault every frame then prints one line for it,
// not thousands. INFO lines always print.
void traceCollapseRepeats(bool on);

// ERROR and CRITICAL messages that passed the level gate since the process started, and the line
// of the first of them ("ERROR (tag): message"), so the program can say why a run failed.
uint32_t traceErrorCount();
const std::string& firstTraceError();

}  // namespace zelFramework
