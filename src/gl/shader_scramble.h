// The scrambled copy of a shader file: every byte j of a text of L bytes XORed with key byte
// (j mod K), where K = 10 + (L mod 10). Key byte i = (37 * i + 101 * K + 59) mod 256: a fixed formula
// in i and K alone that the writer and the reader share. Applying it twice gives the text back.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelFramework {

uint8_t shaderScrambleKeyByte(size_t index, size_t keyLength);
// Scrambles (or unscrambles, it is the same operation) `length` bytes in place.
void scrambleShaderText(uint8_t* bytes, size_t length);

}  // namespace zelFramework
