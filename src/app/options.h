// The command line of orvo-show. With no option the program behaves as designed: setup dialog,
// then the show. Every option is one row of the table in options.cpp.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zelFramework {

constexpr int MAX_SCREEN_SIZE = 16384;
// Below these the smaller render targets (half size, motion-blur history) would be 0 pixels high.
constexpr int MIN_SCREEN_WIDTH = 64;
constexpr int MIN_SCREEN_HEIGHT = 16;

struct ShowOptions {
    bool help = false;
    bool version = false;
    std::string resources;  // empty: the "resources" folder beside the executable
    int width = 0;          // 0: not given on the command line
    int height = 0;
    bool windowed = false;    // --windowed
    bool fullScreen = false;  // --fullscreen
    bool noDialog = false;    // skip the setup dialog and use the defaults and the options above
    // Playback and offline runs.
    std::string captureDir;   // --capture: write every frame as a numbered PNG into this folder
    std::string videoFile;    // --video: with --capture, also make a video with the soundtrack (.mp4 added
                              // when the name has no extension)
    bool overwrite = false;   // --overwrite: with --capture, replace the frames of an earlier capture
    std::string midiFile;     // --midi: the notes of this MIDI file become the layers' triggers
    int fps = 30;             // --fps: frames per second of the step clock of capture and benchmark
    double from = -1.0;       // --from: start at this show time in seconds; negative when not given
    double to = -1.0;         // --to: end after this show time in seconds; negative when not given
    bool benchmark = false;   // --benchmark: time every schedule entry offline and report
    bool passes = false;      // --passes: with --benchmark, also time every pass of the frame by name
    bool testComposition = false;  // --test-composition: a few simple layers instead of the show
    bool edit = false;        // --edit: attach the timeline editor to the running show (windowed by default)
    double loopFrom = -1.0;   // --loop FROM TO: play FROM..TO over and over; negative when not given
    double loopTo = -1.0;
    double bpm = 0.0;         // --bpm: the editor's beat grid; 0 when not given
    bool watch = false;       // --watch: reload changed resource files while the show plays
    bool noWatch = false;     // --no-watch: keep --edit from watching
};

// Reads the value of an option into the options; returns an empty text or the problem, phrased to
// follow the option's name ("needs a whole number from 1 to 16384, not 'abc'").
using OptionApply = std::function<std::string(ShowOptions& options, std::string_view value)>;

struct OptionSpec {
    const char* name;      // "--width"
    const char* argument;  // "N", "DIR", ... or nullptr for a flag
    const char* help;
    OptionApply apply;
};

// Row builders, so each option is one line in the table.
OptionApply setFlag(bool ShowOptions::*field);
OptionApply setText(std::string ShowOptions::*field);
OptionApply setWholeNumber(int ShowOptions::*field, int minimum, int maximum);
OptionApply setSeconds(double ShowOptions::*field);
// Two numbers of seconds, FROM before TO, from the two words "FROM TO".
OptionApply setSecondsSpan(double ShowOptions::*from, double ShowOptions::*to);
OptionApply setNumber(double ShowOptions::*field, double minimum, double maximum);

const std::vector<OptionSpec>& optionTable();

struct ParsedOptions {
    ShowOptions options;
    std::string error;  // one line naming the problem; empty when the command line is sound
};

ParsedOptions parseOptions(const std::vector<std::string>& arguments);  // without the program name
ParsedOptions parseOptions(int argc, char** argv);

std::string usageText();
std::string versionText();

}  // namespace zelFramework
