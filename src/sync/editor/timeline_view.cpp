#include "sync/editor/timeline_view.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "gl/gltk.h"
#include "sync/controller.h"
#include "sync/editor/editor_gl.h"
#include "sync/editor/ruler_spacing.h"

namespace zelFramework {

namespace {

const EditorColor WAVE_COLOR{0.2f, 0.1f, 0.8f, 1.0f};
const EditorColor KEY_LINE{0.45f, 0.45f, 0.4f, 1.0f};
const EditorColor KEY_VALUE{0.8f, 0.8f, 0.7f, 1.0f};
const EditorColor KEY_BOX{0.2f, 0.2f, 0.7f, 1.0f};
const EditorColor COMPARE_LINE{0.15f, 0.15f, 0.1f, 1.0f};
const EditorColor COMPARE_VALUE{0.2f, 0.2f, 0.0f, 1.0f};
const EditorColor TICK{0.5f, 0.0f, 0.0f, 1.0f};

// How one controller's keys are marked: a line above the key row, a width-2 line up to the value in
// the curve band, and a line down through the waveform (`down`, also the key box's colour). The
// edited controller's keys get a box on the key row; the compare controller's, dimmed, do not.
struct KeyMarkColors {
    EditorColor line, value, down;
    bool box = false;
};
const KeyMarkColors CONTROLLER_MARKS{KEY_LINE, KEY_VALUE, KEY_BOX, true};
const KeyMarkColors COMPARE_MARKS{COMPARE_LINE, COMPARE_VALUE, COMPARE_LINE, false};

// The whole frame of `rate` x `seconds`, truncated toward zero as the axis counts.
int64_t frameOf(uint32_t rate, float seconds) { return int64_t(double(float(rate) * seconds)); }

void recordKeyMarks(const TimelineView& view, const Controller& keyed, const ValueBand& band, const KeyMarkColors& colors) {
    for (const ControllerKey& key : keyed.keys) {
        const float x = view.timeToX(key.time);
        drawLine(x, KEY_BOX_TOP, x, TIMELINE_TOP, colors.line);
        glLineWidth(2.0f);
        drawLine(x, CURVE_BAND_BOTTOM, x, band.toY(key.value), colors.value);
        glLineWidth(1.0f);
        if (colors.box) fillRect(x - 0.005f, KEY_BOX_BOTTOM, x + 0.005f, KEY_BOX_TOP, colors.down);
        drawLine(x, KEY_BOX_BOTTOM, x, 0.0f, colors.down);
    }
}

}  // namespace

void TimelineView::setAudio(const int16_t* frames, uint32_t frameCount, uint32_t rate) {
    samples = frameCount ? frames : nullptr;
    totalSamples = std::max<uint32_t>(frameCount, 1);
    sampleRate = std::max<uint32_t>(rate, 1);
    showWholeSong();
}

void TimelineView::showWholeSong() {
    visibleStart = 0;
    visibleEnd = totalSamples;
}

float TimelineView::frameToX(int64_t frame) const {
    const float span = float(visibleEnd - visibleStart);
    if (span <= 0.0f) return 0.0f;
    return (float(frame) - float(visibleStart)) / span;
}

float TimelineView::timeToX(float seconds) const { return frameToX(frameOf(sampleRate, seconds)); }

float TimelineView::xToTime(float x) const {
    if (sampleRate == 0) return 0.0f;
    return (float(visibleEnd - visibleStart) * x + float(visibleStart)) / float(sampleRate);
}

int TimelineView::keyAt(float x, float y) const {
    if (!controller || y < KEY_BOX_BOTTOM || y > KEY_BOX_TOP) return -1;
    for (size_t i = 0; i < controller->keys.size(); ++i)
        if (std::fabs(x - timeToX(controller->keys[i].time)) <= 0.005f) return int(i);
    return -1;
}

std::optional<float> TimelineView::compareKeyAt(float x) const {
    if (!compare) return std::nullopt;
    for (const ControllerKey& key : compare->keys)
        if (std::fabs(x - timeToX(key.time)) <= 0.008f) return key.time;
    return std::nullopt;
}

void TimelineView::zoomToRange() {
    const int64_t a = std::clamp<int64_t>(frameOf(sampleRate, rangeStart), 0, totalSamples);
    const int64_t b = std::clamp<int64_t>(frameOf(sampleRate, rangeEnd), 0, totalSamples);
    const float visible = float(visibleEnd - visibleStart);
    if (visible > 0.0f && float(std::llabs(b - a)) / visible > 0.005f) {
        visibleStart = uint32_t(std::min(a, b));
        visibleEnd = uint32_t(std::min<int64_t>(std::max(a, b), totalSamples));
        rebuild();
    }
    rangeActive = false;
}

void TimelineView::recordWaveform() const {
    const uint32_t step = std::max<uint32_t>((visibleEnd - visibleStart) / WAVE_POINTS, 1);
    setColor(WAVE_COLOR);
    for (float base : {0.09f, 0.18f}) {
        glBegin(GL_LINE_STRIP);
        for (uint32_t frame = visibleStart; frame < visibleEnd; frame += step) {
            // The second 16-bit value of each 4-byte frame.
            const int16_t sample = samples ? samples[size_t(frame) * 2 + 1] : 0;
            const float s = (float(sample) + 32768.0f) * (1.0f / 65536.0f);
            glVertex2f(frameToX(frame), base - 0.09f * s);
        }
        glEnd();
    }
}

void TimelineView::recordCurve() const {
    // Drawing samples the curve; what the layers read must not change because the editor looked.
    const float shown = controller->value;
    setColor(KEY_VALUE);
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < CURVE_POINTS; ++i) {
        const float x = float(i) * 0.001f;
        controller->update(xToTime(x));
        glVertex2f(x, band.toY(controller->value));
    }
    glEnd();
    controller->value = shown;
}

