// The few music operations the runtime makes, each safe on a missing record or stream.
#pragma once

#include <cstdint>

namespace zelFramework {

struct MusicState;

bool musicHasStream(const MusicState* music);
bool musicIsPaused(MusicState* music);
void musicResume(MusicState* music);
void musicPlay(MusicState* music);
void musicSeek(MusicState* music, uint32_t ms);
void musicStop(MusicState* music);
uint32_t musicPositionMs(MusicState* music);
// The spectrum at the play position, kept in the record too; null unless the record is valid.
const float* musicSpectrum(MusicState* music);

}  // namespace zelFramework
