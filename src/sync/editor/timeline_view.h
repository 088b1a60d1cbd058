// The editor's time axis over the soundtrack: the waveform, the ruler, the keys and curve of one
// controller (and the keys of a second one, dimmed, for comparison), a zoomable visible window, and
// the conversions between screen x and show time that every hit test uses.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "gl/bitmap_font.h"
#include "sync/beat_grid.h"
#include "sync/editor/value_band.h"

namespace zelFramework {

struct Controller;

// Screen bands of the time axis, bottom to top, in the editor's normalised space.
constexpr float WAVE_BAND_TOP = 0.18f;    // two waveform bands, 0 to 0.09 and 0.09 to 0.18
constexpr float RULER_TOP = 0.2f;         // the ruler from 0.18 to 0.2
constexpr float KEY_BOX_BOTTOM = 0.22f;   // key boxes from 0.22 to 0.24
constexpr float KEY_BOX_TOP = 0.24f;
constexpr float CURVE_BAND_BOTTOM = 0.25f;  // value v is drawn at 0.25 + 0.15 v
constexpr float CURVE_BAND_HEIGHT = 0.15f;
constexpr float TIMELINE_TOP = 0.4f;

constexpr int CURVE_POINTS = 1001;
constexpr uint32_t WAVE_POINTS = 2000;

// A fraction of the curve band (0 its bottom, 1 its top) as screen y.
inline float curveY(float fraction) { return CURVE_BAND_BOTTOM + CURVE_BAND_HEIGHT * fraction; }

class TimelineView {
public:
    const int16_t* samples = nullptr;  // 4-byte stereo frames; null draws a flat waveform
    uint32_t totalSamples = 0;
    uint32_t sampleRate = 0;
    float now = 0.0f;
    float rangeStart = 0.0f, rangeEnd = 0.0f;
    bool rangeActive = false;
    uint32_t visibleStart = 0, visibleEnd = 0;
    const BitmapFont* font = nullptr;
    Controller* controller = nullptr;
    Controller* compare = nullptr;
    std::vector<uint32_t> selectedKeys;
    GLuint timelineList = 0;
    int32_t selectedSegment = -1;
    // The values the curve band spans for `controller` (the editor keeps it steady during a drag).
    ValueBand band;
    // Beats drawn over the key row and the curve band when a tempo is known.
    BeatGrid grid;

    // Shows the whole of a soundtrack of `frameCount` frames at `rate` (both at least 1).
    void setAudio(const int16_t* frames, uint32_t frameCount, uint32_t rate);
    void showWholeSong();

    float timeToX(float seconds) const;
    float xToTime(float x) const;
    // Index of the first key of the controller within 0.005 of x, when y lies in the key boxes; else -1.
    int keyAt(float x, float y) const;
    // Time of the first compare-controller key within 0.008 of x.
    std::optional<float> compareKeyAt(float x) const;
    // Zooms to the marked range when it spans more than 0.005 of the visible window; hides the range.
    void zoomToRange();

    // Records the static picture (waveform, keys, curve, ruler) into the display list again.
    void rebuild();
    // The per-frame parts around the cached picture: background, grid, time cursor, highlights.
    void drawOverlay() const;
    void release();

private:
    float frameToX(int64_t frame) const;
    void recordWaveform() const;
    void recordCurve() const;
    void recordRuler() const;
    void recordBeats() const;
    void drawTimeCursor(float r, float g, float b, bool withValue) const;
};

}  // namespace zelFramework
