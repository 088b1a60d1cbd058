#include "show/show_composition.h"

#include "runtime/show_runtime.h"
#include "show/layer_buildup.h"
#include "show/layer_dvglitch.h"
#include "show/layer_endscreen.h"
#include "show/layer_overlay.h"
#include "show/layer_postfx.h"
#include "show/layer_superbowl.h"
#include "show/layer_tunnel.h"
#include "show/scene_layers.h"

namespace zelFramework {

namespace {

constexpr int INTRO_END_FRAME = 860;
constexpr uint32_t STADIUM_START_MS = 35833;

const struct {
    int startFrame, endFrame;
} TITLE_FRAMES[5] = {{522, 582}, {641, 697}, {741, 798}, {842, 899}, {928, 986}};

const char* const TITLE_SCENES[5] = {
    "No_Bigscreens_Just_Lasers.orvo", "Quantum_Computing_Compo.orvo", "8_Petabyte_Intro_Compo.orvo",
    "Demoscene_Fashion_Show.orvo",    "400_DJs_On_1200_Floors.orvo",
};

const char* const TITLE_NAMES[5] = {
    "nfl-feature-text-001", "nfl-feature-text-002", "nfl-feature-text-003",
    "nfl-feature-text-004", "nfl-feature-text-005",
};

void addGradings(Layer_PostFX& post) {
    post.gradings.push_back({"grading\\grading_intro.png", nullptr, 0.0f, 35.833f});
    post.gradings.push_back({"grading\\grading_intro_tunnel.png", nullptr, 35.833f, 41.291f});
    post.gradings.push_back({"grading\\grading_nfl.png", nullptr, 41.291f, 113.148f});
    post.gradings.push_back({"grading\\grading_tunnel_outro.png", nullptr, 124.176f, 173.852f});
}

}  // namespace

uint32_t editFrameToMs(int frame) {
    return uint32_t(float(frame + INTRO_END_FRAME) * 1000.0f / 24.0f);
}

std::array<SlideSpan, 5> featureTextSpans() {
    std::array<SlideSpan, 5> spans{};
    for (size_t i = 0; i < spans.size(); ++i)
        spans[i] = {editFrameToMs(TITLE_FRAMES[i].startFrame), editFrameToMs(TITLE_FRAMES[i].endFrame)};
    return spans;
}

void composeShow() {
    const std::array<SlideSpan, 5> titles = featureTextSpans();

    auto* post = new Layer_PostFX();
    addGradings(*post);
    registerLayer(post, "post");
    registerLayer(new Layer_DVGlitch(), "glitch");
    registerLayer(new Layer_Intro(), "intro");
    registerLayer(new Layer_Superbowl(STADIUM_START_MS), "superbowl");
    registerLayer(new Layer_TunnelArena(), "tunnelarena");
    registerLayer(new Layer_TextOverlayAnimation(), "overlayanim");
    for (int i = 0; i < 5; ++i) registerLayer(new Layer_Text(TITLE_SCENES[i]), TITLE_NAMES[i]);
    registerLayer(new Layer_BuildUp(), "buildup");
    registerLayer(new Layer_Tunnel(), "tunnel");
    registerLayer(new Layer_EndScreen(), "endscreen");

    scheduleLayer("post", 100, 0, SHOW_END_MS);
    scheduleLayer("intro", 1, 0, 35833);
    scheduleLayer("tunnelarena", 2, 35833, 41291);
    scheduleLayer("buildup", 30, 112369, 124138);
    scheduleLayer("endscreen", 32, 173852, SHOW_END_MS);
    scheduleLayer("tunnel", 4, 124138, SHOW_END_MS);
    scheduleLayer("superbowl", 3, 41291, titles[0].startMs);
    // The stadium alternates with the titles, each title in the slot above the stadium span before it.
    for (uint32_t i = 0; i < 5; ++i) {
        scheduleLayer(TITLE_NAMES[i], 4 + 2 * i, titles[i].startMs, titles[i].endMs);
        const uint32_t stadiumEnd = i + 1 < 5 ? titles[i + 1].startMs : 120000;
        scheduleLayer("superbowl", 5 + 2 * i, titles[i].endMs, stadiumEnd);
    }
    scheduleLayer("overlayanim", 120, 0, SHOW_END_MS);
}

}  // namespace zelFramework
