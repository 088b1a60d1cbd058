#include "gl/pass_timer.h"
#include "gl/render_limits.h"

#include <GL/glew.h>

#include <chrono>
#include <ctime>

namespace zelFramework {
namespace {

struct OpenPass {
    const char* name = nullptr;
    double wallStart = 0.0, wallEnd = 0.0;
    double cpuStart = 0.0, cpuEnd = 0.0;
    GLuint queries[2] = {0, 0};
    int depth = 0;
    bool open = true;
};

struct Timing {
    bool on = false;
    bool queries = false;
    std::vector<OpenPass> passes;  // this frame's, in the order they began
    std::vector<GLuint> freeQueries;
};

Timing& timing() {
    static Timing state;
    return state;
}

double wallNowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// A software rasteriser draws on the CPU: its "GPU" time is process time, best bounded by glFinish.
bool softwareRenderer() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return !renderer || softwareRendererName(renderer);
}

GLuint takeQuery() {
    Timing& t = timing();
    if (t.freeQueries.empty()) {
        GLuint q = 0;
        glGenQueries(1, &q);
        return q;
    }
    GLuint q = t.freeQueries.back();
    t.freeQueries.pop_back();
    return q;
}

}  // namespace

double processCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1.0e6;
}

void enablePassTiming(bool on) {
    Timing& t = timing();
    t.on = on;
    t.passes.clear();
    if (on)
        t.queries = GLEW_ARB_timer_query && !softwareRenderer();
}

bool passTimingEnabled() { return timing().on; }
bool passTimingUsesQueries() { return timing().on && timing().queries; }

PassTimer::PassTimer(const char* name) {
    Timing& t = timing();
    if (!t.on)
        return;
    OpenPass pass;
    pass.name = name;
    for (const OpenPass& earlier : t.passes)
        pass.depth += earlier.open ? 1 : 0;
    if (t.queries) {
        pass.queries[0] = takeQuery();
        pass.queries[1] = takeQuery();
        glQueryCounter(pass.queries[0], GL_TIMESTAMP);
    } else {
        glFinish();
    }
    pass.wallStart = wallNowMs();
    pass.cpuStart = processCpuMs();
    slot_ = int(t.passes.size());
    t.passes.push_back(pass);
}

PassTimer::~PassTimer() {
    Timing& t = timing();
    if (slot_ < 0 || !t.on || size_t(slot_) >= t.passes.size())
        return;
    OpenPass& pass = t.passes[size_t(slot_)];
    if (t.queries)
        glQueryCounter(pass.queries[1], GL_TIMESTAMP);
    else
        glFinish();
    pass.wallEnd = wallNowMs();
    pass.cpuEnd = processCpuMs();
    pass.open = false;
}

std::vector<PassSample> takePassSamples() {
    Timing& t = timing();
    std::vector<PassSample> samples;
    samples.reserve(t.passes.size());
    for (OpenPass& pass : t.passes) {
        PassSample s;
        s.name = pass.name;
        s.cpuMs = pass.cpuEnd - pass.cpuStart;
        s.depth = pass.depth;
        if (pass.queries[0]) {
            GLuint64 begin = 0, end = 0;
            glGetQueryObjectui64v(pass.queries[0], GL_QUERY_RESULT, &begin);
            glGetQueryObjectui64v(pass.queries[1], GL_QUERY_RESULT, &end);
            s.wallMs = double(end - begin) / 1.0e6;
            t.freeQueries.push_back(pass.queries[0]);
            t.freeQueries.push_back(pass.queries[1]);
        } else {
            s.wallMs = pass.wallEnd - pass.wallStart;
        }
        samples.push_back(s);
    }
    t.passes.clear();
    return samples;
}

}  // namespace zelFramework
