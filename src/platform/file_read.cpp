#include "platform/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/platform.h"

namespace zelFramework {

namespace {

std::string byteCount(uint64_t bytes) {
    if (bytes >= (uint64_t(1) << 30)) return std::to_string(bytes >> 30) + " GiB";
    if (bytes >= (uint64_t(1) << 20)) return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "is a folder, not a file";
    if (S_ISFIFO(mode)) return "is a pipe, not a file";
    if (S_ISSOCK(mode)) return "is a socket, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a file";
    return "is not an ordinary file";
}

// Opens without blocking (a pipe would wait for a writer) and checks what was opened, not what the
// name pointed to a moment earlier. -1 with the fault set when it cannot be read.
FileStamp stampOf(const struct stat& info) {
    return {uint64_t(info.st_size), int64_t(info.st_mtim.tv_sec) * 1000000000 + int64_t(info.st_mtim.tv_nsec)};
}

int openChecked(const std::filesystem::path& path, uint64_t maxBytes, FileStamp& stamp, ReadFault& fault,
                std::string& problem) {
    fault = ReadFault::None;
    problem.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        struct stat info;
        if (error == ENOENT || error == ENOTDIR) {
            fault = ReadFault::Missing;
            problem = "does not exist";
        } else if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            fault = ReadFault::NotAFile;  // a socket cannot even be opened
            problem = kindOf(info.st_mode);
        } else {
            fault = ReadFault::Unreadable;
            problem = std::string("cannot be opened (") + std::strerror(error) + ")";
        }
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        fault = ReadFault::Unreadable;
        problem = std::string("cannot be examined (") + std::strerror(errno) + ")";
    } else if (!S_ISREG(info.st_mode)) {
        fault = ReadFault::NotAFile;
        problem = kindOf(info.st_mode);
    } else if (uint64_t(info.st_size) > maxBytes) {
        fault = ReadFault::TooLarge;
        problem = "is " + byteCount(uint64_t(info.st_size)) + ", more than the " + byteCount(maxBytes) +
                  " this reader takes";
    }
    if (fault != ReadFault::None) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    stamp = stampOf(info);
    return fd;
}

}  // namespace

bool fileStamp(std::string_view name, FileStamp& out) {
    struct stat info;
    if (::stat(nativePath(name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    out = stampOf(info);
    return true;
}

ReadFault readFileChecked(const std::filesystem::path& path, std::vector<uint8_t>& out, std::string& problem,
                          uint64_t maxBytes, FileStamp* stamp) {
    out.clear();
    FileStamp opened;
    ReadFault fault;
    const int fd = openChecked(path, maxBytes, opened, fault, problem);
    if (fd < 0) return fault;
    if (stamp) *stamp = opened;
    out.resize(size_t(opened.size));
    size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            problem = std::string("cannot be read (") + std::strerror(errno) + ")";
            ::close(fd);
            out.clear();
            return ReadFault::Unreadable;
        }
        if (n == 0) break;  // cut short while being read: what was there is the file
        got += size_t(n);
    }
    ::close(fd);
    out.resize(got);
    return ReadFault::None;
}

ReadFault readFileChecked(std::string_view name, std::vector<uint8_t>& out, std::string& problem, uint64_t maxBytes,
                          FileStamp* stamp) {
    return readFileChecked(nativePath(name), out, problem, maxBytes, stamp);
}

FILE* openFileChecked(std::string_view name, uint64_t maxBytes, FileStamp& stamp, ReadFault& fault,
                      std::string& problem) {
    const int fd = openChecked(nativePath(name), maxBytes, stamp, fault, problem);
    if (fd < 0) return nullptr;
    FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        fault = ReadFault::Unreadable;
        problem = std::string("cannot be opened (") + std::strerror(errno) + ")";
        ::close(fd);
    }
    return f;
}

}  // namespace zelFramework
