// The small number field of the editor: a value or a time typed for the selected keys. Only the
// characters of a decimal number are taken; Enter applies it, Delete or a click drops it.
#pragma once

#include <optional>
#include <string>

namespace zelFramework {

class TypedEntry {
public:
    enum class Field { None, Value, Time };

    bool active() const { return field_ != Field::None; }
    Field field() const { return field_; }
    const std::string& text() const { return text_; }

    void begin(Field field);
    void cancel();
    // Takes a character of a number (digits, sign, point, exponent); false for anything else.
    bool type(char c);
    void erase();
    // The number typed, when the text is a whole finite number.
    std::optional<float> number() const;

private:
    Field field_ = Field::None;
    std::string text_;
};

}  // namespace zelFramework
