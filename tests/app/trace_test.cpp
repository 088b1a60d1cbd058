#include <gtest/gtest.h>

#include <string>

#include "app/trace.h"
#include "platform/platform.h"
#include "support/trace_capture.h"

using namespace zelFramework;

using orvotest::TraceCapture;

TEST(Trace, GatingPrintingAndQuitPolicy) {
    TraceCapture cap;
    traceSettings() = TraceSettings{3, TRACE_TO_DEBUGGER, nullptr, 1};

    trace(TRACE_WARNING, "fboCreator", "unable to attach %s", "x");
    EXPECT_EQ(cap.text(), "WARNING (fboCreator): unable to attach x\n");
    EXPECT_FALSE(cap.quitPosted());

    cap.clear();
    trace(TRACE_ERROR, "fboCreator", "FRAMEBUFFER_UNSUPPORTED_EXT");
    EXPECT_EQ(cap.text(), "ERROR (fboCreator): FRAMEBUFFER_UNSUPPORTED_EXT\n");
    EXPECT_TRUE(cap.quitPosted());

    // Above the maximum level nothing prints and nothing quits, even at a quitting level.
    cap.clear();
    traceSettings().maximumLevel = 0;
    traceSettings().quitLevel = 2;
    trace(TRACE_ERROR, "x", "hidden");
    EXPECT_EQ(cap.text(), "");
    EXPECT_FALSE(cap.quitPosted());

    // The never-quit level prints every level and never quits.
    traceSettings() = TraceSettings{3, TRACE_TO_DEBUGGER, nullptr, TRACE_NEVER_QUIT};
    trace(TRACE_CRITICAL, "fboStack", "destroyed!");
    EXPECT_EQ(cap.text(), "CRITICAL (fboStack): destroyed!\n");
    EXPECT_FALSE(cap.quitPosted());
}

TEST(Trace, LongMessagesAreTruncatedAndOtherModesStaySilent) {
    TraceCapture cap;
    traceSettings() = TraceSettings{3, TRACE_TO_DEBUGGER, nullptr, TRACE_NEVER_QUIT};
    std::string big(20000, 'a');
    trace(TRACE_INFO, "t", "%s", big.c_str());
    EXPECT_EQ(cap.text().size(), std::string("INFO (t): \n").size() + TRACE_BUFFER_SIZE - 1);

    cap.clear();
    traceSettings().outputMode = 7;
    trace(TRACE_INFO, "t", "nothing");
    EXPECT_EQ(cap.text(), "");
}

TEST(Trace, StopWritesTheLastLine) {
    TraceCapture cap;
    traceSettings() = TraceSettings{3, TRACE_TO_DEBUGGER, nullptr, 1};
    traceStop();
    EXPECT_EQ(cap.text(), "INFO (trace): Trace stopped.\n");
}
