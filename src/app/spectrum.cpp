#include "app/spectrum.h"

#include <kiss_fftr.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace zelFramework {

namespace {

constexpr int FFT_SIZE = 2 * SPECTRUM_SIZE;

struct Analyser {
    kiss_fftr_cfg config = kiss_fftr_alloc(FFT_SIZE, 0, nullptr, nullptr);
    std::array<float, FFT_SIZE> window{};
    float windowSum = 0.0f;
    Analyser() {
        for (int i = 0; i < FFT_SIZE; ++i) {
            window[size_t(i)] = 0.5f - 0.5f * std::cos(2.0f * float(M_PI) * float(i) / float(FFT_SIZE - 1));
            windowSum += window[size_t(i)];
        }
    }
    ~Analyser() { kiss_fftr_free(config); }
    Analyser(const Analyser&) = delete;
    Analyser& operator=(const Analyser&) = delete;
};

}  // namespace

void computeSpectrum(const int16_t* frames, size_t frameCount, size_t firstFrame, float* out) {
    // Only the program thread asks for spectra.
    static Analyser analyser;
    std::array<float, FFT_SIZE> input{};
    for (size_t i = 0; i < size_t(FFT_SIZE); ++i) {
        const size_t frame = firstFrame + i;
        if (!frames || frame >= frameCount) break;
        const float mono = (float(frames[frame * 2]) + float(frames[frame * 2 + 1])) * (0.5f / 32768.0f);
        input[i] = mono * analyser.window[i];
    }
    std::array<kiss_fft_cpx, FFT_SIZE / 2 + 1> bins{};
    kiss_fftr(analyser.config, input.data(), bins.data());
    // A sine of amplitude A puts A * windowSum / 2 into its bin.
    const float scale = 2.0f / analyser.windowSum;
    for (int k = 0; k < SPECTRUM_SIZE; ++k) {
        const float magnitude = std::hypot(bins[size_t(k)].r, bins[size_t(k)].i) * scale;
        out[k] = std::clamp(magnitude, 0.0f, 1.0f);
    }
}

}  // namespace zelFramework
