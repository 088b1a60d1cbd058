// The render size check: each driver limit and the memory of the render targets, with the message
// that names the limit and the largest width that would do.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>

#include "gl/render_limits.h"

using namespace zelFramework;

namespace {

// llvmpipe's limits, with the memory of a machine with 16 GiB to spare.
RenderLimits softwareDriver() {
    RenderLimits l;
    l.maxTextureSize = 16384;
    l.maxRenderbufferSize = 16384;
    l.maxViewportWidth = l.maxViewportHeight = 16384;
    l.memoryBytes = 4ull << 30;
    l.memorySource = "a quarter of the machine's available memory";
    return l;
}

}  // namespace

TEST(RenderLimits, SizesWithinEveryLimitPass) {
    EXPECT_EQ(renderSizeProblem(softwareDriver(), 1280, 561), "");
    EXPECT_EQ(renderSizeProblem(softwareDriver(), 64, 28), "");
    // Unknown limits (a driver that answers 0) do not refuse anything.
    EXPECT_EQ(renderSizeProblem(RenderLimits{}, 16384, 7185), "");
}

TEST(RenderLimits, EachDriverLimitIsNamed) {
    RenderLimits l = softwareDriver();
    l.memoryBytes = 0;
    l.maxTextureSize = 8192;
    std::string problem = renderSizeProblem(l, 8193, 3593);
    EXPECT_NE(problem.find("8193 x 3593"), std::string::npos) << problem;
    EXPECT_NE(problem.find("GL_MAX_TEXTURE_SIZE) of 8192"), std::string::npos) << problem;
    EXPECT_EQ(renderSizeProblem(l, 8192, 3592), "");

    l = softwareDriver();
    l.memoryBytes = 0;
    l.maxRenderbufferSize = 4096;
    EXPECT_NE(renderSizeProblem(l, 5000, 2192).find("GL_MAX_RENDERBUFFER_SIZE"), std::string::npos);
    l = softwareDriver();
    l.memoryBytes = 0;
    l.maxViewportHeight = 2000;
    EXPECT_NE(renderSizeProblem(l, 4000, 1754).find("GL_MAX_VIEWPORT_DIMS"), std::string::npos);
}

TEST(RenderLimits, TheTargetsMustFitTheMemoryAndTheMessageGivesAWidthThatDoes) {
    // 16384 wide needs about 9 GiB of targets: more than the 4 GiB allowed.
    const std::string problem = renderSizeProblem(softwareDriver(), 16384, 7185);
    EXPECT_NE(problem.find("needs about 8.8 GiB of render targets, more than the 4.0 GiB of a quarter of the machine's available memory"),
              std::string::npos)
        << problem;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(problem, m, std::regex("a width of at most (\\d+)$"))) << problem;
    const int width = std::stoi(m[1]);
    const int height = int(float(width) / 2.28f);
    // The width offered fits, and is not far below what would.
    EXPECT_EQ(renderSizeProblem(softwareDriver(), width, height), "");
    EXPECT_GT(width, 10000);
    const int wider = width + 64;
    EXPECT_NE(renderSizeProblem(softwareDriver(), wider, int(float(wider) / 2.28f)), "");
}
