// The trace log: level gating, the quit policy, truncation and the output modes up to the stop line.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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

TEST(Trace, StreamModesWriteWholeLinesAndStopClosesTheStream) {
    const std::string path = ::testing::TempDir() + "orvo_trace_stream.log";
    const std::string error = "ERROR (shaderCompiler): (fxaa) - Unable to compile shader!\n";
    const std::string stopped = "INFO (trace): Trace stopped.\n";
    for (uint32_t mode : {uint32_t(TRACE_TO_STREAM), uint32_t(TRACE_TO_BOTH)}) {
        TraceCapture cap;
        FILE* stream = std::fopen(path.c_str(), "wb");
        ASSERT_NE(stream, nullptr);
        traceSettings() = TraceSettings{3, mode, stream, TRACE_NEVER_QUIT};
        trace(TRACE_ERROR, "shaderCompiler", "(%s) - Unable to compile shader!", "fxaa");
        traceStop();
        // The stream we were handed is closed and forgotten, so later messages cannot touch it.
        EXPECT_EQ(traceSettings().logStream, nullptr);
        trace(TRACE_INFO, "trace", "after the end");

        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), error + stopped);
        EXPECT_EQ(cap.text(), mode == TRACE_TO_STREAM ? "" : error + stopped + "INFO (trace): after the end\n");
    }
    std::remove(path.c_str());
}
