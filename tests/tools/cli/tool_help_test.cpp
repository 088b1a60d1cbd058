// Each tool answers --help with its usage on standard output and exit code 0, and a command line it
// cannot run with the usage on standard error and code 2, without writing anything.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include "support/file_text.h"

namespace fs = std::filesystem;

namespace {

using orvotest::fileText;

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

// Runs the tool in an empty folder, which must still be empty afterwards.
ToolRun runTool(const std::string& tool, const std::string& args) {
    const fs::path dir = fs::temp_directory_path() / ("orvo_tool_help_" + std::to_string(::getpid()));
    const fs::path work = dir / "work";
    fs::remove_all(dir);
    fs::create_directories(work);
    const std::string cmd = "cd '" + work.string() + "' && '" + tool + "' " + args + " >'" + (dir / "out").string() +
                            "' 2>'" + (dir / "err").string() + "'";
    const int status = std::system(cmd.c_str());
    ToolRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = fileText(dir / "out");
    r.err = fileText(dir / "err");
    EXPECT_TRUE(fs::is_empty(work)) << tool << " " << args << " wrote into its folder";
    fs::remove_all(dir);
    return r;
}

const char* const TOOLS[] = {TOOL_ORVO_SYNC, TOOL_ORVO_SCENE, TOOL_GEN_MUSIC, TOOL_GEN_PICTURES, TOOL_GEN_SCENES,
                             TOOL_SCENE_PREVIEW, TOOL_GEN_ICON};

}  // namespace

TEST(ToolCommandLines, HelpIsAnAnswerNotAnError) {
    for (const char* tool : TOOLS) {
        const std::string name = fs::path(tool).filename().string();
        // The generators once took "--help" for the name of the file or folder to write.
        for (const char* ask : {"--help", "-h", "info --help"}) {
            const ToolRun r = runTool(tool, ask);
            EXPECT_EQ(r.exitCode, 0) << name << " " << ask << ": " << r.err;
            EXPECT_EQ(r.out.rfind("usage: ", 0), 0u) << name << ": " << r.out;
            EXPECT_EQ(r.err, "") << name;
        }
    }
}

TEST(ToolCommandLines, ALineTheToolCannotRunGivesTwoAndTheUsage) {
    for (const char* tool : TOOLS) {
        const std::string name = fs::path(tool).filename().string();
        const ToolRun r = runTool(tool, "");
        EXPECT_EQ(r.exitCode, 2) << name;
        EXPECT_EQ(r.out, "") << name;
        EXPECT_EQ(r.err.rfind("usage: ", 0), 0u) << name << ": " << r.err;
    }
    EXPECT_EQ(runTool(TOOL_ORVO_SYNC, "frobnicate x").exitCode, 2);
    EXPECT_EQ(runTool(TOOL_ORVO_SCENE, "info").exitCode, 2);
}
