#include "sync/controller_set.h"

namespace zelFramework {

uint32_t ControllerSet::findOrCreate(std::string_view name) {
    for (size_t i = 0; i < controllers_.size(); ++i)
        if (controllers_[i]->name == name) return uint32_t(i);
    controllers_.push_back(std::make_unique<Controller>());
    controllers_.back()->name = std::string(name);
    requested_.push_back(false);
    fromFile_.push_back(false);
    return uint32_t(controllers_.size() - 1);
}

Controller* ControllerSet::get(std::string_view name) {
    const uint32_t index = findOrCreate(name);
    requested_[index] = true;
    return controllers_[index].get();
}

Controller* ControllerSet::getForFile(std::string_view name) {
    const uint32_t index = findOrCreate(name);
    fromFile_[index] = true;
    return controllers_[index].get();
}

void ControllerSet::update(float seconds) {
    for (const auto& c : controllers_) c->update(seconds);
}

Controller* ControllerSet::at(uint32_t index) const {
    return index < controllers_.size() ? controllers_[index].get() : nullptr;
}

std::string ControllerSet::nameAt(uint32_t index) const {
    // An invalid index is a caller's fault; an empty name is safer than reading past the array.
    return index < controllers_.size() ? controllers_[index]->name : std::string();
}

}  // namespace zelFramework
