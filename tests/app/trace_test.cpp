// The trace log: level gating, the quit policy, truncation and the output modes up to the stop line.
#include <gtest/gtest.h>

#include <string>

#include "app/trace.h"
#include "platform/platform.h"
#include "support/trace_capture.h"
#include "support/file_text.h"

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

        EXPECT_EQ(orvotest::fileText(path), error + stopped);
        EXPECT_EQ(cap.text(), mode == TRACE_TO_STREAM ? "" : error + stopped + "INFO (trace): after the end\n");
    }
    std::remove(path.c_str());
}

TEST(Trace, CollapsedRepeatsPrintOnceAndAreCountedAtTheStop) {
    TraceCapture cap;
    traceCollapseRepeats(true);
    // A frame loop meeting the same two faults every frame, interleaved with a message that changes.
    for (int frame = 0; frame < 500; ++frame) {
        trace(TRACE_WARNING, "shaderAccess", "unable to retrieve the following uniform variable: %s", "gamma");
        trace(TRACE_WARNING, "shaderAccess", "unable to retrieve the following uniform variable: %s", "fogColor");
        if (frame < 2) trace(TRACE_INFO, "frame", "frame %d", frame);
    }
    // Progress lines are events, not faults: each prints.
    trace(TRACE_INFO, "fboCreator", "FBO successfully created (%d * %d)", 64, 28);
    trace(TRACE_INFO, "fboCreator", "FBO successfully created (%d * %d)", 64, 28);
    trace(TRACE_INFO, "once", "only once");
    traceStop();
    traceCollapseRepeats(false);
    EXPECT_EQ(cap.text(),
              "WARNING (shaderAccess): unable to retrieve the following uniform variable: gamma\n"
              "WARNING (shaderAccess): unable to retrieve the following uniform variable: fogColor\n"
              "INFO (frame): frame 0\n"
              "INFO (frame): frame 1\n"
              "INFO (fboCreator): FBO successfully created (64 * 28)\n"
              "INFO (fboCreator): FBO successfully created (64 * 28)\n"
              "INFO (once): only once\n"
              "WARNING (shaderAccess): unable to retrieve the following uniform variable: gamma (repeated 500 times)\n"
              "WARNING (shaderAccess): unable to retrieve the following uniform variable: fogColor (repeated 500 times)\n"
              "INFO (trace): Trace stopped.\n");

    // The counts were written and forgotten: a later run of the log starts afresh, and without
    // collapsing every copy prints.
    cap.clear();
    trace(TRACE_WARNING, "x", "again");
    trace(TRACE_WARNING, "x", "again");
    EXPECT_EQ(cap.text(), "WARNING (x): again\nWARNING (x): again\n");
}

TEST(Trace, ACollapsedErrorStillQuitsAndEveryErrorIsCounted) {
    TraceCapture cap({TRACE_INFO, TRACE_TO_DEBUGGER, nullptr, TRACE_ERROR});
    traceCollapseRepeats(true);
    const uint32_t before = traceErrorCount();
    trace(TRACE_WARNING, "w", "not an error");
    EXPECT_EQ(traceErrorCount(), before);
    trace(TRACE_ERROR, "midi", "cannot read %s", "cues.mid");
    EXPECT_TRUE(cap.quitPosted());
    trace(TRACE_ERROR, "midi", "cannot read %s", "cues.mid");
    EXPECT_TRUE(cap.quitPosted()) << "a repeated ERROR that is not printed must still end the show";
    trace(TRACE_CRITICAL, "fboStack", "destroyed!");
    EXPECT_EQ(traceErrorCount(), before + 3);
    if (before == 0) {  // the first error of the process is kept, not the latest
        EXPECT_EQ(firstTraceError(), "ERROR (midi): cannot read cues.mid");
    }
    EXPECT_EQ(cap.count("cannot read cues.mid"), 1);
    traceCollapseRepeats(false);
}
