// orvo-sync: reads, writes and evaluates sync data files from the command line.
//   orvo-sync dump FILE.dat             print the text form
//   orvo-sync build FILE.txt OUT.dat    write the binary form of a text file
//   orvo-sync eval FILE NAME SECONDS    print one controller's value (FILE binary, or text when *.txt)
//   orvo-sync check FILE [NAMES]        compare the controllers of FILE with the names the show reads
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "sync/beat_grid.h"
#include "sync/controller_check.h"
#include "sync/controller_set.h"
#include "sync/file_io.h"
#include "sync/sync_data.h"
#include "sync/sync_text.h"
#include "tool_usage.h"

using namespace zelFramework;

namespace {

constexpr const char* USAGE =
    "usage: orvo-sync dump FILE.dat\n"
    "       orvo-sync build FILE.txt OUT.dat\n"
    "       orvo-sync eval FILE NAME SECONDS   (FILE is text when it ends in .txt)\n"
    "       orvo-sync check FILE [NAMES]       controllers of FILE that the show never reads, and names\n"
    "                                          it reads that FILE lacks; NAMES lists the names read, one\n"
    "                                          a line (default: resources/data/controllers-read.txt\n"
    "                                          beside this program). Exit 1 when anything was found.\n";

int usage(bool requested = false) {
    return toolfiles::printUsage(USAGE, requested);
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

std::vector<std::string> readNameList(const std::string& path, std::string& problem) {
    std::vector<uint8_t> bytes;
    std::vector<std::string> names;
    if (!readWholeFile(path, bytes, problem)) {
        problem = path + " " + problem;
        return names;
    }
    std::string line;
    for (uint8_t byte : bytes) {
        if (byte != '\n') {
            line += char(byte);
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) names.push_back(line);
        line.clear();
    }
    if (!line.empty()) names.push_back(line);
    return names;
}

int check(const std::string& path, const std::string& namesPath) {
    SyncData data;
    std::string problem;
    if (!readSyncData(path, path.ends_with(".txt"), data, problem)) return fail(problem);
    const std::vector<std::string> read = readNameList(namesPath, problem);
    if (read.empty()) return fail(problem.empty() ? namesPath + " names no controller" : problem);
    std::vector<std::string> inData;
    // The editor's tempo rides along with the curves; no layer is meant to read it.
    for (const SyncControllerRecord& rec : data.controllers)
        if (rec.controllerName() != BEAT_GRID_CONTROLLER) inData.push_back(rec.controllerName());
    const ControllerCheck result = checkControllerNames(inData, read);
    for (const NameProblem& p : result.unread)
        std::printf("%s: controller \"%s\" is read by no layer%s\n", path.c_str(), p.name.c_str(), didYouMean(p).c_str());
    for (const NameProblem& p : result.missing)
        std::printf("%s: the show reads \"%s\", which has no block here (it reads 0)%s\n", path.c_str(), p.name.c_str(),
                    didYouMean(p).c_str());
    if (result.unread.empty() && result.missing.empty())
        std::printf("%s: all %zu controllers are read by the show, and it reads no others\n", path.c_str(), inData.size());
    std::fflush(stdout);
    return result.unread.empty() && result.missing.empty() ? 0 : 1;
}

std::string defaultNameList() {
    return (executableDirectory() / "resources" / "data" / "controllers-read.txt").string();
}

}  // namespace

int main(int argc, char** argv) {
    if (toolfiles::helpRequested(argc, argv) || (argc == 2 && std::string_view(argv[1]) == "help")) return usage(true);
    if (argc < 2) return usage();
    const std::string_view command = argv[1];
    if (command == "dump" && argc == 3) return dump(argv[2]);
    if (command == "build" && argc == 4) return build(argv[2], argv[3]);
    if (command == "eval" && argc == 5) return eval(argv[2], argv[3], argv[4]);
    if (command == "check" && (argc == 3 || argc == 4)) return check(argv[2], argc == 4 ? argv[3] : defaultNameList());
    return usage();
}
