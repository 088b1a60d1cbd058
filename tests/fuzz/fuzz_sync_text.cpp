// Feeds arbitrary text to the sync text parser. Whatever it accepts must survive the trip to the
// binary form and back to text unchanged.
#include <cstdlib>
#include <string>
#include <string_view>

#include "sync/sync_data.h"
#include "sync/sync_text.h"

using namespace zelFramework;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SyncData parsed;
    std::string problem;
    if (!parseSyncText(std::string_view(reinterpret_cast<const char*>(data), size), parsed, problem)) return 0;

    const std::vector<uint8_t> bytes = serializeSyncData(parsed);
    SyncData decoded;
    if (!parseSyncData(bytes, decoded, problem)) std::abort();
    if (serializeSyncData(decoded) != bytes) std::abort();

    const std::string text = formatSyncText(decoded);
    SyncData reparsed;
    if (!parseSyncText(text, reparsed, problem)) std::abort();
    if (serializeSyncData(reparsed) != bytes) std::abort();
    if (formatSyncText(reparsed) != text) std::abort();
    return 0;
}
