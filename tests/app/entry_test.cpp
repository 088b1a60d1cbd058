// orvo-show as a whole process: options, start-up, the dialog, the show until Escape or close, capture,
// benchmark and MIDI errors, shutdown.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "program_run.h"
#include "tone_file.h"

using namespace programtest;

TEST(ProgramOptions, BadCommandLinesExitWithTwoAndOneLine) {
    for (const char* args : {"--width abc", "--frobnicate", "--resources"}) {
        const ProgramRun r = runProgram(args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_EQ(linesOf(r.err).size(), 1u) << args << ": " << r.err;
        EXPECT_EQ(r.err.rfind("orvo-show: ", 0), 0u) << r.err;
    }
    const ProgramRun help = runProgram("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--no-dialog"), std::string::npos);
    const ProgramRun version = runProgram("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("orvo-show ", 0), 0u);
}

TEST(ProgramDialog, EscapeExitsWith255WithoutAShow) {
    const ProgramRun r = runProgram(testShow("--windowed --width 320 --height 180"), pressIn("tessaly!2", "Escape"));
    EXPECT_EQ(r.exitCode, 255) << r.err;
    EXPECT_EQ(r.err.find("pushing"), std::string::npos) << r.err;
}

TEST(ProgramDialog, EnterRunsTheShowWithItsSoundtrackUntilEscape) {
    const fs::path resources = scratch("with-music");
    ASSERT_TRUE(orvotest::writeToneMp3(resources / "anthem.mp3", 1, 440.0, 0.3));
    const ProgramRun r = runProgram(testShow("--windowed --width 320 --height 180", resources),
                                    pressIn("tessaly!2", "Return") + "; " + pressIn("orv", "Escape"));
    EXPECT_TRUE(r.acted) << "the show was gone before Escape reached it";
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> lines = linesOf(r.err);
    ASSERT_GE(lines.size(), 3u) << r.err;
    EXPECT_EQ(lines[0], "INFO (trace): Trace started");
    EXPECT_EQ(lines[1], "INFO (trace): Enabled quit on trace level: 1");
    EXPECT_NE(r.err.find("at load time: 3\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("WARNING (music)"), std::string::npos) << "the soundtrack did not open: " << r.err;
    EXPECT_EQ(lines.back(), "INFO (trace): Trace stopped.");
}

TEST(ProgramShow, WithoutSoundtrackItRunsSilentAndTheCloseRequestEndsIt) {
    // SIGTERM arrives the way the close button does: as WM_CLOSE through the window procedure.
    const ProgramRun r = runProgram(testShow("--windowed --no-dialog --width 256 --height 144", scratch("no-music")),
                                    inWindow("orv", "kill -TERM $pid"));
    EXPECT_TRUE(r.acted);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> lines = linesOf(r.err);
    int warnings = 0;
    for (const std::string& line : lines) warnings += line.rfind("WARNING (music): ", 0) == 0;
    EXPECT_EQ(warnings, 1) << r.err;
    EXPECT_NE(r.err.find("anthem.mp3"), std::string::npos);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "INFO (trace): Trace stopped.");
}

TEST(ProgramShow, LivePlaybackFromALateStartEndsByItselfAtTheScheduleEnd) {
    const ProgramRun r = runProgram(testShow("--no-dialog --windowed --width 320 --height 180 --from 9.6"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // Every layer is released once at the end of a played show.
    EXPECT_NE(r.err.find("at load time: 3\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("3\n3\n3\nINFO (trace): Trace stopped."), std::string::npos) << r.err;
}

TEST(ProgramCapture, TwoCapturesOfOneSpanAreByteIdentical) {
    const fs::path frames = scratch("frames");
    for (const char* run : {"a", "b"}) {
        const ProgramRun r = runProgram(testShow("--width 320 --height 180 --fps 10 --from 3.9 --to 4.2 --capture '" +
                                                 (frames / run).string() + "'"));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.err.find("capture: 4 frames"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("ERROR"), std::string::npos) << r.err;
    }
    for (int i = 0; i < 4; ++i) {
        const std::string name = "frame_00000" + std::to_string(i) + ".png";
        const std::string a = fileText(frames / "a" / name);
        ASSERT_GT(a.size(), 100u) << name;
        EXPECT_EQ(a, fileText(frames / "b" / name)) << name;
    }
    EXPECT_FALSE(fs::exists(frames / "a" / "frame_000004.png"));
    EXPECT_NE(fileText(frames / "a" / "frame_000000.png"), fileText(frames / "a" / "frame_000002.png"));
}

TEST(ProgramCapture, ABadMidiFileEndsTheProgramCleanlyThroughTheTraceLog) {
    const fs::path bad = scratch("midi") / "cues.mid";
    std::ofstream(bad) << "not a MIDI file";
    const ProgramRun r = runProgram(testShow("--width 320 --height 180 --capture frames --midi '" + bad.string() + "'"));
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_NE(r.err.find("ERROR (midi): cannot read the MIDI file \"" + bad.string() + "\": not a MIDI file (code 2)"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("capture: 0 frames"), std::string::npos) << r.err;
}

TEST(ProgramCapture, AVideoIsMadeFromTheCaptureWhenFfmpegIsThere) {
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
    const fs::path frames = scratch("video-frames");
    const fs::path video = scratch("video") / "clip.mp4";
    const ProgramRun r = runProgram(testShow("--width 320 --height 180 --fps 10 --from 1 --to 1.5 --capture '" +
                                             frames.string() + "' --video '" + video.string() + "'"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(fs::exists(video)) << r.err;
    const fs::path probe = video.parent_path() / "probe.txt";
    ASSERT_EQ(std::system(("ffprobe -v error -count_frames -show_entries stream=nb_read_frames -of csv=p=0 '" +
                           video.string() + "' >'" + probe.string() + "'").c_str()),
              0);
    EXPECT_EQ(fileText(probe), "6\n");
}

TEST(ProgramBenchmark, TheReportNamesEveryEntryAndTheSpan) {
    const ProgramRun r = runProgram(testShow("--width 320 --height 180 --benchmark --fps 20 --to 5"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> all = linesOf(r.out);
    ASSERT_EQ(all.size(), 4u) << r.out;
    const std::regex entry(
        R"(entry=\d+ name=\S+ slot=\d+ start_ms=\d+ end_ms=\d+ frames=(\d+) avg_ms=[\d.]+ p95_ms=[\d.]+ fps=[\d.]+)"
        R"( cpu_avg_ms=[\d.]+ cpu_p95_ms=[\d.]+ cpu_fps=[\d.]+)");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(all[0], m, entry)) << all[0];
    EXPECT_EQ(m[1], "101");  // 0 to 5 s at 20 frames a second
    ASSERT_TRUE(std::regex_match(all[2], m, entry)) << all[2];
    EXPECT_EQ(all[2].rfind("entry=3 name=testflash slot=2 start_ms=4000 end_ms=4500 frames=11 ", 0), 0u) << all[2];
    EXPECT_TRUE(std::regex_match(
        all[3], std::regex(R"(total step_fps=20 frames=101 avg_ms=[\d.]+ p95_ms=[\d.]+ fps=[\d.]+ cpu_avg_ms=[\d.]+ cpu_p95_ms=[\d.]+ cpu_fps=[\d.]+ peak_rss_mb=[1-9]\d*)")))
        << all[3];
}

TEST(ProgramBenchmark, PassesFollowEachEntryWithTheTimeOfEveryPassAndTheRest) {
    const ProgramRun r = runProgram(testShow("--width 320 --height 180 --benchmark --passes --fps 20 --to 1"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::regex pass(R"(pass entry=(\d+) name=(\S+) depth=(\d+) calls_per_frame=[\d.]+ wall_ms=-?[\d.]+ cpu_ms=-?[\d.]+)");
    const std::regex entryLine(R"(entry=(\d+) name=(\S+) .*)");
    int rest = 0, entries = 0;
    std::map<std::string, std::string> drawnEntries;  // entry number -> its layer's name
    std::set<std::string> timedLayers;                // "entry number/layer name" of the top-level layer passes
    for (const std::string& line : linesOf(r.out)) {
        std::smatch m;
        if (line.rfind("entry=", 0) == 0 && line.find(" frames=0 ") == std::string::npos) {
            ++entries;
            ASSERT_TRUE(std::regex_match(line, m, entryLine)) << line;
            drawnEntries[m[1]] = m[2];
        }
        if (line.rfind("pass ", 0) == 0) {
            ASSERT_TRUE(std::regex_match(line, m, pass)) << line;
            rest += m[2] == "(rest)";
            const std::string name = m[2];
            if (name.rfind("layer:", 0) == 0 && m[3] == "0") timedLayers.insert(std::string(m[1]) + "/" + name.substr(6));
        }
    }
    EXPECT_GT(entries, 0) << r.out;
    EXPECT_EQ(rest, entries) << r.out;  // every entry drawn ends with what no pass covered
    // Each entry's frames drew its own layer, timed as a pass of its own at the top level.
    for (const auto& [number, name] : drawnEntries)
        EXPECT_EQ(timedLayers.count(number + "/" + name), 1u) << "entry " << number << " " << name << "\n" << r.out;
    EXPECT_EQ(runProgram(testShow("--passes --to 1")).exitCode, 2);  // --passes needs --benchmark
}

// --watch on the real program: a sync data file renamed into place while the test composition plays
// is loaded at the time the show has, and the show plays on to its end. Without the option (or with
// --edit --no-watch) nothing is watched.
TEST(ProgramLiveReload, WatchLoadsANewSyncDataFileWhileThePlayContinues) {
    const fs::path resources = scratch("live-resources");
    fs::create_directories(resources / "data");
    // One controller "live" with one key (0 s, 0.5).
    const std::string newFile =
        "printf '\\001\\000\\000\\000\\005\\000\\000\\000live\\000\\001\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\077' "
        "> '" + (resources / "data/demosynch.dat.new").string() + "' && mv '" +
        (resources / "data/demosynch.dat.new").string() + "' '" + (resources / "data/demosynch.dat").string() + "'";
    const std::string script = "for i in $(seq 200); do grep -q 'watching' err 2>/dev/null && break; sleep 0.05; done; "
                               "sleep 1; kill -0 $pid && touch acted; " + newFile;
    const ProgramRun r = runProgram(testShow("--watch --no-dialog --windowed --width 320 --height 180 --to 5", resources), script);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.acted) << "the show ended before the file was written";
    EXPECT_NE(r.err.find("INFO (liveReload): sync data data/demosynch.dat reloaded: "), std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("ERROR"), std::string::npos) << r.err;

    for (const char* args : {"--no-dialog --windowed --width 320 --height 180 --to 0.5",
                             "--edit --no-watch --no-dialog --windowed --width 320 --height 180 --to 0.5"}) {
        const ProgramRun plain = runProgram(testShow(args, resources));
        EXPECT_EQ(plain.exitCode, 0) << args << ": " << plain.err;
        EXPECT_EQ(plain.err.find("liveReload"), std::string::npos) << args << ": " << plain.err;
    }
}
