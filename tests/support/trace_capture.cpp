#include "trace_capture.h"

#include "platform/platform.h"

namespace orvotest {

using namespace zelFramework;

TraceCapture::TraceCapture(TraceSettings settings) : previousSettings_(traceSettings()) {
    previousHook_ = setDebugOutputHook([this](const char* s) { text_ += s; });
    traceSettings() = settings;
    clearMessageQueue();
}

TraceCapture::~TraceCapture() {
    setDebugOutputHook(std::move(previousHook_));
    traceSettings() = previousSettings_;
    clearMessageQueue();
}

std::vector<std::string> TraceCapture::lines() const {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end = text_.find('\n'); end != std::string::npos; end = text_.find('\n', start)) {
        out.push_back(text_.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

int TraceCapture::count(std::string_view needle) const {
    if (needle.empty()) return 0;
    int n = 0;
    for (size_t at = text_.find(needle); at != std::string::npos; at = text_.find(needle, at + needle.size())) ++n;
    return n;
}

bool TraceCapture::quitPosted() {
    bool quit = false;
    Message m;
    while (peekMessage(m))
        if (m.message == WM_QUIT) quit = true;
    return quit;
}

}  // namespace orvotest
