// The music operations the runtime makes on the show's music record; each is safe on a missing
// record or a record without a stream, so callers need not check.
#pragma once

#include <cstdint>

namespace zelFramework {

struct MusicState;

bool showMusicHasStream(const MusicState* music);
bool showMusicPaused(const MusicState* music);
void showMusicResume(MusicState* music);
void showMusicPlay(MusicState* music);
void showMusicSeek(MusicState* music, uint32_t ms);
void showMusicStop(MusicState* music);
uint32_t showMusicPositionMs(MusicState* music);
// The spectrum at the play position, kept in the record too; null unless the record is valid.
const float* showMusicSpectrum(MusicState* music);

}  // namespace zelFramework
