// inotify behind FileWatcher: one non-blocking descriptor, one watch per folder.
#include "platform/file_watcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zelFramework {
namespace {

// A finished write (close after writing) or a file renamed into place (the way careful editors and
// atomic saves replace a file) is a change; a bare open or a partial write is not yet one.
constexpr uint32_t FILE_EVENTS = IN_CLOSE_WRITE | IN_MOVED_TO;
constexpr uint32_t FOLDER_EVENTS = IN_CREATE | IN_MOVED_TO;

}  // namespace

FileWatcher::~FileWatcher() { stop(); }

bool FileWatcher::start(const std::filesystem::path& root, std::string& problem) {
    stop();
    std::error_code ec;
    if (!std::filesystem::is_directory(root, ec)) {
        problem = "cannot watch " + root.string() + ": not a folder";
        return false;
    }
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) {
        problem = "cannot watch " + root.string() + ": " + std::strerror(errno);
        return false;
    }
    root_ = root;
    watchTree(std::filesystem::path());
    if (folders_.empty()) {
        problem = "cannot watch " + root.string() + ": " + std::strerror(errno);
        stop();
        return false;
    }
    return true;
}

void FileWatcher::stop() {
    if (fd_ >= 0) close(fd_);  // closing drops every watch of the descriptor
    fd_ = -1;
    folders_.clear();
}

void FileWatcher::watchFolder(const std::filesystem::path& folder) {
    const std::filesystem::path full = folder.empty() ? root_ : root_ / folder;
    int wd = inotify_add_watch(fd_, full.c_str(), FILE_EVENTS | FOLDER_EVENTS | IN_ONLYDIR);
    if (wd >= 0) folders_[wd] = folder;
}

void FileWatcher::watchTree(const std::filesystem::path& folder) {
    watchFolder(folder);
    std::error_code ec;
    const std::filesystem::path full = folder.empty() ? root_ : root_ / folder;
    for (std::filesystem::directory_iterator it(full, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError) && !it->is_symlink(typeError))
            watchTree(folder / it->path().filename());
    }
}

std::vector<std::string> FileWatcher::takeChanges() {
    std::vector<std::string> changes;
    if (fd_ < 0) return changes;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        ssize_t length = read(fd_, buffer, sizeof buffer);
        if (length <= 0) break;  // EAGAIN: nothing more pending
        for (ssize_t offset = 0; offset + ssize_t(sizeof(inotify_event)) <= length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += ssize_t(sizeof(inotify_event)) + ssize_t(event->len);
            auto folder = folders_.find(event->wd);
            if (folder == folders_.end() || event->len == 0) continue;
            const std::filesystem::path relative = folder->second / event->name;
            if (event->mask & IN_ISDIR) {
                // A new folder may already hold files written before its watch existed.
                if (event->mask & (IN_CREATE | IN_MOVED_TO)) watchTree(relative);
                continue;
            }
            if (!(event->mask & FILE_EVENTS)) continue;
            std::string name = relative.generic_string();
            if (std::find(changes.begin(), changes.end(), name) == changes.end()) changes.push_back(std::move(name));
        }
    }
    return changes;
}

}  // namespace zelFramework
