// What a user meets when a run cannot do what was asked: the exit code of each kind of failure and the
// reason as the last line, from the real program with bad inputs. Tiny sizes and short spans of the
// test composition keep every run to a second or two.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "program_run.h"
#include "tone_file.h"

using namespace programtest;

namespace {

// The show's own resources folder, laid out by the build beside the program.
const fs::path SHOW_RESOURCES = fs::path(ORVO_SHOW).parent_path() / "resources";

std::string tinyCapture(const fs::path& dir, const std::string& more = "") {
    return testShow("--width 64 --height 28 --fps 10 --to 0.5 --capture '" + dir.string() + "' " + more);
}

// A stand-in for ffmpeg in its own folder: writes its arguments to `args` beside itself, makes the
// output file (its last argument) and exits with `status` after a line on standard error.
fs::path fakeFfmpeg(const std::string& name, int status) {
    const fs::path bin = scratch(name);
    const fs::path script = bin / "ffmpeg";
    std::ofstream(script) << "#!/bin/sh\necho \"$@\" > '" << (bin / "args").string()
                          << "'\nfor last; do :; done\n: > \"$last\"\necho 'simulated encoder trouble' >&2\nexit "
                          << status << "\n";
    ::chmod(script.c_str(), 0755);
    return bin;
}

std::string withPath(const fs::path& bin) { return "PATH='" + bin.string() + ":'\"$PATH\""; }

size_t framesIn(const fs::path& dir) {
    size_t n = 0;
    for (const auto& entry : fs::directory_iterator(dir)) n += entry.path().filename().string().rfind("frame_", 0) == 0;
    return n;
}

}  // namespace

// Sizes and option pairs are refused while parsing (options_test; ProgramOptions for the exit code);
// a start time can be judged only against the composition.
TEST(ExitCodes, AStartPastTheShowsEndIsACommandLineError) {
    // The test composition ends at 10 s: a start after it would be an empty capture reported as success.
    const ProgramRun r = runProgram(testShow("--width 64 --height 28 --from 30 --capture '" + scratch("late").string() + "'"));
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_EQ(lastLine(r.err), "orvo-show: --from 30 is past the end of the show at 10.000 s") << r.err;
    EXPECT_EQ(r.err.find("capture:"), std::string::npos) << r.err;
}

TEST(ExitCodes, AResourcesFolderWithoutTheShowIsRefusedBeforeTheWindowOpens) {
    for (const std::string& folder : {std::string("/nonexistent"), scratch("not-the-show").string()}) {
        const ProgramRun r = runProgram("--no-dialog --windowed --width 320 --height 180 --resources '" + folder + "'");
        EXPECT_EQ(r.exitCode, 1) << folder << ": " << r.err;
        const std::string last = lastLine(r.err);
        EXPECT_EQ(last.rfind("orvo-show: the resources folder \"" + folder + "\" ", 0), 0u) << last;
        EXPECT_NE(last.find(folder == "/nonexistent" ? "does not exist" : "does not hold the show"), std::string::npos)
            << last;
        // Refused at once: no layer was made, nothing flooded the terminal.
        EXPECT_EQ(r.err.find("pushing"), std::string::npos) << r.err;
        EXPECT_LT(linesOf(r.err).size(), 6u) << r.err;
    }
    // The test composition needs none of the show's files, only a folder; a name relative to where
    // the program was started works as well as a full one.
    for (const fs::path& folder : {scratch("resources"), fs::path("../resources")}) {
        const ProgramRun r = runProgram(testShow("--benchmark --width 64 --height 28 --to 0.2", folder));
        EXPECT_EQ(r.exitCode, 0) << folder << ": " << r.err;
    }
}

TEST(ExitCodes, AnErrorDuringTheRunGivesThreeAndNamesTheError) {
    const fs::path bad = scratch("midi") / "cues.mid";
    std::ofstream(bad) << "not a MIDI file";
    ProgramRun r = runProgram(tinyCapture(scratch("midi-frames"), "--midi '" + bad.string() + "'"));
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_EQ(lastLine(r.err).rfind("orvo-show: the show stopped on an error: ERROR (midi): ", 0), 0u) << r.err;

    // The show's resources with one shader broken: every other file is the build's own, linked.
    ASSERT_TRUE(fs::is_directory(SHOW_RESOURCES / "shaders")) << SHOW_RESOURCES;
    const fs::path resources = scratch("broken-shader");
    for (const auto& entry : fs::directory_iterator(SHOW_RESOURCES))
        if (entry.path().filename() != "shaders") fs::create_symlink(entry.path(), resources / entry.path().filename());
    fs::create_directory(resources / "shaders");
    for (const auto& entry : fs::directory_iterator(SHOW_RESOURCES / "shaders"))
        fs::create_symlink(entry.path(), resources / "shaders" / entry.path().filename());
    fs::remove(resources / "shaders" / "postFXFrag.h");
    std::ofstream(resources / "shaders" / "postFXFrag.h") << "void main( { not a shader\n";
    r = runProgram("--resources '" + resources.string() + "' --width 64 --height 28 --from 50 --to 50.1 --capture '" +
                   scratch("shader-frames").string() + "'");
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_EQ(lastLine(r.err), "orvo-show: the show stopped on an error: ERROR (shaderCompiler): (postFX) - Unable to compile shader!")
        << r.err;
    // Loading stopped at the failing layer (post-processing, the first) instead of loading the scenes
    // behind it, whose renderer would have built its own programs.
    EXPECT_EQ(r.err.find("(prepDef)"), std::string::npos) << r.err;
}

