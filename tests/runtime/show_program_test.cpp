// orvo-show as a whole process with the test composition: capture, benchmark, the dialog, MIDI errors.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string out, err;
};

std::string slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

fs::path scratch(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("orvo_program_" + std::to_string(::getpid())) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Runs the program with the test composition in an empty resources folder; `script` (shell) may act on it while it runs, with
// $pid set. A run that does not end within 30 s is killed, which fails the test instead of hanging it.
ProgramRun runProgram(const std::string& args, const std::string& script = "true") {
    const fs::path dir = scratch("run");
    const fs::path resources = scratch("resources");
    std::string cmd = "cd '" + dir.string() + "' && SDL_AUDIODRIVER=dummy '" ORVO_SHOW "' --test-composition --resources '" +
                      resources.string() + "' " + args + " >out 2>err & pid=$!; (sleep 30; kill -KILL $pid) " +
                      ">/dev/null 2>&1 & dog=$!; " + script + "; wait $pid; rc=$?; kill $dog 2>/dev/null; exit $rc";
    std::ofstream(dir / "run.sh") << cmd << "\n";
    const int status = std::system(("bash '" + (dir / "run.sh").string() + "'").c_str());
    ProgramRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(dir / "out");
    r.err = slurp(dir / "err");
    return r;
}

// Waits for a window with exactly this title, then focuses it and presses the keys.
std::string pressIn(const std::string& title, const std::string& keys) {
    return "for i in $(seq 200); do w=$(xdotool search --name '^" + title +
           "$' 2>/dev/null | head -1); [ -n \"$w\" ] && break; sleep 0.05; done; sleep 0.3; "
           "xdotool windowfocus --sync $w key " + keys;
}

TEST(ShowProgram, TwoCapturesOfOneSpanAreByteIdentical) {
    const fs::path frames = scratch("frames");
    for (const char* run : {"a", "b"}) {
        const ProgramRun r = runProgram("--width 320 --height 180 --fps 10 --from 3.9 --to 4.2 --capture '" +
                                 (frames / run).string() + "'");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.err.find("capture: 4 frames"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("ERROR"), std::string::npos) << r.err;
    }
    for (int i = 0; i < 4; ++i) {
        const std::string name = "frame_00000" + std::to_string(i) + ".png";
        const std::string a = slurp(frames / "a" / name);
        ASSERT_GT(a.size(), 100u) << name;
        EXPECT_EQ(a, slurp(frames / "b" / name)) << name;
    }
    EXPECT_FALSE(fs::exists(frames / "a" / "frame_000004.png"));
    EXPECT_NE(slurp(frames / "a" / "frame_000000.png"), slurp(frames / "a" / "frame_000002.png"));
}

TEST(ShowProgram, TheBenchmarkReportsEveryEntryAndTheSpan) {
    const ProgramRun r = runProgram("--width 320 --height 180 --benchmark --fps 20 --to 5");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::istringstream lines(r.out);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);) all.push_back(line);
    ASSERT_EQ(all.size(), 4u) << r.out;
    const std::regex entry(
        R"(entry=\d+ name=\S+ slot=\d+ start_ms=\d+ end_ms=\d+ frames=(\d+) avg_ms=[\d.]+ p95_ms=[\d.]+ fps=[\d.]+)");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(all[0], m, entry)) << all[0];
    EXPECT_EQ(m[1], "101");  // 0 to 5 s at 20 frames a second
    ASSERT_TRUE(std::regex_match(all[2], m, entry)) << all[2];
    EXPECT_EQ(all[2].rfind("entry=3 name=testflash slot=2 start_ms=4000 end_ms=4500 frames=11 ", 0), 0u) << all[2];
    EXPECT_TRUE(std::regex_match(all[3], std::regex(R"(total step_fps=20 frames=101 avg_ms=[\d.]+ p95_ms=[\d.]+ fps=[\d.]+)")))
        << all[3];
}

TEST(ShowProgram, EscapeInTheDialogExitsWith255WithoutAShowWindow) {
    const ProgramRun r = runProgram("--windowed --width 320 --height 180", pressIn("tessaly!2", "Escape"));
    EXPECT_EQ(r.exitCode, 255) << r.err;
    EXPECT_EQ(r.err.find("pushing"), std::string::npos) << r.err;
}

TEST(ShowProgram, EnterInTheDialogRunsTheShowUntilEscape) {
    const ProgramRun r = runProgram("--windowed --width 320 --height 180",
                             pressIn("tessaly!2", "Return") + "; " + pressIn("orv", "Escape"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("at load time: 3\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("INFO (trace): Trace stopped."), std::string::npos) << r.err;
}

TEST(ShowProgram, LivePlaybackFromALateStartEndsByItselfAtTheScheduleEnd) {
    const ProgramRun r = runProgram("--no-dialog --windowed --width 320 --height 180 --from 9.6");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // Every layer is released once at the end of a played show.
    EXPECT_NE(r.err.find("at load time: 3\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("3\n3\n3\nINFO (trace): Trace stopped."), std::string::npos) << r.err;
}

TEST(ShowProgram, ABadMidiFileEndsTheProgramCleanlyThroughTheTraceLog) {
    const fs::path bad = scratch("midi") / "cues.mid";
    std::ofstream(bad) << "not a MIDI file";
    const ProgramRun r = runProgram("--width 320 --height 180 --capture frames --midi '" + bad.string() + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("ERROR (midi): cannot read the MIDI file \"" + bad.string() + "\" (code 2)"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("capture: 0 frames"), std::string::npos) << r.err;
}

TEST(ShowProgram, AVideoIsMadeFromTheCaptureWhenFfmpegIsThere) {
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
    const fs::path frames = scratch("video-frames");
    const fs::path video = scratch("video") / "clip.mp4";
    const ProgramRun r = runProgram("--width 320 --height 180 --fps 10 --from 1 --to 1.5 --capture '" + frames.string() +
                                    "' --video '" + video.string() + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(fs::exists(video)) << r.err;
    const fs::path probe = video.parent_path() / "probe.txt";
    ASSERT_EQ(std::system(("ffprobe -v error -count_frames -show_entries stream=nb_read_frames -of csv=p=0 '" +
                           video.string() + "' >'" + probe.string() + "'")
                              .c_str()),
              0);
    EXPECT_EQ(slurp(probe), "6\n");
}

}  // namespace
