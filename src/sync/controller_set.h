// Every controller of the show, in creation order. The set owns them; the pointers handed out by
// `get` stay valid for the life of the set, also across reloads of the sync data file.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sync/controller.h"

namespace zelFramework {

class ControllerSet {
public:
    // The controller with exactly this name (bytes, case-sensitive), created without keys when missing.
    // The name counts as read by the show from now on (layers ask for their controllers this way).
    Controller* get(std::string_view name);
    // The same for the sync data's loader: the name counts as held by the file, not as read.
    Controller* getForFile(std::string_view name);
    // Evaluates every controller, in order, at the given show time.
    void update(float seconds);

    uint32_t count() const { return uint32_t(controllers_.size()); }
    Controller* at(uint32_t index) const;
    std::string nameAt(uint32_t index) const;
    // Whether a layer asked for the controller at `index`, and whether a sync data file named it.
    bool requestedAt(uint32_t index) const { return index < requested_.size() && requested_[index]; }
    bool fromFileAt(uint32_t index) const { return index < fromFile_.size() && fromFile_[index]; }

    // Reads a sync data file into the set. The whole file is checked first: a missing, short or
    // inconsistent file returns false, leaves a WARNING trace line and changes nothing.
    bool load(std::string_view path);
    // Same, from bytes already in memory; `source` names them in the trace line.
    bool loadFromBytes(std::span<const uint8_t> bytes, std::string_view source);
    // Writes every controller to the path through a temporary file renamed over it, so a failed save
    // leaves the previous file whole. False (with a WARNING trace line) when anything failed.
    bool save(std::string_view path) const;

private:
    uint32_t findOrCreate(std::string_view name);

    std::vector<std::unique_ptr<Controller>> controllers_;
    std::vector<bool> requested_, fromFile_;  // parallel to controllers_
};

}  // namespace zelFramework
