// What orvo-show's exit code tells a script: 0 only when the show or capture ran as asked, one code
// per kind of failure otherwise. The reason is always the last line on standard error.
#pragma once

namespace zelFramework {

enum ExitCode : int {
    EXIT_SHOWN = 0,         // the show, capture or benchmark ran to its end or to the viewer's Escape
    EXIT_UNUSABLE = 1,      // the resources folder, the display, the window or the render size cannot be used
    EXIT_COMMAND_LINE = 2,  // the command line asks for something impossible or unsafe
    EXIT_RUN_ERROR = 3,     // an ERROR was traced while loading or playing the show
    EXIT_VIDEO_FAILED = 4,  // the frames were captured but the video could not be made
    EXIT_CANCELLED = 255,   // the viewer cancelled the setup dialog; nothing was played
};

}  // namespace zelFramework