TEST(ExitCodes, ACaptureNeverMixesItsFramesWithAnEarlierOne) {
    const fs::path frames = scratch("recapture");
    ASSERT_EQ(runProgram(tinyCapture(frames)).exitCode, 0);
    ASSERT_EQ(framesIn(frames), 6u);  // 0 to 0.5 s at 10 frames a second

    // A second capture into the same folder would leave stale frames behind its own.
    const std::string shorter = testShow("--width 64 --height 28 --fps 10 --to 0.2 --capture '" + frames.string() + "'");
    ProgramRun r = runProgram(shorter);
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_EQ(lastLine(r.err),
              "orvo-show: " + frames.string() + " already holds 6 frames of an earlier capture; add --overwrite to replace them");
    EXPECT_EQ(framesIn(frames), 6u);

    // With --overwrite the folder, and the video made from it, hold exactly this run's frames.
    const fs::path bin = fakeFfmpeg("ffmpeg-ok", 0);
    const fs::path video = scratch("recapture-video") / "clip";
    r = runProgram(shorter + " --overwrite --video '" + video.string() + "'", "true", withPath(bin));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(framesIn(frames), 3u);
    EXPECT_TRUE(fs::exists(frames / "frame_000002.png"));
    EXPECT_FALSE(fs::exists(frames / "frame_000003.png"));
    const std::string args = fileText(bin / "args");
    EXPECT_NE(args.find("-frames:v 3 "), std::string::npos) << args;
    // A name without an extension gets the .mp4 the encoder needs to pick its container.
    EXPECT_NE(args.find(video.string() + ".mp4\n"), std::string::npos) << args;
    // The empty resources folder has no soundtrack: the video is made silent, and the run says so.
    EXPECT_NE(r.err.find("WARNING (capture): the soundtrack "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("so the video will have no sound"), std::string::npos) << r.err;
}

TEST(ExitCodes, AFailedVideoGivesFourAndKeepsTheFrames) {
    const fs::path frames = scratch("video-fails");
    const fs::path resources = scratch("video-music");
    ASSERT_TRUE(orvotest::writeToneMp3(resources / "anthem.mp3", 1, 440.0, 0.3));
    const std::string video = (scratch("video-out") / "clip.mp4").string();
    ProgramRun r = runProgram(testShow("--width 64 --height 28 --fps 10 --to 0.5 --capture '" + frames.string() +
                                           "' --video '" + video + "'",
                                       resources),
                              "true", withPath(fakeFfmpeg("ffmpeg-fails", 1)));
    EXPECT_EQ(r.exitCode, 4) << r.err;
    EXPECT_EQ(lastLine(r.err), "orvo-show: ffmpeg failed to make " + video + " (exit status 1); the pictures are in " +
                                   frames.string());
    EXPECT_EQ(r.err.find("no sound"), std::string::npos) << r.err;
    EXPECT_EQ(framesIn(frames), 6u);

    // Without ffmpeg at all the capture is refused before it starts, not after minutes of frames.
    r = runProgram(testShow("--width 64 --height 28 --to 0.5 --capture '" + scratch("no-encoder").string() +
                            "' --video clip.mp4"),
                   "true", "PATH='" + scratch("empty-bin").string() + "'");
    EXPECT_EQ(r.exitCode, 4) << r.err;
    EXPECT_EQ(lastLine(r.err), "orvo-show: --video needs ffmpeg, which is not installed (not found on the PATH)");
    EXPECT_EQ(framesIn(scratch("no-encoder")), 0u);
}

TEST(ExitCodes, WithoutADisplayOnlyCaptureAndBenchmarkRun) {
    // SDL's offscreen driver is what SDL falls back to when no display can be reached.
    const std::string offscreen = "SDL_VIDEODRIVER=offscreen";
    ProgramRun r = runProgram(testShow("--no-dialog --windowed --width 320 --height 180"), "true", offscreen);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(lastLine(r.err).rfind("orvo-show: no display to play the show on (video driver \"offscreen\")", 0), 0u)
        << r.err;
    EXPECT_EQ(r.err.find("pushing"), std::string::npos) << r.err;

    // The dialog would wait where nobody can answer it: its defaults are taken, with a word.
    r = runProgram(testShow("--windowed"), "true", offscreen);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("WARNING (entry): no display (video driver \"offscreen\"): the setup dialog cannot be shown, "
                         "so the defaults are taken"),
              std::string::npos)
        << r.err;

    const fs::path frames = scratch("offscreen-frames");
    r = runProgram(tinyCapture(frames), "true", offscreen);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(framesIn(frames), 6u);
    EXPECT_EQ(lastLine(r.err), "INFO (trace): Trace stopped.");
}
