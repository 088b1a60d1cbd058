// Decodes a whole MP3 file into 16-bit interleaved stereo frames. The music plays from these frames,
// and the editor draws its waveform from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelFramework {

struct DecodedAudio {
    int rate = 0;                  // frames per second
    std::vector<int16_t> samples;  // left, right, left, right, ...
    size_t frameCount() const { return samples.size() / 2; }
    const int16_t* frames() const { return samples.data(); }  // 4-byte frames
};

// False (with a reason) when the file cannot be opened or holds no decodable audio. A file that
// breaks off part-way keeps what decoded before the break.
bool decodeMp3File(const std::string& path, DecodedAudio& out, std::string& error);

}  // namespace zelFramework
