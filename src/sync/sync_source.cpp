#include "sync/sync_source.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "app/trace.h"
#include "platform/platform.h"
#include "sync/controller_set.h"
#include "sync/file_io.h"
#include "sync/snapshots.h"
#include "sync/sync_data.h"
#include "sync/sync_text_merge.h"

namespace zelFramework {

namespace {

constexpr const char* TAG = "syncData";

std::string asText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A text written after the sync data file was built from it holds edits the show has never loaded
// (the author changed it and has not built since); the merge would put the show's keys over them.
bool textHasUnbuiltEdits(const std::string& path) {
    std::error_code textError, dataError;
    const auto text = std::filesystem::last_write_time(nativePath(path), textError);
    const auto data = std::filesystem::last_write_time(nativePath(SYNC_DATA_FILE), dataError);
    return !textError && !dataError && text > data;
}

// Writes the merged text; false with `problem` when the text cannot be read, is not valid, or
// cannot be replaced. A text with edits the show never loaded is first copied to `keptCopy`.
bool writeSourceText(const ControllerSet& set, const std::string& path, std::string& problem, std::string& keptCopy) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, problem)) return false;
    if (textHasUnbuiltEdits(path)) {
        keptCopy = path + ".before-save";
        if (!replaceFile(keptCopy, bytes, problem)) {
            problem = "it has edits that were never built, and no copy of them could be kept (" + problem + ")";
            keptCopy.clear();
            return false;
        }
    }
    std::string merged;
    if (!mergeSyncText(asText(bytes), syncDataFromSet(set), merged, problem)) {
        problem = "it does not read as sync text (" + problem + ")";
        return false;
    }
    const std::vector<uint8_t> out(merged.begin(), merged.end());
    return replaceFile(path, out, problem);
}

}  // namespace

std::string recordedSourceText(std::string& problem) {
    std::vector<uint8_t> bytes;
    std::error_code ec;
    if (!std::filesystem::exists(nativePath(SYNC_SOURCE_RECORD), ec)) {
        problem = std::string("no record of the source text (") + SYNC_SOURCE_RECORD + ")";
        return {};
    }
    if (!readWholeFile(SYNC_SOURCE_RECORD, bytes, problem)) return {};
    std::string path = asText(bytes);
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r' || path.back() == ' ')) path.pop_back();
    if (path.empty()) problem = std::string(SYNC_SOURCE_RECORD) + " is empty";
    return path;
}

CurveSaveReport saveShowCurves(const ControllerSet& set) {
    CurveSaveReport report;
    std::string problem;
    report.textPath = recordedSourceText(problem);
    // The text goes first, so that the binary ends up the newer of the two and a build that follows
    // sees nothing to redo.
    std::string keptCopy;
    if (!report.textPath.empty()) report.textSaved = writeSourceText(set, report.textPath, problem, keptCopy);
    report.binarySaved = set.save(SYNC_DATA_FILE);  // save traces its own failure

    if (report.textSaved) {
        report.message = "saved " + report.textPath + " and " + SYNC_DATA_FILE;
        if (!keptCopy.empty()) {
            report.message += "; the text had edits that were never built, kept in " + keptCopy;
            trace(TRACE_WARNING, TAG, "save: %s", report.message.c_str());
        }
    } else {
        const std::string text = report.textPath.empty() ? "the source text" : report.textPath;
        report.message = "NOT saved into " + text + ": " + problem + "; " +
                         (report.binarySaved ? std::string("only ") + SYNC_DATA_FILE + " holds the edits, and the next build replaces it"
                                             : std::string("nor into ") + SYNC_DATA_FILE);
        trace(TRACE_WARNING, TAG, "save: %s", report.message.c_str());
    }
    if (report.textSaved && !report.binarySaved) report.message = "saved " + report.textPath + " but NOT " + SYNC_DATA_FILE;
    return report;
}

}  // namespace zelFramework
