#include "app/trace.h"

#include <cstdarg>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"

namespace zelFramework {

namespace {

// Distinct messages remembered for collapsing; past this many, new ones print every time, so a run
// that never repeats itself cannot grow the table without bound.
constexpr size_t MAX_REMEMBERED_MESSAGES = 4096;

struct RepeatTable {
    bool on = false;
    std::unordered_map<std::string, uint64_t> copies;  // line -> how many times it was traced
    std::vector<std::string> order;                    // lines in the order they first appeared
};

RepeatTable& repeats() {
    static RepeatTable table;
    return table;
}

struct ErrorTally {
    uint32_t count = 0;
    std::string first;
};

ErrorTally& errors() {
    static ErrorTally tally;
    return tally;
}

void emit(const TraceSettings& s, const std::string& line) {
    if (s.outputMode == TRACE_TO_DEBUGGER || s.outputMode == TRACE_TO_BOTH) {
        debugOutput(line.c_str());
        debugOutput("\n");
    }
    if ((s.outputMode == TRACE_TO_STREAM || s.outputMode == TRACE_TO_BOTH) && s.logStream) {
        std::fprintf(s.logStream, "%s\n", line.c_str());
        std::fflush(s.logStream);
    }
}

// True when the line was traced before and is only counted this time.
bool isRepeat(const std::string& line) {
    RepeatTable& t = repeats();
    if (!t.on) return false;
    if (auto it = t.copies.find(line); it != t.copies.end()) {
        ++it->second;
        return true;
    }
    if (t.copies.size() < MAX_REMEMBERED_MESSAGES) {
        t.copies.emplace(line, 1);
        t.order.push_back(line);
    }
    return false;
}

void emitRepeatCounts(const TraceSettings& s) {
    RepeatTable& t = repeats();
    for (const std::string& line : t.order)
        if (const uint64_t n = t.copies[line]; n > 1)
            emit(s, line + " (repeated " + std::to_string(n) + " times)");
    t.copies.clear();
    t.order.clear();
}

}  // namespace

TraceSettings& traceSettings() {
    static TraceSettings settings;
    return settings;
}

const char* traceLevelName(TraceLevel level) {
    static const char* const names[] = {"CRITICAL", "ERROR", "WARNING", "INFO"};
    return level < 4 ? names[level] : "TRACE";
}

void trace(TraceLevel level, const char* tag, const char* format, ...) {
    const TraceSettings& s = traceSettings();
    if (level > s.maximumLevel) return;

    // vsnprintf truncates a longer message to the buffer; it never writes past it.
    char message[TRACE_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);

    const std::string line = std::string(traceLevelName(level)) + " (" + (tag ? tag : "") + "): " + message;
    if (level <= TRACE_ERROR && errors().count++ == 0) errors().first = line;
    // Progress lines (INFO) are events in their own right, each worth its line; faults are what a frame
    // loop meets again every frame.
    if (level > TRACE_WARNING || !isRepeat(line)) emit(s, line);

    if (s.quitLevel != TRACE_NEVER_QUIT && level <= s.quitLevel) postQuitMessage(0);
}

void traceStop() {
    TraceSettings& s = traceSettings();
    emitRepeatCounts(s);
    // The last line goes in before the stream closes, so a log file ends with it too.
    trace(TRACE_INFO, "trace", "Trace stopped.");
    // A stream we were given is ours to close in either mode that writes to it; forgetting it keeps
    // a message written after the stop away from a closed stream.
    if ((s.outputMode == TRACE_TO_STREAM || s.outputMode == TRACE_TO_BOTH) && s.logStream) {
        std::fclose(s.logStream);
        s.logStream = nullptr;
    }
}

void traceCollapseRepeats(bool on) {
    repeats().on = on;
    if (!on) {
        repeats().copies.clear();
        repeats().order.clear();
    }
}

uint32_t traceErrorCount() { return errors().count; }

const std::string& firstTraceError() { return errors().first; }

}  // namespace zelFramework
