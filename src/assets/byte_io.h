// Little-endian reading and writing of the binary formats (scene files, model caches).
// The reader never reads past its end: every read reports whether the bytes were there, and counts
// of records are checked against the bytes left before anything is allocated.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_read.h"

namespace zelFramework {

// Bulk reads copy floats and integers as they lie in the file.
static_assert(std::endian::native == std::endian::little, "the file formats are little-endian");

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t remaining() const { return size_ - pos_; }
    size_t position() const { return pos_; }
    // True when `count` records of `recordSize` bytes still fit in what is left.
    bool canHold(uint64_t count, uint64_t recordSize) const {
        return recordSize == 0 || count <= remaining() / recordSize;
    }

    bool bytes(void* out, size_t n) {
        if (n > remaining()) return false;
        if (n) std::memcpy(out, data_ + pos_, n);
        pos_ += n;
        return true;
    }
    bool skip(size_t n) {
        if (n > remaining()) return false;
        pos_ += n;
        return true;
    }
    bool u8(uint8_t& v) { return bytes(&v, 1); }
    bool u32(uint32_t& v) { return bytes(&v, 4); }
    bool f32(float& v) { return bytes(&v, 4); }
    bool f32x3(float* v) { return bytes(v, 12); }

    // A fixed field holding NUL-terminated text; a field without a NUL is taken whole.
    bool fixedString(std::string& out, size_t fieldSize) {
        if (fieldSize > remaining()) return false;
        const char* p = reinterpret_cast<const char*>(data_ + pos_);
        out.assign(p, strnlen(p, fieldSize));
        pos_ += fieldSize;
        return true;
    }

    // `count` values into `out` (replacing it); refused without allocating when they are not all there.
    template <typename T, typename Alloc>
    bool array(std::vector<T, Alloc>& out, uint64_t count) {
        if (!canHold(count, sizeof(T))) return false;
        out.resize(size_t(count));
        return bytes(out.data(), size_t(count) * sizeof(T));
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

class ByteWriter {
public:
    std::vector<uint8_t>& out;
    explicit ByteWriter(std::vector<uint8_t>& target) : out(target) {}

    void bytes(const void* p, size_t n) {
        const uint8_t* b = static_cast<const uint8_t*>(p);
        out.insert(out.end(), b, b + n);
    }
    void u8(uint8_t v) { out.push_back(v); }
    void u32(uint32_t v) { bytes(&v, 4); }
    void f32(float v) { bytes(&v, 4); }
    // Text padded with NULs to the field size; the caller has checked that it is shorter than the field.
    void fixedString(std::string_view s, size_t fieldSize) {
        size_t n = s.size() < fieldSize ? s.size() : fieldSize - 1;
        bytes(s.data(), n);
        out.insert(out.end(), fieldSize - n, uint8_t(0));
    }
    template <typename T, typename Alloc>
    void array(const std::vector<T, Alloc>& v) {
        bytes(v.data(), v.size() * sizeof(T));
    }
};

// Writes bytes to a file, replacing it whole (a reader meanwhile sees the old file or the new one).
// False when it cannot be created or fully written; the old file is then left as it was.
bool writeWholeFile(std::string_view name, const std::vector<uint8_t>& bytes);

}  // namespace zelFramework
