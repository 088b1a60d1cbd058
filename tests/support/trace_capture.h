// Captures everything the trace log writes to the debugger output during a test. On construction it
// installs the capture hook, sets the trace settings (by default: every level printed to the debugger,
// never quit) and empties the message queue; on destruction it puts back the previous hook, settings
// and an empty queue.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/trace.h"

namespace orvotest {

class TraceCapture {
public:
    explicit TraceCapture(zelFramework::TraceSettings settings = {zelFramework::TRACE_INFO,
                                                                  zelFramework::TRACE_TO_DEBUGGER, nullptr,
                                                                  zelFramework::TRACE_NEVER_QUIT});
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    const std::string& text() const { return text_; }
    void clear() { text_.clear(); }
    // Complete lines written so far, without their line ends.
    std::vector<std::string> lines() const;
    // How many times the text occurs in everything captured.
    int count(std::string_view needle) const;
    bool contains(std::string_view needle) const { return count(needle) > 0; }
    // Drains the message queue; true when a WM_QUIT was among the messages.
    bool quitPosted();

private:
    std::string text_;
    std::function<void(const char*)> previousHook_;
    zelFramework::TraceSettings previousSettings_;
};

}  // namespace orvotest
