#include "sync/sync_data.h"

#include <cstring>

#include "sync/controller_set.h"

namespace zelFramework {

namespace {

// A bounded little-endian reader: every read checks the bytes left first.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t offset() const { return pos_; }
    size_t left() const { return bytes_.size() - pos_; }

    bool u32(uint32_t& out) {
        if (left() < 4) return false;
        out = uint32_t(bytes_[pos_]) | uint32_t(bytes_[pos_ + 1]) << 8 | uint32_t(bytes_[pos_ + 2]) << 16 |
              uint32_t(bytes_[pos_ + 3]) << 24;
        pos_ += 4;
        return true;
    }
    bool i32(int32_t& out) {
        uint32_t u;
        if (!u32(u)) return false;
        out = int32_t(u);
        return true;
    }
    bool f32(float& out) {
        uint32_t u;
        if (!u32(u)) return false;
        std::memcpy(&out, &u, 4);
        return true;
    }
    bool bytes(size_t count, std::string& out) {
        if (left() < count) return false;
        out.assign(reinterpret_cast<const char*>(bytes_.data() + pos_), count);
        pos_ += count;
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 24));
}

void putF32(std::vector<uint8_t>& out, float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    putU32(out, u);
}

std::string at(size_t offset) { return " at byte " + std::to_string(offset); }

// The smallest record: name size, a one-byte name, key count.
constexpr size_t MIN_CONTROLLER_BYTES = 4 + 1 + 4;

bool parseController(ByteReader& in, uint32_t index, SyncControllerRecord& rec, std::string& problem) {
    const std::string which = "controller " + std::to_string(index);
    uint32_t nameSize;
    if (!in.u32(nameSize)) {
        problem = which + ": name size cut off" + at(in.offset());
        return false;
    }
    if (nameSize == 0) {
        problem = which + ": name size 0 leaves no room for the zero byte" + at(in.offset() - 4);
        return false;
    }
    if (nameSize > in.left()) {
        problem = which + ": name size " + std::to_string(nameSize) + " exceeds the " +
                  std::to_string(in.left()) + " bytes left" + at(in.offset() - 4);
        return false;
    }
    std::string name;
    in.bytes(nameSize, name);
    if (name.back() != '\0') {
        problem = which + ": name without its zero byte" + at(in.offset() - 1);
        return false;
    }
    name.pop_back();

    uint32_t keyCount;
    if (!in.u32(keyCount)) {
        problem = which + ": key count cut off" + at(in.offset());
        return false;
    }
    // First key 8 bytes, every later one 16: check before reserving anything.
    const uint64_t needed = keyCount == 0 ? 0 : 8 + uint64_t(keyCount - 1) * 16;
    if (needed > in.left()) {
        problem = which + ": key count " + std::to_string(keyCount) + " needs " + std::to_string(needed) +
                  " bytes, " + std::to_string(in.left()) + " left" + at(in.offset() - 4);
        return false;
    }
    rec.storedName = std::move(name);
    rec.keys.resize(keyCount);
    for (uint32_t k = 0; k < keyCount; ++k) {
        SyncKeyRecord& key = rec.keys[k];
        in.f32(key.time);
        in.f32(key.value);
        if (k > 0) {
            in.i32(key.curve);
            in.i32(key.ends);
        }
    }
    return true;
}

}  // namespace

std::string SyncControllerRecord::controllerName() const { return std::string(storedName.c_str()); }

bool parseSyncData(std::span<const uint8_t> bytes, SyncData& out, std::string& problem) {
    ByteReader in(bytes);
    uint32_t count;
    if (!in.u32(count)) {
        problem = "shorter than the 4-byte controller count (" + std::to_string(bytes.size()) + " bytes)";
        return false;
    }
    if (uint64_t(count) * MIN_CONTROLLER_BYTES > in.left()) {
        problem = "controller count " + std::to_string(count) + " cannot fit in the " +
                  std::to_string(in.left()) + " bytes left";
        return false;
    }
    SyncData data;
    data.controllers.resize(count);
    for (uint32_t i = 0; i < count; ++i)
        if (!parseController(in, i, data.controllers[i], problem)) return false;
    if (in.left() != 0) {
        // Nothing this program writes has them: they mean a count or size field was damaged.
        problem = std::to_string(in.left()) + " unexpected bytes after the last controller" + at(in.offset());
        return false;
    }
    out = std::move(data);
    return true;
}

std::vector<uint8_t> serializeSyncData(const SyncData& data) {
    std::vector<uint8_t> out;
    putU32(out, uint32_t(data.controllers.size()));
    for (const SyncControllerRecord& rec : data.controllers) {
        putU32(out, uint32_t(rec.storedName.size() + 1));
        out.insert(out.end(), rec.storedName.begin(), rec.storedName.end());
        out.push_back(0);
        putU32(out, uint32_t(rec.keys.size()));
        for (size_t k = 0; k < rec.keys.size(); ++k) {
            putF32(out, rec.keys[k].time);
            putF32(out, rec.keys[k].value);
            if (k > 0) {
                putU32(out, uint32_t(rec.keys[k].curve));
                putU32(out, uint32_t(rec.keys[k].ends));
            }
        }
    }
    return out;
}

SyncData syncDataFromSet(const ControllerSet& set) {
    SyncData data;
    data.controllers.resize(set.count());
    for (uint32_t i = 0; i < set.count(); ++i) {
        const Controller& c = *set.at(i);
        SyncControllerRecord& rec = data.controllers[i];
        rec.storedName = c.name;
        rec.keys.resize(c.keys.size());
        for (size_t k = 0; k < c.keys.size(); ++k) {
            rec.keys[k].time = c.keys[k].time;
            rec.keys[k].value = c.keys[k].value;
            if (k > 0) {
                const ControllerSegment seg = k - 1 < c.segments.size() ? c.segments[k - 1] : ControllerSegment{};
                rec.keys[k].curve = seg.curve;
                rec.keys[k].ends = seg.ends;
            }
        }
    }
    return data;
}

void applySyncData(const SyncData& data, ControllerSet& set) {
    for (const SyncControllerRecord& rec : data.controllers) {
        Controller* c = set.getForFile(rec.controllerName());
        c->keys.clear();
        c->segments.clear();
        c->value = 0.0f;
        for (size_t k = 0; k < rec.keys.size(); ++k) {
            const SyncKeyRecord& key = rec.keys[k];
            c->addKey(key.time, key.value);
            // The segment is addressed by the key's place in the file, as the file was written sorted.
            if (k > 0 && k - 1 < c->segments.size()) {
                ControllerSegment& seg = c->segments[k - 1];
                if (key.curve != 0) seg.curve = key.curve;
                if (key.ends != 0) seg.ends = key.ends;
            }
        }
    }
}

}  // namespace zelFramework
