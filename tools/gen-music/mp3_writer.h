#pragma once
// Encodes the finished mix to MP3 with LAME: constant 192 kbit/s joint stereo with an Info (gapless) tag and
// no ID3 tag, so the same samples always give the same bytes and decoders start exactly on sample 0.
#include <string>

#include "mix.h"

namespace zelFramework::music {

bool writeMp3(const std::string& path, const Mix& mix);
// 16-bit PCM WAV of the same mix, for listening and measuring without the encoder in the way.
bool writeWav(const std::string& path, const Mix& mix);

}  // namespace zelFramework::music
