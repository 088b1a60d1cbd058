#include "runtime/music_bridge.h"

#include "app/music.h"

namespace zelFramework {

bool showMusicHasStream(const MusicState* music) { return music && music->stream; }

bool showMusicPaused(const MusicState* music) { return showMusicHasStream(music) && musicPausedAll(); }

void showMusicResume(MusicState* music) {
    if (showMusicHasStream(music)) musicSetPausedAll(false);
}

void showMusicPlay(MusicState* music) {
    if (showMusicHasStream(music)) musicPlay(music->stream);
}

void showMusicSeek(MusicState* music, uint32_t ms) {
    if (showMusicHasStream(music)) musicSetTime(music->stream, ms);
}

void showMusicStop(MusicState* music) {
    if (showMusicHasStream(music)) musicStop(music->stream);
}

uint32_t showMusicPositionMs(MusicState* music) { return showMusicHasStream(music) ? musicGetTime(music->stream) : 0; }

const float* showMusicSpectrum(MusicState* music) {
    if (!music || !music->valid) return nullptr;
    music->spectrum = musicSpectrum();
    return music->spectrum;
}

}  // namespace zelFramework
