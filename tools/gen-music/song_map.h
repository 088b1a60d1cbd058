#pragma once
// The soundtrack's timing: tempo, the section cues the show is cut to, and the tunnel's flash moments.
#include <vector>

namespace zelFramework::music {

constexpr double kBpm = 174.0;
constexpr double kBeat = 60.0 / kBpm;  // 0.3448 s; beat 360 falls exactly on the drop

namespace cue {
constexpr double introEnd = 35.833;      // calm intro ends, the rise into the arena begins
constexpr double stadium = 41.291;       // the stadium section
constexpr double lightsOut = 100.0;      // the stadium's last part: the floodlights go out
constexpr double buildUp = 112.369;      // the build-up slides
constexpr double drop = 124.138;         // the drop into the tunnel
constexpr double tunnelRun = 143.793;    // the camera leaves the stands
constexpr double flashes = 153.1;        // hand-timed flash moments begin
constexpr double endScreen = 173.852;    // the end screen
constexpr double end = 195.0;            // the show ends
}  // namespace cue

// Length of the rendered track: the show's end plus a short silent tail.
constexpr double kSongSeconds = 196.5;

// The feature-title cuts inside the stadium section and the build-up's slide changes.
const std::vector<double>& featureCuts();
const std::vector<double>& buildUpSlideChanges();
// The tunnel's flash moments from 153.1 s on, in order, each once.
const std::vector<double>& tunnelFlashTimes();

}  // namespace zelFramework::music
