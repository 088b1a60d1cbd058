// The scrambled copy of a shader file (see shader_scramble.h for the key).
#include "gl/shader_scramble.h"

namespace zelFramework {

uint8_t shaderScrambleKeyByte(size_t index, size_t keyLength) {
    return uint8_t((37u * index + 101u * keyLength + 59u) % 256u);
}

void scrambleShaderText(uint8_t* bytes, size_t length) {
    size_t keyLength = 10 + length % 10;
    uint8_t key[19];
    for (size_t i = 0; i < keyLength; ++i)
        key[i] = shaderScrambleKeyByte(i, keyLength);
    for (size_t j = 0; j < length; ++j)
        bytes[j] ^= key[j % keyLength];
}

}  // namespace zelFramework
