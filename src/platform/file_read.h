// Whole-file reads for every reader of the program's input files (scenes, models and their caches, the
// sync data, MIDI files, the flash table, shaders, the tools). Before a byte is read the name must be
// an ordinary file no larger than the reader's limit, so that a folder, a device or a pipe given
// where a file belongs is refused with a reason instead of being sized, allocated for or blocked on.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zelFramework {

// Far beyond any file of the show (its largest scene is a few tens of megabytes), yet small enough
// that a mistaken name cannot make a reader allocate the machine's memory.
constexpr uint64_t FILE_READ_LIMIT = uint64_t(1) << 30;

enum class ReadFault {
    None,
    Missing,     // nothing of that name
    NotAFile,    // a folder, device, pipe or socket
    TooLarge,    // more bytes than the reader takes
    Unreadable,  // no permission, or an input error
};

// What identifies one state of a file's contents without reading them.
struct FileStamp {
    uint64_t size = 0;
    int64_t modifiedNs = 0;  // modification time, nanoseconds since 1970
    bool operator==(const FileStamp&) const = default;
};

// The stamp of an ordinary file; false when there is none by that name.
bool fileStamp(std::string_view name, FileStamp& out);

// Reads the whole file into `out`. On a fault `out` is empty and `problem` says why in words that
// follow the file's name ("is a folder, not a file"). Names in the program's form ('\' separators
// allowed) go through nativePath; a std::filesystem::path is used as it is.
// `stamp`, when given, receives the stamp of the file that was read.
ReadFault readFileChecked(const std::filesystem::path& path, std::vector<uint8_t>& out, std::string& problem,
                          uint64_t maxBytes = FILE_READ_LIMIT, FileStamp* stamp = nullptr);
ReadFault readFileChecked(std::string_view name, std::vector<uint8_t>& out, std::string& problem,
                          uint64_t maxBytes = FILE_READ_LIMIT, FileStamp* stamp = nullptr);

inline bool readWholeFile(std::string_view name, std::vector<uint8_t>& out, std::string& problem,
                          uint64_t maxBytes = FILE_READ_LIMIT) {
    return readFileChecked(name, out, problem, maxBytes) == ReadFault::None;
}

// For readers that read a file in pieces: the same checks, then the open stream and its stamp (whose
// size is the file's). Null with `fault` and `problem` set when the file cannot be read.
FILE* openFileChecked(std::string_view name, uint64_t maxBytes, FileStamp& stamp, ReadFault& fault,
                      std::string& problem);

}  // namespace zelFramework
