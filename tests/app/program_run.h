// Runs the real orvo-show as a whole process for the program tests: in a scratch folder, without a
// sound device, with a script acting on its window, and keeps its exit code and output.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "support/file_text.h"

namespace programtest {

using orvotest::fileText;

namespace fs = std::filesystem;

struct ProgramRun {
    int exitCode = -1;
    std::string out, err;
    bool acted = false;  // the program was still running when the script acted on it
};

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream s(text);
    for (std::string line; std::getline(s, line);) lines.push_back(line);
    return lines;
}

// One scratch folder per test process, removed when the process ends.
struct ScratchRoot {
    fs::path path = fs::temp_directory_path() / ("orvo_program_" + std::to_string(::getpid()));
    ~ScratchRoot() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

inline fs::path scratch(const std::string& name) {
    static ScratchRoot root;
    const fs::path dir = root.path / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Runs the program in a fresh folder without a sound device, with `environment` ("NAME=value ...") in
// front of it; `script` (shell) runs alongside it with $pid set. A run that has not ended within 30 s is killed, which fails the test instead of hanging it.
inline ProgramRun runProgram(const std::string& args, const std::string& script = "true", const std::string& environment = "") {
    const fs::path dir = scratch("run");
    const std::string cmd = "cd '" + dir.string() + "' || exit 99; SDL_AUDIODRIVER=dummy " + environment + " '" ORVO_SHOW "' " + args +
                            " >out 2>err & pid=$!; (sleep 30; kill -KILL $pid) >/dev/null 2>&1 & dog=$!; " + script +
                            "; wait $pid; rc=$?; kill $dog 2>/dev/null; exit $rc";
    std::ofstream(dir / "run.sh") << cmd << "\n";
    const int status = std::system(("bash '" + (dir / "run.sh").string() + "'").c_str());
    ProgramRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = fileText(dir / "out");
    r.err = fileText(dir / "err");
    r.acted = fs::exists(dir / "acted");
    return r;
}

// The test composition in an empty resources folder (or the given one).
inline std::string testShow(const std::string& args, const fs::path& resources = scratch("resources")) {
    return "--test-composition --resources '" + resources.string() + "' " + args;
}

// Waits for a visible window with exactly this title, notes that the program still runs, then runs `action`
// with the window in $w.
inline std::string inWindow(const std::string& title, const std::string& action) {
    return "for i in $(seq 400); do w=$(xdotool search --onlyvisible --name '^" + title +
           "$' 2>/dev/null | head -1); [ -n \"$w\" ] && break; sleep 0.05; done; sleep 0.3; "
           "kill -0 $pid && touch acted; " + action + " 2>/dev/null";
}
inline std::string pressIn(const std::string& title, const std::string& keys) {
    return inWindow(title, "xdotool windowfocus --sync $w key " + keys);
}

// The last line of a program's output, where it says why it failed.
inline std::string lastLine(const std::string& text) {
    const std::vector<std::string> lines = linesOf(text);
    return lines.empty() ? std::string() : lines.back();
}

}  // namespace programtest
