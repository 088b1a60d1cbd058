// Helpers shared by the sync tests: scratch folders and byte files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace synctest {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// Little-endian field builders for hand-made files.
void putU32(std::vector<uint8_t>& out, uint32_t v);
void putF32(std::vector<uint8_t>& out, float f);

}  // namespace synctest
