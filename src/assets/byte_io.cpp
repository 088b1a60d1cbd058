#include "assets/byte_io.h"

#include <cstdio>

#include "platform/platform.h"

namespace zelFramework {

bool readWholeFile(std::string_view name, std::vector<uint8_t>& bytes) {
    FILE* f = openFile(name, "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(size_t(size));
        ok = size == 0 || std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    }
    std::fclose(f);
    if (!ok) bytes.clear();
    return ok;
}

bool writeWholeFile(std::string_view name, const std::vector<uint8_t>& bytes) {
    FILE* f = openFile(name, "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

}  // namespace zelFramework
