// orvo-sync: reads, writes and evaluates sync data files from the command line.
//   orvo-sync dump FILE.dat             print the text form
//   orvo-sync build FILE.txt OUT.dat    write the binary form of a text file
//   orvo-sync eval FILE NAME SECONDS    print one controller's value (FILE binary, or text when *.txt)
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "sync/controller_set.h"
#include "sync/file_io.h"
#include "sync/sync_data.h"
#include "sync/sync_text.h"

using namespace zelFramework;

namespace {

int usage() {
    std::fputs("usage: orvo-sync dump FILE.dat\n"
               "       orvo-sync build FILE.txt OUT.dat\n"
               "       orvo-sync eval FILE NAME SECONDS   (FILE is text when it ends in .txt)\n",
               stderr);
    return 2;
}

int fail(const std::string& what) {
    std::fprintf(stderr, "orvo-sync: %s\n", what.c_str());
    return 1;
}

// Reads either form into `data`; false with `problem` naming the file.
bool readSyncData(const std::string& path, bool asText, SyncData& data, std::string& problem) {
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readWholeFile(path, bytes, why)) {
        problem = path + " " + why;
        return false;
    }
    const bool ok = asText ? parseSyncText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                           data, why)
                           : parseSyncData(bytes, data, why);
    if (!ok) problem = path + ": " + why;
    return ok;
}

int dump(const std::string& path) {
    SyncData data;
    std::string problem;
    if (!readSyncData(path, false, data, problem)) return fail(problem);
    const std::string text = formatSyncText(data);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : fail("cannot write the text");
}

int build(const std::string& textPath, const std::string& outPath) {
    SyncData data;
    std::string problem;
    if (!readSyncData(textPath, true, data, problem)) return fail(problem);
    const std::vector<uint8_t> bytes = serializeSyncData(data);
    if (!replaceFile(outPath, bytes, problem)) return fail(outPath + ": " + problem);
    return 0;
}

int eval(const std::string& path, const std::string& name, const std::string& secondsText) {
    float seconds;
    const char* end = secondsText.data() + secondsText.size();
    auto [ptr, ec] = std::from_chars(secondsText.data(), end, seconds);
    if (ec != std::errc() || ptr != end) return fail("bad time '" + secondsText + "'");

    SyncData data;
    std::string problem;
    if (!readSyncData(path, path.ends_with(".txt"), data, problem)) return fail(problem);
    ControllerSet set;
    applySyncData(data, set);
    for (uint32_t i = 0; i < set.count(); ++i) {
        Controller* c = set.at(i);
        if (c->name != name) continue;
        c->update(seconds);
        char buf[64];
        auto [out, ec2] = std::to_chars(buf, buf + sizeof buf, c->value);
        (void)ec2;
        std::printf("%.*s\n", int(out - buf), buf);
        return 0;
    }
    return fail("no controller named \"" + name + "\" in " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string_view command = argv[1];
    if (command == "dump" && argc == 3) return dump(argv[2]);
    if (command == "build" && argc == 4) return build(argv[2], argv[3]);
    if (command == "eval" && argc == 5) return eval(argv[2], argv[3], argv[4]);
    return usage();
}
