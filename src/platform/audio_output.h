// The one audio device of the show: 16-bit stereo frames pulled by a fill function on the device's
// own thread. Without a device (none present, or SDL_AUDIODRIVER names none that works) opening
// fails and the caller keeps time by itself.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zelFramework {

// Writes frameCount interleaved stereo frames (2 x int16 each). Runs on the audio thread.
using AudioFill = std::function<void(int16_t* frames, int frameCount)>;

// Opens (or re-opens at a new rate) the device and starts pulling. False without a device; the reason
// is in audioOutputError().
bool openAudioOutput(int rate, AudioFill fill);
void closeAudioOutput();
// Closes the device and lets go of the audio system, so the next open chooses its driver afresh.
void quitAudioOutput();
bool audioOutputIsOpen();
int audioOutputRate();
const std::string& audioOutputError();

// Holds the audio thread out of the fill function while the caller changes what it reads.
void lockAudioOutput();
void unlockAudioOutput();

}  // namespace zelFramework
