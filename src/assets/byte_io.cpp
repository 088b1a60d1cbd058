#include "assets/byte_io.h"

#include <cstdio>

#include "platform/platform.h"

namespace zelFramework {

bool writeWholeFile(std::string_view name, const std::vector<uint8_t>& bytes) {
    FILE* f = openFile(name, "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

}  // namespace zelFramework
