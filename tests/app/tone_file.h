// A soundtrack for tests: a stereo 16-bit sine written as a WAV file and encoded to MP3 by lame.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvotest {

constexpr int TONE_RATE = 44100;

// Writes `seconds` of a sine of `hz` at `amplitude` of full scale next to `mp3` and encodes it there;
// true when the MP3 exists.
inline bool writeToneMp3(const std::filesystem::path& mp3, int seconds, double hz, double amplitude) {
    const std::filesystem::path wav = mp3.parent_path() / (mp3.stem().string() + ".wav");
    {
        std::ofstream f(wav, std::ios::binary);
        auto put = [&f](uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i) f.put(char((v >> (8 * i)) & 0xFF));
        };
        const uint32_t frames = uint32_t(TONE_RATE * seconds), bytes = frames * 4;
        f.write("RIFF", 4), put(36 + bytes, 4), f.write("WAVEfmt ", 8), put(16, 4), put(1, 2), put(2, 2);
        put(TONE_RATE, 4), put(TONE_RATE * 4, 4), put(4, 2), put(16, 2), f.write("data", 4), put(bytes, 4);
        for (uint32_t i = 0; i < frames; ++i) {
            const double s = amplitude * 32767.0 * std::sin(2.0 * M_PI * hz * i / TONE_RATE);
            const auto sample = uint16_t(int16_t(std::lround(s)));
            put(sample, 2), put(sample, 2);
        }
    }
    const std::string cmd = "lame --quiet -b 128 '" + wav.string() + "' '" + mp3.string() + "'";
    return std::system(cmd.c_str()) == 0 && std::filesystem::exists(mp3);
}

}  // namespace orvotest