void TimelineView::recordRuler() const {
    beginBlend();
    fillRectVertical(0.0f, WAVE_BAND_TOP, 1.0f, RULER_TOP, {0.5f, 0.5f, 0.5f, 0.4f}, {0.0f, 0.0f, 0.0f, 0.2f});
    endBlend();
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double pixels = double(std::max(viewport[2], 1));
    const double rate = double(std::max<uint32_t>(sampleRate, 1));
    const double first = double(visibleStart) / rate, last = double(visibleEnd) / rate;
    const double songSeconds = double(totalSamples) / rate;
    // The widest label of the finest step, with a little room on either side.
    const double labelWidth = font ? (double(font->textWidth("00:00.0")) + 6.0) / pixels : 0.05;
    const RulerSpacing spacing = chooseRulerSpacing(last - first, labelWidth);
    const GLuint fontBase = font ? font->listBase : 0;
    const long firstTick = long(std::ceil(first / spacing.tickStep - 1e-9));
    const long lastTick = long(std::floor(std::min(last, songSeconds) / spacing.tickStep + 1e-9));
    const long perLabel = std::max(1L, std::lround(spacing.labelStep / spacing.tickStep));
    for (long tick = std::max(0L, firstTick); tick <= lastTick; ++tick) {
        const double s = double(tick) * spacing.tickStep;
        const float x = frameToX(int64_t(std::llround(s * rate)));
        if (!(x > 0.0f && x < 1.0f)) continue;
        const bool labelled = tick % perLabel == 0;
        const bool minute = std::fabs(s / 60.0 - std::round(s / 60.0)) < 1e-9;
        drawLine(x, WAVE_BAND_TOP, x, minute ? 0.2f : (labelled ? 0.195f : 0.19f), TICK);
        if (!labelled) continue;
        const std::string label = rulerLabel(s, spacing.labelStep);
        const float half = font ? float(font->textWidth(label.c_str())) / float(pixels) / 2.0f : 0.008f;
        drawText(fontBase, x - half, 0.2f + 0.002f, 1.0f, 1.0f, 1.0f, 1.0f, "%s", label.c_str());
    }
}

void TimelineView::recordBeats() const {
    if (!grid.active()) return;
    const double rate = double(std::max<uint32_t>(sampleRate, 1));
    const double first = double(visibleStart) / rate, last = double(visibleEnd) / rate;
    const double beat = 60.0 / double(grid.bpm);
    // Beats while they stand apart, else bars of four, else nothing.
    double step = beat;
    if (step / (last - first) < 0.004) step *= 4.0;
    if (step / (last - first) < 0.004) return;
    beginBlend();
    const long from = long(std::ceil((first - double(grid.origin)) / step)), to = long(std::floor((last - double(grid.origin)) / step));
    for (long n = from; n <= to; ++n) {
        const float x = timeToX(float(double(grid.origin) + double(n) * step));
        drawLine(x, KEY_BOX_BOTTOM, x, TIMELINE_TOP, {0.3f, 0.6f, 0.3f, 0.35f});
    }
    endBlend();
}

