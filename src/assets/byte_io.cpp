#include "assets/byte_io.h"

#include "platform/file_write.h"

namespace zelFramework {

bool writeWholeFile(std::string_view name, const std::vector<uint8_t>& bytes) {
    std::string problem;
    return writeFileReplacing(name, bytes, problem);
}

}  // namespace zelFramework
