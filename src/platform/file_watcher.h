// Noticing files that change below a folder while the show runs (Linux inotify), so that the show can
// reload what an author just saved without being restarted.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace zelFramework {

class FileWatcher {
public:
    FileWatcher() = default;
    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;
    ~FileWatcher();

    // Watches `root` and every folder below it; folders made later are watched as they appear.
    // False, with `problem` saying why (naming the folder), when the root cannot be watched.
    bool start(const std::filesystem::path& root, std::string& problem);
    void stop();
    bool active() const { return fd_ >= 0; }

    // The files finished being written, moved in or renamed into place since the last call, as paths
    // relative to the root with '/' separators, each once, in the order first seen. Never blocks.
    std::vector<std::string> takeChanges();

private:
    void watchTree(const std::filesystem::path& folder);
    void watchFolder(const std::filesystem::path& folder);

    int fd_ = -1;
    std::filesystem::path root_;
    std::map<int, std::filesystem::path> folders_;  // watch descriptor -> folder relative to the root
};

}  // namespace zelFramework