void TimelineView::rebuild() {
    if (timelineList) glDeleteLists(timelineList, 1);
    timelineList = glGenLists(1);
    if (!timelineList) return;
    glNewList(timelineList, GL_COMPILE);
    recordWaveform();
    recordBeats();
    if (controller) {
        recordKeyMarks(*this, *controller, band, CONTROLLER_MARKS);
        recordCurve();
    }
    // The compare controller is marked in its own band, so its keys stay on screen whatever it holds.
    if (compare && compare != controller) recordKeyMarks(*this, *compare, valueBandFor(compare), COMPARE_MARKS);
    recordRuler();
    glEndList();
}

void TimelineView::drawTimeCursor(float r, float g, float b, bool withValue) const {
    const int64_t frame = std::min<int64_t>(std::llround(double(float(sampleRate) * now)), totalSamples);
    const float x = frameToX(frame);
    drawLine(x, TIMELINE_TOP, x, 0.0f, {r, g, b, 1.0f});
    if (!withValue) return;
    glPointSize(3.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_POINTS);
    glVertex2f(x, band.toY(controller->value));
    glEnd();
    glPointSize(1.0f);
}

void TimelineView::drawOverlay() const {
    pushNormalisedSpace();
    beginBlend();
    fillRectVertical(0.0f, 0.0f, 1.0f, TIMELINE_TOP, {0.0f, 0.0f, 0.0f, 0.5f}, {0.2f, 0.1f, 0.025f, 0.5f});
    endBlend();
    drawLine(0.0f, CURVE_BAND_BOTTOM, 1.0f, CURVE_BAND_BOTTOM, {0.25f, 0.25f, 0.2f, 1.0f});
    for (int step = 1; step <= 11; ++step) {
        const float v = 0.1f * float(step);
        drawLine(0.0f, curveY(v), 1.0f, curveY(v), {0.1f * v + 0.05f, 0.1f * v + 0.05f, 0.1f * v + 0.025f, 1.0f});
    }
    // The band's ends, so a controller outside 0..1 reads at a glance.
    if (controller && font) {
        drawText(font->listBase, 0.003f, CURVE_BAND_BOTTOM + 0.003f, 0.6f, 0.6f, 0.5f, 1.0f, "%g", double(band.low));
        drawText(font->listBase, 0.003f, TIMELINE_TOP - 0.015f, 0.6f, 0.6f, 0.5f, 1.0f, "%g", double(band.high));
    }
    if (controller) drawTimeCursor(1.0f, 0.0f, 0.0f, true);
    if (timelineList) glCallList(timelineList);

    beginBlend();
    if (controller && selectedSegment >= 0) {
        const float x0 = timeToX(controller->keyTime(selectedSegment));
        const float x1 = timeToX(controller->nextKeyTime(selectedSegment));
        fillRectVertical(x0, CURVE_BAND_BOTTOM, x1, TIMELINE_TOP, {0.4f, 0.3f, 0.1f, 0.6f}, {0.2f, 0.1f, 0.025f, 0.2f});
    }
    if (rangeActive)
        fillRectVertical(timeToX(rangeStart), 0.0f, timeToX(rangeEnd), WAVE_BAND_TOP, {0.025f, 0.1f, 0.2f, 0.4f},
                         {0.1f, 0.3f, 0.4f, 0.6f});
    if (controller) {
        for (uint32_t index : selectedKeys) {
            if (index >= controller->keys.size()) continue;
            const float x = timeToX(controller->keys[index].time);
            if (x < 0.0f || x > 1.0f) continue;
            fillRect(x - 0.006f, 0.218f, x + 0.006f, 0.242f, {1.0f, 1.0f, 1.0f, 0.5f});
        }
    }
    endBlend();
    drawTimeCursor(0.2f, 0.4f, 0.7f, false);
    popNormalisedSpace();
}

void TimelineView::release() {
    if (timelineList) glDeleteLists(timelineList, 1);
    timelineList = 0;
}

}  // namespace zelFramework
