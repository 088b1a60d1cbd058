// The command line: every option, every refusal as one line naming the option, the help text.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/options.h"

using namespace zelFramework;

namespace {
ParsedOptions parse(std::vector<std::string> args) { return parseOptions(args); }
}  // namespace

TEST(Options, EveryOptionReadsItsValue) {
    const ParsedOptions p =
        parse({"--resources", "/data/res", "--width", "640", "--height=360", "--windowed", "--no-dialog"});
    ASSERT_TRUE(p.error.empty()) << p.error;
    EXPECT_EQ(p.options.resources, "/data/res");
    EXPECT_EQ(p.options.width, 640);
    EXPECT_EQ(p.options.height, 360);
    EXPECT_TRUE(p.options.windowed);
    EXPECT_TRUE(p.options.noDialog);
    EXPECT_TRUE(parse({"--fullscreen"}).options.fullScreen);
    EXPECT_TRUE(parse({"--help"}).options.help);
    EXPECT_TRUE(parse({"--version"}).options.version);
    EXPECT_EQ(parse({"--width", "16384"}).options.width, 16384);
    EXPECT_EQ(parse({"--width", "64"}).options.width, 64);
    EXPECT_EQ(parse({"--height", "16"}).options.height, 16);
}

TEST(Options, CaptureOptionsAndTheVideoName) {
    ParsedOptions p = parse({"--capture", "frames", "--overwrite", "--video", "clip"});
    ASSERT_TRUE(p.error.empty()) << p.error;
    EXPECT_TRUE(p.options.overwrite);
    // The encoder picks its container from the extension, so a bare name gets the one the help names.
    EXPECT_EQ(p.options.videoFile, "clip.mp4");
    EXPECT_EQ(parse({"--capture", "f", "--video", "out/show.mkv"}).options.videoFile, "out/show.mkv");
    EXPECT_EQ(parse({"--capture", "f", "--video", "my.clips/show"}).options.videoFile, "my.clips/show.mp4");
    EXPECT_NE(parse({"--overwrite"}).error.find("--capture"), std::string::npos);
}

TEST(Options, ProblemsAreOneLineNamingTheOption) {
    const struct {
        std::vector<std::string> args;
        const char* mentions;
    } bad[] = {
        {{"--width", "abc"}, "--width"},     {{"--height", "0"}, "--height"},   {{"--width", "16385"}, "--width"},
        {{"--width", "-5"}, "--width"},      {{"--width", "12px"}, "--width"},  {{"--width", ""}, "--width"},
        {{"--height"}, "--height"},          {{"--bogus"}, "--bogus"},          {{"width"}, "width"},
        {{"--windowed=yes"}, "--windowed"},  {{"--resources", ""}, "--resources"},
        {{"--windowed", "--fullscreen"}, "--fullscreen"},
        {{"--width", "99999999999999999999"}, "--width"},
        // Smaller pictures leave the half-size and blur render targets without a pixel row.
        {{"--width", "63"}, "64 to 16384"},  {{"--width", "1"}, "--width"},  {{"--height", "15"}, "16 to 16384"},
    };
    for (const auto& b : bad) {
        const ParsedOptions p = parse(b.args);
        EXPECT_FALSE(p.error.empty()) << b.args[0];
        EXPECT_EQ(p.error.find('\n'), std::string::npos) << p.error;
        EXPECT_NE(p.error.find(b.mentions), std::string::npos) << p.error;
    }
    EXPECT_NE(parse({"--width", "abc"}).error.find("'abc'"), std::string::npos);
}

TEST(Options, TheHelpListsEveryOptionOnce) {
    const std::string usage = usageText();
    std::set<std::string> names;
    for (const OptionSpec& spec : optionTable()) {
        EXPECT_TRUE(names.insert(spec.name).second) << "twice in the table: " << spec.name;
        EXPECT_NE(usage.find(spec.name), std::string::npos) << spec.name;
    }
    EXPECT_NE(versionText().find("orvo-show "), std::string::npos);
    // The exit codes a script can rely on are part of the help.
    for (const char* code : {"\n  0    ", "\n  1    ", "\n  2    ", "\n  3    ", "\n  4    ", "\n  255  "})
        EXPECT_NE(usage.find(code), std::string::npos) << code;
}

TEST(Options, LoopTakesTwoTimesAndBpmATempo) {
    ParsedOptions p = parse({"--loop", "40", "45.5", "--edit", "--bpm", "128"});
    ASSERT_TRUE(p.error.empty()) << p.error;
    EXPECT_DOUBLE_EQ(p.options.loopFrom, 40.0);
    EXPECT_DOUBLE_EQ(p.options.loopTo, 45.5);
    EXPECT_TRUE(p.options.edit);
    EXPECT_DOUBLE_EQ(p.options.bpm, 128.0);
    EXPECT_EQ(parse({"--loop", "40"}).error, "--loop needs two values (FROM TO)");
    EXPECT_EQ(parse({"--loop", "45", "40"}).error, "--loop needs TO after FROM, not '45 40'");
    EXPECT_EQ(parse({"--loop", "a", "40"}).error, "--loop needs two numbers of seconds (0 or more), not 'a 40'");
    EXPECT_EQ(parse({"--loop", "1", "2", "--capture", "f"}).error,
              "--loop plays live; it cannot go with --capture or --benchmark");
    EXPECT_EQ(parse({"--bpm", "0"}).error, "--bpm needs a number from 1 to 1000, not '0'");
    EXPECT_EQ(parse({"--bpm", "nan"}).error, "--bpm needs a number from 1 to 1000, not 'nan'");
}
