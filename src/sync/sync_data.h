// The sync data file as stored: a flat, headerless sequence of little-endian fields.
//
//   u32 controller count, then per controller:
//     u32 name size (bytes that follow, the terminating zero included)
//     name bytes, ending in a zero byte
//     u32 key count, then per key, in ascending time:
//       f32 time, f32 value
//       i32 curve, i32 ends   (second and later keys: the segment from the previous key)
//
// `SyncData` mirrors the file field for field, without any of the set's rules applied, so that
// reading and writing it reproduces a file byte for byte. Applying it to a `ControllerSet` is where
// keys get sorted and stored zeros turn into segment defaults.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelFramework {

class ControllerSet;

struct SyncKeyRecord {
    float time = 0.0f;
    float value = 0.0f;
    int32_t curve = 0;  // not stored for a controller's first key
    int32_t ends = 0;
};

struct SyncControllerRecord {
    // The name bytes as stored, without the final zero. The controller's name is the text up to the
    // first zero byte, so anything after an earlier zero is carried along but never used.
    std::string storedName;
    std::vector<SyncKeyRecord> keys;

    std::string controllerName() const;
};

struct SyncData {
    std::vector<SyncControllerRecord> controllers;
};

// Checks and decodes a whole file. On failure `problem` says what is wrong (with the byte offset)
// and `out` is left untouched.
bool parseSyncData(std::span<const uint8_t> bytes, SyncData& out, std::string& problem);
std::vector<uint8_t> serializeSyncData(const SyncData& data);

// The set's contents in file form, controllers in set order.
SyncData syncDataFromSet(const ControllerSet& set);
// Loads records into the set with the loading rules: existing controllers keep their identity and lose
// their keys, keys go in through addKey, a stored curve or ends of 0 keeps the segment's default.
void applySyncData(const SyncData& data, ControllerSet& set);

}  // namespace zelFramework
