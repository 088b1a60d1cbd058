// The show's music: one soundtrack stream decoded as it plays, played through the audio device, with
// a millisecond position, pause and resume of everything, seek, stop and a spectrum per request.
// Without an audio device the stream "plays" silently and its position still runs in real time.
#pragma once

#include <cstdint>
#include <string>

#include "app/mp3_decoder.h"

namespace zelFramework {

class MusicStream;

// The process-wide music record: created at start-up, reachable through the runtime.
struct MusicState {
    const float* spectrum = nullptr;  // latest spectrum, refreshed once per frame while valid
    MusicStream* stream = nullptr;    // null when the soundtrack could not be opened
    bool valid = false;               // true only when stream is non-null
};

// Starts the audio system: 44100 Hz output, spectrum analysis available. False when there is no
// audio device; streams then play silently on their own clock.
bool musicStartup();
// Closes the device and forgets every stream's playback (tests; the show lets process exit do it).
void musicShutdown();
bool musicHasDevice();

// Opens a stream, decoding the file once to check it and learn its length; null (with one WARNING trace line naming the file and the reason) when
// the file is missing or holds no decodable audio. The name may use '\' separators.
MusicStream* musicOpenStream(const std::string& name);
// Releases a stream the show no longer needs (tests; the show never closes its stream).
void musicCloseStream(MusicStream* stream);

// Fills the record as the entry function does: spectrum null, stream and valid from the open.
MusicState openSoundtrack(const std::string& name);

// Playback begins at the stream's current position.
void musicPlay(MusicStream* stream);
// Halts the stream and rewinds it to the start.
void musicStop(MusicStream* stream);
// Pause and resume every stream at once; the position stops advancing while paused.
void musicSetPausedAll(bool paused);
bool musicPausedAll();
// Position in whole milliseconds of the frames played so far.
uint32_t musicGetTime(MusicStream* stream);
// Moves the position; past the end it is placed at the end.
void musicSetTime(MusicStream* stream, uint32_t milliseconds);
bool musicIsPlaying(MusicStream* stream);

// 512 floats in 0..1 of the frames just played; zeros while nothing sounds. The pointer stays valid
// for the life of the process; each call refreshes the values behind it.
const float* musicSpectrum();

// The stream's length in frames and its rate in frames per second; 0 for no stream.
uint64_t musicFrameCount(MusicStream* stream);
int musicRate(MusicStream* stream);

// All decoded frames at once (the editor's waveform): 4-byte stereo frames, their count and rate.
// Playback never needs them: the first call decodes the file whole and keeps it for the stream's
// life. Null (with a WARNING) when the file no longer decodes.
const DecodedAudio* musicAudio(MusicStream* stream);

}  // namespace zelFramework
