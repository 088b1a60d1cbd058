#include "app/options.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/exit_codes.h"

#ifndef ORVO_VERSION
#define ORVO_VERSION "0"
#endif

namespace zelFramework {

OptionApply setFlag(bool ShowOptions::*field) {
    return [field](ShowOptions& o, std::string_view) {
        o.*field = true;
        return std::string();
    };
}

OptionApply setText(std::string ShowOptions::*field) {
    return [field](ShowOptions& o, std::string_view value) {
        if (value.empty()) return std::string("needs a non-empty value");
        o.*field = std::string(value);
        return std::string();
    };
}

OptionApply setWholeNumber(int ShowOptions::*field, int minimum, int maximum) {
    return [field, minimum, maximum](ShowOptions& o, std::string_view value) {
        int n = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (ec != std::errc() || end != value.data() + value.size() || n < minimum || n > maximum)
            return "needs a whole number from " + std::to_string(minimum) + " to " + std::to_string(maximum) +
                   ", not '" + std::string(value) + "'";
        o.*field = n;
        return std::string();
    };
}

OptionApply setSeconds(double ShowOptions::*field) {
    return [field](ShowOptions& o, std::string_view value) {
        double s = 0.0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), s);
        if (ec != std::errc() || end != value.data() + value.size() || !std::isfinite(s) || s < 0.0)
            return "needs a number of seconds (0 or more), not '" + std::string(value) + "'";
        o.*field = s;
        return std::string();
    };
}

OptionApply setSecondsSpan(double ShowOptions::*from, double ShowOptions::*to) {
    return [from, to](ShowOptions& o, std::string_view value) {
        const size_t space = value.find(' ');
        const std::string_view first = value.substr(0, space);
        const std::string_view second = space == std::string_view::npos ? std::string_view() : value.substr(space + 1);
        double a = 0.0, b = 0.0;
        const auto number = [](std::string_view text, double& out) {
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
            return !text.empty() && ec == std::errc() && end == text.data() + text.size() && std::isfinite(out) && out >= 0.0;
        };
        if (!number(first, a) || !number(second, b))
            return "needs two numbers of seconds (0 or more), not '" + std::string(value) + "'";
        if (!(b > a)) return "needs TO after FROM, not '" + std::string(value) + "'";
        o.*from = a;
        o.*to = b;
        return std::string();
    };
}

OptionApply setNumber(double ShowOptions::*field, double minimum, double maximum) {
    return [field, minimum, maximum](ShowOptions& o, std::string_view value) {
        double n = 0.0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (ec != std::errc() || end != value.data() + value.size() || !(n >= minimum && n <= maximum)) {
            char range[64];
            std::snprintf(range, sizeof range, "needs a number from %g to %g", minimum, maximum);
            return std::string(range) + ", not '" + std::string(value) + "'";
        }
        o.*field = n;
        return std::string();
    };
}

const std::vector<OptionSpec>& optionTable() {
    static const std::vector<OptionSpec> table = {
        {"--help", nullptr, "print this help and exit", setFlag(&ShowOptions::help)},
        {"--version", nullptr, "print the version and exit", setFlag(&ShowOptions::version)},
        {"--resources", "DIR", "the resources folder (default: resources beside the program, or ../share/orvo/resources)",
         setText(&ShowOptions::resources)},
        {"--width", "N", "screen width in pixels, 64 to 16384 (default 1280)",
         setWholeNumber(&ShowOptions::width, MIN_SCREEN_WIDTH, MAX_SCREEN_SIZE)},
        {"--height", "N", "screen height in pixels, 16 to 16384 (default 720)",
         setWholeNumber(&ShowOptions::height, MIN_SCREEN_HEIGHT, MAX_SCREEN_SIZE)},
        {"--windowed", nullptr, "play in a centred window", setFlag(&ShowOptions::windowed)},
        {"--fullscreen", nullptr, "play full screen (the default)", setFlag(&ShowOptions::fullScreen)},
        {"--no-dialog", nullptr, "skip the setup dialog", setFlag(&ShowOptions::noDialog)},
        {"--from", "S", "start the show (and its music) at S seconds", setSeconds(&ShowOptions::from)},
        {"--to", "S", "end the show after S seconds", setSeconds(&ShowOptions::to)},
        {"--capture", "DIR", "write every frame as DIR/frame_NNNNNN.png on a fixed clock, silently",
         setText(&ShowOptions::captureDir)},
        {"--fps", "N", "frames per second of --capture and --benchmark (default 30)",
         setWholeNumber(&ShowOptions::fps, 1, 1000)},
        {"--overwrite", nullptr, "with --capture: replace the frames an earlier capture left in DIR",
         setFlag(&ShowOptions::overwrite)},
        {"--video", "FILE", "with --capture: also make the video FILE (.mp4 added when it has no extension) with the soundtrack (needs ffmpeg)",
         setText(&ShowOptions::videoFile)},
        {"--benchmark", nullptr, "render the span on the fixed clock and print frame times per entry",
         setFlag(&ShowOptions::benchmark)},
        {"--passes", nullptr, "with --benchmark: also print the time of every pass of the frame by name",
         setFlag(&ShowOptions::passes)},
        {"--midi", "FILE", "turn the notes of a MIDI file into triggers for the layers", setText(&ShowOptions::midiFile)},
        {"--test-composition", nullptr, "play a 10 s composition of simple test layers instead of the show",
         setFlag(&ShowOptions::testComposition)},
        {"--edit", nullptr, "edit the controller curves in the running show (windowed unless --fullscreen)",
         setFlag(&ShowOptions::edit)},
        {"--loop", "FROM TO", "play the span from FROM to TO seconds over and over",
         setSecondsSpan(&ShowOptions::loopFrom, &ShowOptions::loopTo)},
        {"--bpm", "N", "with --edit: a beat grid of N beats per minute to snap keys to (Shift)",
         setNumber(&ShowOptions::bpm, 1.0, 1000.0)},
        {"--watch", nullptr, "reload changed shaders, pictures, sync data, models and scenes while playing (on with --edit)",
         setFlag(&ShowOptions::watch)},
        {"--no-watch", nullptr, "with --edit: do not watch the resources folder", setFlag(&ShowOptions::noWatch)},
    };
    return table;
}

