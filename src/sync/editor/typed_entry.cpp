#include "sync/editor/typed_entry.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace zelFramework {

namespace {
constexpr size_t MAX_LENGTH = 32;
}

void TypedEntry::begin(Field field) {
    field_ = field;
    text_.clear();
}

void TypedEntry::cancel() {
    field_ = Field::None;
    text_.clear();
}

bool TypedEntry::type(char c) {
    if (!active() || !std::strchr("0123456789.-+eE", c) || c == 0) return false;
    if (text_.size() < MAX_LENGTH) text_ += c;
    return true;
}

void TypedEntry::erase() {
    if (!text_.empty()) text_.pop_back();
}

std::optional<float> TypedEntry::number() const {
    std::string_view digits = text_;
    if (digits.starts_with('+')) digits.remove_prefix(1);  // from_chars takes no plus sign
    if (digits.empty()) return std::nullopt;
    float value = 0.0f;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace zelFramework
