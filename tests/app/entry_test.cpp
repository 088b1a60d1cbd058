// orvo-show as a whole process: options, start-up, frames until Escape or close, shutdown.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ShowRun {
    int exitCode = -1;
    std::string out, err;
    bool acted = false;
    int endedAfterMs = -1;
};

std::string slurp(const fs::path& p) {
    std::ifstream f(p);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream s(text);
    for (std::string line; std::getline(s, line);) lines.push_back(line);
    return lines;
}

// One scratch folder per test process, removed when the process ends.
struct ScratchRoot {
    fs::path path = fs::temp_directory_path() / ("orvo_entry_" + std::to_string(::getpid()));
    ~ScratchRoot() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

fs::path scratch(const std::string& name) {
    static ScratchRoot root;
    const fs::path dir = root.path / name;
    fs::create_directories(dir);
    return dir;
}

// Starts the program; `whileRunning` (a shell command) runs once its window is up, then we wait.
ShowRun runShow(const std::string& args, const std::string& whileRunning = "") {
    const fs::path dir = scratch("run");
    std::string cmd = "SDL_AUDIODRIVER=dummy '" ORVO_SHOW "' " + args + " >'" + (dir / "out").string() + "' 2>'" +
                      (dir / "err").string() + "'";
    if (!whileRunning.empty()) {
        // As soon as the window named by the initial title is visible (at most 20 s), act on it: the
        // request is queued during loading and found at the main loop's first message check. "acted"
        // records that the process was still alive when the action went out, "ended" how many
        // milliseconds it took to end after that.
        cmd = cmd + " & pid=$!; end=$((SECONDS + 20)); while kill -0 $pid 2>/dev/null && [ $SECONDS -lt $end ]; do"
                    " w=$(xdotool search --onlyvisible --name '^orv$' 2>/dev/null | head -1); [ -n \"$w\" ] && break;"
                    " sleep 0.1; done; " +
              "kill -0 $pid && echo acted >'" + (dir / "acted").string() + "'; t0=$(date +%s%N); " + whileRunning +
              " 2>/dev/null" +
              // A show that ignores the request is killed after 20 s, which fails the test instead of hanging it.
              "; (sleep 20; kill -KILL $pid) >/dev/null 2>&1 & dog=$!; wait $pid; rc=$?; kill $dog 2>/dev/null; "
              "echo $(( ($(date +%s%N) - t0) / 1000000 )) >'" + (dir / "ended").string() + "'; exit $rc";
    }
    const fs::path script = dir / "run.sh";
    std::ofstream(script) << cmd << "\n";
    const int status = std::system(("bash '" + script.string() + "'").c_str());
    ShowRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(dir / "out");
    r.acted = fs::exists(dir / "acted");
    r.endedAfterMs = fs::exists(dir / "ended") ? std::stoi("0" + slurp(dir / "ended")) : -1;
    fs::remove(dir / "acted");
    fs::remove(dir / "ended");
    r.err = slurp(dir / "err");
    return r;
}

void writeSoundtrack(const fs::path& folder) {
    const fs::path wav = folder / "tone.wav";
    std::ofstream f(wav, std::ios::binary);
    const uint32_t frames = 44100, bytes = frames * 4;
    auto put = [&f](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) f.put(char((v >> (8 * i)) & 0xFF));
    };
    f.write("RIFF", 4), put(36 + bytes, 4), f.write("WAVEfmt ", 8), put(16, 4), put(1, 2), put(2, 2);
    put(44100, 4), put(44100 * 4, 4), put(4, 2), put(16, 2), f.write("data", 4), put(bytes, 4);
    for (uint32_t i = 0; i < frames * 2; ++i) put(uint32_t(int16_t((i * 37) % 2000 - 1000)) & 0xFFFF, 2);
    f.close();
    ASSERT_EQ(std::system(("lame --quiet '" + wav.string() + "' '" + (folder / "anthem.mp3").string() + "'").c_str()), 0);
}

}  // namespace

TEST(EntryOptions, BadCommandLinesExitWithTwoAndOneLine) {
    for (const char* args : {"--width abc", "--height 0", "--width 16385", "--frobnicate", "--resources"}) {
        const ShowRun r = runShow(args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_EQ(linesOf(r.err).size(), 1u) << args << ": " << r.err;
        EXPECT_EQ(r.err.rfind("orvo-show: ", 0), 0u) << r.err;
    }
    const ShowRun help = runShow("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--no-dialog"), std::string::npos);
    const ShowRun version = runShow("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("orvo-show ", 0), 0u);
}

TEST(EntryShow, EscapeEndsTheShowWithTheTraceStopped) {
    const fs::path resources = scratch("with-music");
    writeSoundtrack(resources);
    const ShowRun r = runShow("--resources '" + resources.string() + "' --windowed --no-dialog --width 320 --height 200",
                          "xdotool key --window $w Escape");
    EXPECT_TRUE(r.acted) << "the show was gone before Escape reached it";
    // Well before anything the show schedules could end it by itself.
    EXPECT_LT(r.endedAfterMs, 15000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> lines = linesOf(r.err);
    ASSERT_GE(lines.size(), 3u) << r.err;
    EXPECT_EQ(lines[0], "INFO (trace): Trace started");
    EXPECT_EQ(lines[1], "INFO (trace): Enabled quit on trace level: 1");
    EXPECT_EQ(lines.back(), "INFO (trace): Trace stopped.");
    EXPECT_EQ(r.err.find("WARNING (music)"), std::string::npos) << "the soundtrack did not open: " << r.err;
}

TEST(EntryShow, WithoutSoundtrackItRunsSilentAndTheCloseRequestEndsIt) {
    const fs::path resources = scratch("no-music");
    // SIGTERM arrives the way the close button does: as WM_CLOSE through the window procedure.
    const ShowRun r = runShow("--resources '" + resources.string() + "' --windowed --no-dialog --width 256 --height 144",
                          "kill -TERM $pid");
    EXPECT_TRUE(r.acted);
    EXPECT_LT(r.endedAfterMs, 15000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> lines = linesOf(r.err);
    int warnings = 0;
    for (const std::string& line : lines) warnings += line.rfind("WARNING (music): ", 0) == 0;
    EXPECT_EQ(warnings, 1) << r.err;
    EXPECT_NE(r.err.find("anthem.mp3"), std::string::npos);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "INFO (trace): Trace stopped.");
}
