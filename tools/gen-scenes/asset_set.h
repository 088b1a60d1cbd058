// The whole list of generated assets and the loop that writes them.
#pragma once

#include <cstdio>
#include <string>

namespace zelFramework::scenegen {

// Writes every asset below `outputDir`, one line per file to `log` (may be null). False when
// anything could not be built or written; the rest is still attempted.
bool generateAll(const std::string& outputDir, std::FILE* log);

}  // namespace zelFramework::scenegen
