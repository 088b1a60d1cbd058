#include "app/music.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

#include "app/spectrum.h"
#include "app/trace.h"
#include "platform/audio_output.h"
#include "platform/platform.h"

namespace zelFramework {

class MusicStream {
public:
    std::string path;
    // What plays: read a piece at a time, so the soundtrack never sits decoded whole in memory.
    Mp3Pieces pieces;
    // The whole decode, made only when someone asks for all frames at once (the editor's waveform).
    std::unique_ptr<DecodedAudio> whole;
    // Frames handed to the device (or, without one, frames whose time has passed).
    std::atomic<uint64_t> position{0};
    std::atomic<bool> playing{false};
};

namespace {

constexpr int MIXING_RATE = 44100;

struct MusicSystem {
    std::vector<std::unique_ptr<MusicStream>> streams;
    // The stream the device plays; written under the audio lock, read on the audio thread.
    MusicStream* current = nullptr;
    std::atomic<bool> paused{false};
    bool device = false;
    // Without a device: the counter value up to which the current stream's position is accounted.
    uint64_t clockMark = 0;
    std::array<float, SPECTRUM_SIZE> spectrum{};
};

// Never destroyed: the audio thread may still be pulling frames while the process exits, and the
// show never closes its stream.
MusicSystem& music() {
    static MusicSystem* m = new MusicSystem;
    return *m;
}

bool sounding(const MusicStream* s) { return s && s->playing && !music().paused; }

// Audio thread: copy frames from the current stream, silence when there is nothing to play.
void fill(int16_t* out, int frameCount) {
    MusicSystem& m = music();
    MusicStream* s = m.current;
    int copied = 0;
    if (sounding(s)) {
        const uint64_t pos = s->position;
        const uint64_t total = s->pieces.frameCount();
        const uint64_t available = pos < total ? total - pos : 0;
        copied = int(std::min<uint64_t>(available, uint64_t(frameCount)));
        if (copied > 0) s->pieces.read(pos, size_t(copied), out);
        s->position = pos + uint64_t(copied);
        if (pos + uint64_t(copied) >= total) s->playing = false;
    }
    if (copied < frameCount) std::memset(out + copied * 2, 0, size_t(frameCount - copied) * 4);
}

// Without a device the position follows the performance counter instead of the device's pulls.
void advanceByClock() {
    MusicSystem& m = music();
    const uint64_t now = performanceCounter();
    MusicStream* s = m.current;
    if (!m.device && sounding(s)) {
        const uint64_t elapsed = now - m.clockMark;
        const uint64_t frames = elapsed * uint64_t(s->pieces.rate()) / performanceFrequency();
        if (frames > 0) {
            const uint64_t total = s->pieces.frameCount();
            const uint64_t pos = std::min<uint64_t>(s->position + frames, total);
            s->position = pos;
            if (pos >= total) s->playing = false;
            // Keep the remainder of a frame for the next call, so the position never drifts.
            m.clockMark += frames * performanceFrequency() / uint64_t(s->pieces.rate());
        }
        return;
    }
    m.clockMark = now;
}

// Switches the device to the stream's rate (SDL converts for the hardware) and makes it current.
void makeCurrent(MusicStream* s) {
    MusicSystem& m = music();
    if (m.device && audioOutputRate() != s->pieces.rate()) {
        m.device = openAudioOutput(s->pieces.rate(), fill);
        if (!m.device) trace(TRACE_WARNING, "music", "audio device lost: %s", audioOutputError().c_str());
    }
    lockAudioOutput();
    m.current = s;
    unlockAudioOutput();
}

bool known(MusicStream* s) {
    if (!s) return false;
    for (const auto& owned : music().streams)
        if (owned.get() == s) return true;
    return false;
}

}  // namespace

bool musicStartup() {
    MusicSystem& m = music();
    if (m.device) return true;
    m.device = openAudioOutput(MIXING_RATE, fill);
    if (!m.device) trace(TRACE_INFO, "music", "no audio device, the music plays silently (%s)", audioOutputError().c_str());
    return m.device;
}

void musicShutdown() {
    MusicSystem& m = music();
    quitAudioOutput();
    m.device = false;
    m.current = nullptr;
    m.paused = false;
    m.streams.clear();
}

bool musicHasDevice() { return music().device; }

MusicStream* musicOpenStream(const std::string& name) {
    auto stream = std::make_unique<MusicStream>();
    stream->path = nativePath(name).string();
    std::string error;
    if (!stream->pieces.open(stream->path, error)) {
        trace(TRACE_WARNING, "music", "unable to open %s: %s; the show runs silent", name.c_str(), error.c_str());
        return nullptr;
    }
    music().streams.push_back(std::move(stream));
    return music().streams.back().get();
}

void musicCloseStream(MusicStream* s) {
    if (!known(s)) return;
    MusicSystem& m = music();
    lockAudioOutput();
    if (m.current == s) m.current = nullptr;
    unlockAudioOutput();
    std::erase_if(m.streams, [s](const auto& owned) { return owned.get() == s; });
}

MusicState openSoundtrack(const std::string& name) {
    musicStartup();
    MusicState state;
    state.stream = musicOpenStream(name);
    state.valid = state.stream != nullptr;
    return state;
}

void musicPlay(MusicStream* s) {
    if (!known(s)) return;
    advanceByClock();
    makeCurrent(s);
    music().clockMark = performanceCounter();
    s->playing = s->position < s->pieces.frameCount();
}

void musicStop(MusicStream* s) {
    if (!known(s)) return;
    advanceByClock();
    lockAudioOutput();
    s->playing = false;
    s->position = 0;
    unlockAudioOutput();
}

void musicSetPausedAll(bool paused) {
    advanceByClock();
    music().paused = paused;
    music().clockMark = performanceCounter();
}

bool musicPausedAll() { return music().paused; }

uint32_t musicGetTime(MusicStream* s) {
    if (!known(s) || s->pieces.rate() <= 0) return 0;
    advanceByClock();
    return uint32_t(s->position * 1000 / uint64_t(s->pieces.rate()));
}

void musicSetTime(MusicStream* s, uint32_t milliseconds) {
    if (!known(s)) return;
    advanceByClock();
    const uint64_t frame = std::min<uint64_t>(uint64_t(milliseconds) * uint64_t(s->pieces.rate()) / 1000,
                                              s->pieces.frameCount());
    lockAudioOutput();
    s->position = frame;
    unlockAudioOutput();
    music().clockMark = performanceCounter();
}

bool musicIsPlaying(MusicStream* s) {
    if (!known(s)) return false;
    advanceByClock();
    return s->playing;
}

const float* musicSpectrum() {
    MusicSystem& m = music();
    advanceByClock();
    MusicStream* s = m.current;
    if (sounding(s)) {
        const uint64_t pos = s->position;
        const uint64_t first = pos > uint64_t(2 * SPECTRUM_SIZE) ? pos - uint64_t(2 * SPECTRUM_SIZE) : 0;
        // The analysed frames as the whole decode holds them: silence past the end.
        std::array<int16_t, 4 * SPECTRUM_SIZE> frames;
        s->pieces.read(first, 2 * SPECTRUM_SIZE, frames.data());
        computeSpectrum(frames.data(), 2 * SPECTRUM_SIZE, 0, m.spectrum.data());
    } else {
        m.spectrum.fill(0.0f);
    }
    return m.spectrum.data();
}

uint64_t musicFrameCount(MusicStream* s) { return known(s) ? s->pieces.frameCount() : 0; }

int musicRate(MusicStream* s) { return known(s) ? s->pieces.rate() : 0; }

const DecodedAudio* musicAudio(MusicStream* s) {
    if (!known(s)) return nullptr;
    if (!s->whole) {
        auto audio = std::make_unique<DecodedAudio>();
        std::string error;
        if (!decodeMp3File(s->path, *audio, error)) {
            trace(TRACE_WARNING, "music", "unable to decode %s again: %s", s->path.c_str(), error.c_str());
            return nullptr;
        }
        s->whole = std::move(audio);
    }
    return s->whole.get();
}

}  // namespace zelFramework
