#include "sync/controller_set.h"

namespace zelFramework {

Controller* ControllerSet::get(std::string_view name) {
    for (const auto& c : controllers_)
        if (c->name == name) return c.get();
    controllers_.push_back(std::make_unique<Controller>());
    controllers_.back()->name = std::string(name);
    return controllers_.back().get();
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
