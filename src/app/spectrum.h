// The music spectrum the layers animate by: 512 magnitudes in 0..1 of the frames at a position.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelFramework {

constexpr int SPECTRUM_SIZE = 512;

// Analyses the 2 x SPECTRUM_SIZE frames starting at firstFrame (mixed to mono, Hann-windowed; frames
// past the end count as silence). Bin k covers k * rate / 1024 Hz; a full-scale sine gives about 1 in
// its bin. Writes SPECTRUM_SIZE values, each clamped to 0..1.
void computeSpectrum(const int16_t* frames, size_t frameCount, size_t firstFrame, float* out);

}  // namespace zelFramework
