#include "platform/audio_output.h"

#include <SDL.h>

#include <cstring>
#include <filesystem>

namespace zelFramework {

namespace {

struct Device {
    SDL_AudioDeviceID id = 0;
    int rate = 0;
    AudioFill fill;
    std::string error;
};

// Never destroyed: an open device's thread may still call in while the process exits.
Device& device() {
    static Device* d = new Device;
    return *d;
}

void SDLCALL pull(void* user, Uint8* stream, int bytes) {
    auto* d = static_cast<Device*>(user);
    const int frames = bytes / 4;
    if (d->fill)
        d->fill(reinterpret_cast<int16_t*>(stream), frames);
    else
        std::memset(stream, 0, size_t(bytes));
}

// Without sound hardware only a sound server can play; asking ALSA anyway fills standard error (our
// debugger output) with the library's complaints before it fails.
void preferSoundServersWithoutHardware() {
    std::error_code ec;
    if (SDL_GetHint(SDL_HINT_AUDIODRIVER) || std::filesystem::exists("/dev/snd", ec)) return;
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "pulseaudio,pipewire");
}

}  // namespace

bool openAudioOutput(int rate, AudioFill fill) {
    Device& d = device();
    closeAudioOutput();
    if (!SDL_WasInit(SDL_INIT_AUDIO)) preferSoundServersWithoutHardware();
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        d.error = std::string("SDL audio: ") + SDL_GetError();
        return false;
    }
    d.fill = std::move(fill);
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;  // about 23 ms at 44.1 kHz: the position never lags far behind the ear
    want.callback = pull;
    want.userdata = &d;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants behind our back.
    d.id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (d.id == 0) {
        d.error = std::string("SDL audio device: ") + SDL_GetError();
        d.fill = nullptr;
        return false;
    }
    d.rate = rate;
    d.error.clear();
    SDL_PauseAudioDevice(d.id, 0);
    return true;
}

void closeAudioOutput() {
    Device& d = device();
    if (d.id != 0) SDL_CloseAudioDevice(d.id);
    d.id = 0;
    d.rate = 0;
    d.fill = nullptr;
}

void quitAudioOutput() {
    closeAudioOutput();
    if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool audioOutputIsOpen() { return device().id != 0; }
int audioOutputRate() { return device().rate; }
const std::string& audioOutputError() { return device().error; }

void lockAudioOutput() {
    if (device().id != 0) SDL_LockAudioDevice(device().id);
}
void unlockAudioOutput() {
    if (device().id != 0) SDL_UnlockAudioDevice(device().id);
}

}  // namespace zelFramework