namespace {

const OptionSpec* findOption(std::string_view name) {
    for (const OptionSpec& spec : optionTable())
        if (name == spec.name) return &spec;
    return nullptr;
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    std::string valueStore;  // the joined words of a two-word value
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string_view arg = arguments[i];
        std::string_view name = arg, value;
        bool inlineValue = false;
        if (const size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        const OptionSpec* spec = findOption(name);
        if (!spec) {
            parsed.error = "unknown option '" + std::string(arg) + "' (see --help)";
            return parsed;
        }
        if (spec->argument && !inlineValue) {
            if (i + 1 >= arguments.size()) {
                parsed.error = std::string(spec->name) + " needs a value (" + spec->argument + ")";
                return parsed;
            }
            value = arguments[++i];
            // An option of two words ("FROM TO") takes the next argument too.
            if (std::string_view(spec->argument).find(' ') != std::string_view::npos) {
                if (i + 1 >= arguments.size()) {
                    parsed.error = std::string(spec->name) + " needs two values (" + spec->argument + ")";
                    return parsed;
                }
                valueStore = std::string(value) + " " + arguments[++i];
                value = valueStore;
            }
        } else if (!spec->argument && inlineValue) {
            parsed.error = std::string(spec->name) + " takes no value";
            return parsed;
        }
        if (std::string problem = spec->apply(parsed.options, value); !problem.empty()) {
            parsed.error = std::string(spec->name) + " " + problem;
            return parsed;
        }
    }
    if (parsed.options.windowed && parsed.options.fullScreen)
        parsed.error = "--windowed and --fullscreen exclude each other";
    else if (!parsed.options.captureDir.empty() && parsed.options.benchmark)
        parsed.error = "--capture and --benchmark exclude each other";
    else if (parsed.options.passes && !parsed.options.benchmark)
        parsed.error = "--passes needs --benchmark";
    else if (!parsed.options.videoFile.empty() && parsed.options.captureDir.empty())
        parsed.error = "--video needs --capture DIR for its pictures";
    else if (parsed.options.loopTo >= 0.0 && (!parsed.options.captureDir.empty() || parsed.options.benchmark))
        parsed.error = "--loop plays live; it cannot go with --capture or --benchmark";
    else if (parsed.options.overwrite && parsed.options.captureDir.empty())
        parsed.error = "--overwrite only applies to --capture DIR";
    else if (parsed.options.from >= 0.0 && parsed.options.to >= 0.0 && parsed.options.to < parsed.options.from)
        parsed.error = "--to must not be before --from";
    // ffmpeg picks the container from the extension and refuses a name without one.
    if (std::string& video = parsed.options.videoFile; !video.empty() && std::filesystem::path(video).extension().empty())
        video += ".mp4";
    return parsed;
}

ParsedOptions parseOptions(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return parseOptions(arguments);
}

std::string usageText() {
    std::string text = "usage: orvo-show [options]\n\nPlays the show. Escape or closing the window ends it.\n\noptions:\n";
    for (const OptionSpec& spec : optionTable()) {
        std::string left = std::string("  ") + spec.name + (spec.argument ? std::string(" ") + spec.argument : "");
        if (left.size() < 22) left.resize(22, ' ');
        text += left + " " + spec.help + "\n";
    }
    text += "\nexit codes (the reason for any but 0 is the last line on standard error):\n";
    const struct {
        int code;
        const char* meaning;
    } codes[] = {
        {EXIT_SHOWN, "the show, capture or benchmark ran as asked"},
        {EXIT_UNUSABLE, "the resources folder, the display, the window or the render size cannot be used"},
        {EXIT_COMMAND_LINE, "a bad command line"},
        {EXIT_RUN_ERROR, "an ERROR while loading or playing the show"},
        {EXIT_VIDEO_FAILED, "the video could not be made (the captured frames are kept)"},
        {EXIT_CANCELLED, "the setup dialog was cancelled"},
    };
    for (const auto& c : codes) {
        std::string left = "  " + std::to_string(c.code);
        left.resize(7, ' ');
        text += left + c.meaning + "\n";
    }
    return text;
}

std::string versionText() { return std::string("orvo-show ") + ORVO_VERSION + "\n"; }

}  // namespace zelFramework
