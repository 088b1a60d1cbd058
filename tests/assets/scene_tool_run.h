// Runs the orvo-scene tool as a process and collects its exit status and everything it printed.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace orvotest {

struct ToolRun {
    int status = -1;
    std::string output;
};

inline ToolRun runSceneTool(const std::string& arguments) {
    ToolRun run;
    const std::string command = std::string(ORVO_SCENE_TOOL) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace orvotest
