#include "app/trace.h"

#include <cstdarg>

#include "platform/platform.h"

namespace zelFramework {

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

    const char* name = traceLevelName(level);
    if (s.outputMode == TRACE_TO_DEBUGGER || s.outputMode == TRACE_TO_BOTH) {
        debugOutput(name);
        debugOutput(" (");
        debugOutput(tag ? tag : "");
        debugOutput("): ");
        debugOutput(message);
        debugOutput("\n");
    }
    if ((s.outputMode == TRACE_TO_STREAM || s.outputMode == TRACE_TO_BOTH) && s.logStream) {
        std::fprintf(s.logStream, "%s (%s): %s\n", name, tag ? tag : "", message);
        std::fflush(s.logStream);
    }

    if (s.quitLevel != TRACE_NEVER_QUIT && level <= s.quitLevel) postQuitMessage(0);
}

void traceStop() {
    // The last line goes in before the stream closes, so a log file ends with it too.
    trace(TRACE_INFO, "trace", "Trace stopped.");
    TraceSettings& s = traceSettings();
    // A stream we were given is ours to close in either mode that writes to it; forgetting it keeps
    // a message written after the stop away from a closed stream.
    if ((s.outputMode == TRACE_TO_STREAM || s.outputMode == TRACE_TO_BOTH) && s.logStream) {
        std::fclose(s.logStream);
        s.logStream = nullptr;
    }
}

}  // namespace zelFramework
