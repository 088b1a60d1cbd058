// The whole show, composed, loaded from the built resources folder and drawn at chosen moments of
// every schedule entry, including the frames that two entries share.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/music.h"
#include "app/screen_metrics.h"
#include "picture_metrics.h"
#include "platform/platform.h"
#include "runtime/gl_loading_host.h"
#include "runtime/loading_sequence.h"
#include "runtime/show_runtime.h"
#include "show/show_composition.h"
#include "show_gl_support.h"
#include "support/gl_fixture.h"
#include "support/trace_capture.h"
#include "sync/controller_set.h"

namespace zelFramework::testing {
namespace {

using orvotest::GL_TEST_HEIGHT;
using orvotest::GL_TEST_WIDTH;

struct Moment {
    uint32_t ms;
    const char* part;     // moments of one part may look alike; different parts must not
    bool dark = false;    // a moment the curves fade to black: drawn, but not judged by its picture
};

// The logo between the tunnel's flash cuts: shiny extruded letters with thin bevels, lit by the
// tunnel lights, seen through depth of field. Its frames are where sparkle would show first.
bool isLogoSpan(uint32_t ms) { return ms >= 151800 && ms <= 173900; }

// Isolated pixels of the rendered scene: the corner logo of the overlay, a 2-D picture drawn at a
// fraction of its size, lies outside what this judges (the bottom-right corner).
content::IsolatedPixels sceneSparkle(const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> scene = rgba;
    // The picture is letterboxed into the window; rows count from the bottom, as read back.
    const int pictureHeight = int(GL_TEST_WIDTH / 2.28f), pictureBottom = (GL_TEST_HEIGHT - pictureHeight) / 2;
    for (int y = pictureBottom; y < pictureBottom + pictureHeight / 4; ++y)
        for (int x = GL_TEST_WIDTH * 3 / 4; x < GL_TEST_WIDTH; ++x)
            for (int c = 0; c < 4; ++c) scene[size_t(y * GL_TEST_WIDTH + x) * 4 + c] = 0;
    return content::countIsolatedPixels(scene, GL_TEST_WIDTH, GL_TEST_HEIGHT);
}

// The first moment is the loop's start of span: the show fades in from black there.
const Moment MOMENTS[] = {
    {0, "start", true},
    {3000, "intro"},          {20000, "intro"},        {35833, "intro+arena"},
    {38000, "arena"},         {41291, "stadium"},      {50000, "stadium"},
    {57583, "title1"},        {59000, "title1"},       {60083, "title1+stadium"},
    {61000, "stadium"},       {63500, "title2"},       {64875, "title2+stadium"},
    {67500, "title3"},        {69083, "title3+stadium"}, {72000, "title4"},
    {74000, "stadium"},       {75500, "title5"},       {76916, "title5+stadium"},
    {90000, "stadium-characters"}, {105000, "stadium-lights-out"}, {112369, "stadium+slide1", true}, {112800, "slide1"},
    {114000, "slide2"},       {117000, "slide3"},      {120000, "slide4"},
    {122000, "slide5"},       {123500, "slide6"},      {124138, "slide6+tunnel"},
    {130000, "tunnel-stands"}, {149000, "tunnel-leaving"}, {152500, "tunnel-cuts"}, {156000, "tunnel-cuts"},
    {160000, "tunnel-cuts"}, {164000, "tunnel-cuts"}, {166000, "tunnel-cuts"},
    {173852, "endscreen"},    {185000, "endscreen"},   {194000, "endscreen"}, {195000, "end", true},
};

class WholeShow : public orvotest::GLTest {};

TEST_F(WholeShow, EveryPartDrawsItsOwnPictureWithoutErrors) {
    ASSERT_TRUE(changeDirectory(ORVO_RESOURCES_DIR));
    setScreenMetrics(GL_TEST_WIDTH, GL_TEST_HEIGHT);
    orvotest::TraceCapture trace;

    ControllerSet* controllers = new ControllerSet();  // lives to the end of the process, as in the show
    MusicState* music = new MusicState();
    initRuntime(controllers, music);
    composeShow();
    ASSERT_EQ(runtime().registry.size(), 14u);
    std::vector<uint32_t> moments;
    for (const Moment& m : MOMENTS) moments.push_back(m.ms);
    runtime().span.hasFrom = true;
    runtime().span.fromSeconds = 0.0f;
    runtime().span.toMs = moments.back();

    GLLoadingHost loading(window());
    loadShowOn(loading);
    ASSERT_EQ(runtime().state, RuntimeState::Ready) << trace.text();

    std::map<uint32_t, std::vector<uint8_t>> pictures;
    MomentsHost host(window(), moments);
    host.inspect = [&](uint32_t ms) { pictures[ms] = orvotest::readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT); };
    runShowOn(host, window());

    EXPECT_EQ(trace.count("ERROR"), 0) << trace.text();
    EXPECT_EQ(trace.count("CRITICAL"), 0) << trace.text();
    EXPECT_EQ(trace.count("shaderAccess"), 0) << trace.text();
    EXPECT_EQ(trace.count("WARNING"), 0) << trace.text();

    size_t sparkleBright = 0, sparkleDark = 0;
    const Moment* previous = nullptr;
    for (const Moment& m : MOMENTS) {
        ASSERT_EQ(pictures.count(m.ms), 1u) << "no frame drawn at " << m.ms << " ms";
        if (m.dark) continue;
        const PictureStats stats = pictureStats(pictures[m.ms]);
        EXPECT_GT(stats.litFraction, 0.05) << m.part << " at " << m.ms << " ms is black";
        if (previous && std::string(previous->part) != m.part) {
            EXPECT_GT(pictureDifference(pictures[previous->ms], pictures[m.ms]), 2.0)
                << m.part << " at " << m.ms << " ms looks like " << previous->part << " at " << previous->ms;
        }
        if (isLogoSpan(m.ms)) {
            const content::IsolatedPixels n = sceneSparkle(pictures[m.ms]);
            sparkleBright += n.bright;
            sparkleDark += n.dark;
        }
        previous = &m;
    }
    // Over the five logo frames: a few stray pixels at most (5 bright, 0 dark when written), not the
    // hatching of aliased highlights or the dot clusters an undefined normal leaves after the gathers.
    EXPECT_LE(sparkleBright, 8u) << "isolated bright pixels over the logo span";
    EXPECT_LE(sparkleDark, 3u) << "isolated dark pixels over the logo span";
}

}  // namespace
}  // namespace zelFramework::testing
