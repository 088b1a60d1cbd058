// The usage text of a command-line tool: on standard output with exit code 0 when the user asks for
// it (--help or -h anywhere on the line), on standard error with code 2 after a command line the tool
// cannot run. Asking first matters: a generator would otherwise take "--help" for its output name.
#pragma once

#include <cstdio>
#include <cstring>

namespace zelFramework::toolfiles {

inline bool helpRequested(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}

inline int printUsage(const char* text, bool requested)
{
    std::fputs(text, requested ? stdout : stderr);
    return requested ? 0 : 2;
}

}  // namespace zelFramework::toolfiles
