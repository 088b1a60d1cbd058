// The process-wide runtime record: the layer registry, the schedule, the MIDI triggers, the show
// clock and the shared objects, with the operations that fill and query it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/layer_base.h"
#include "runtime/loading_screen.h"
#include "runtime/midi_trigger.h"
#include "platform/native_window.h"

namespace zelFramework {

class ControllerSet;
class GL_TextureManager;
class ShowEditor;
class ShowWatcher;
struct MusicState;

enum class RuntimeState : uint32_t { NotReady = 0, Ready = 1, Playing = 2, Paused = 3, Quit = 4 };

constexpr uint32_t SLOT_COUNT = 128;
constexpr uint32_t FRAME_TIME_SAMPLES = 250;
constexpr uint32_t NO_START = 0xFFFFFFFFu;

struct LayerRegistration {
    Layer_Base* layer = nullptr;  // owned by the runtime from registration to shutdown
    std::string name;
    std::string passName;  // "layer:" and the name: the layer's drawing as the benchmark's --passes times it
};

// One span of show time in which a layer draws at a slot; both ends inclusive.
struct ScheduleEntry {
    Layer_Base* layer = nullptr;  // not owned
    uint32_t slot = 0;            // 0..127, lower draws first
    uint32_t startMs = 0;
    uint32_t endMs = 0;
};

// Where playback begins and ends when the viewer asks for part of the show (--from, --to); the
// defaults play the whole schedule from its earliest start.
struct PlaybackSpan {
    bool hasFrom = false;
    double fromSeconds = 0.0;
    uint32_t toMs = 0xFFFFFFFFu;
    // A loop (--loop, or the editor's loop key): past loopToMs the show and its music go back to
    // loopFromMs.
    bool loop = false;
    uint32_t loopFromMs = 0, loopToMs = 0;
};

// Loops the span from `from` to `to` seconds (nothing when `to` is not after `from`).
void setPlaybackLoop(PlaybackSpan& span, double from, double to);

struct ShowRuntime {
    ShowRuntime();

    RuntimeState state = RuntimeState::NotReady;
    std::vector<LayerRegistration> registry;
    std::vector<ScheduleEntry> schedule;
    std::vector<MidiTrigger> triggers;
    // The show time is startOffset + playTime seconds. While the show plays, playTime is not summed
    // from frame deltas but counted: the counter ticks since it was last set (by a seek, a loop or a
    // pause) over the counter's frequency, so frame k of a step clock is exactly k / fps after it.
    double startOffset = 0.0;
    int64_t counterFrequency = 0, counterStart = 0, counterNow = 0;
    double lastElapsed = 0.0, playTime = 0.0;
    float frameDelta = 0.0f;
    struct PlayCount {
        bool counting = false;
        int64_t fromCounter = 0;  // the counter when playTime was `fromTime`
        double fromTime = 0.0;
        double lastTime = 0.0;    // what the count gave last: any other playTime was set from outside
        double frameStart = 0.0;  // playTime at the previous frame's counter, for the triggers' window
    } playCount;
    std::array<ScheduleEntry*, SLOT_COUNT> activeSlots{};
    ControllerSet* controllers = nullptr;
    GL_TextureManager* textures = nullptr;  // owned
    MusicState* music = nullptr;
    uint32_t minStartMs = NO_START;
    uint32_t maxEndMs = 0;
    std::array<float, FRAME_TIME_SAMPLES> frameTimes{};
    uint32_t frameTimeCount = 0;
    ShowEditor* editor = nullptr;  // owned
    ShowWatcher* watcher = nullptr;  // owned; set only when the show reloads changed files
    WindowHandle window = nullptr;
    LoadingScreen loadingScreen;
    int32_t fpsFrames = 0;
    float fpsTime = 0.0f;
    int32_t fps = 0;
    PlaybackSpan span;
};

// The one runtime of the process.
ShowRuntime& runtime();

// Appends a registration; the runtime owns the layer from now on. Nothing is checked.
void registerLayer(Layer_Base* layer, const std::string& name);
// The layer of the first registration with exactly this name, or null.
Layer_Base* findLayer(const std::string& name);
// Adds a schedule entry for a registered layer. False, with nothing changed, after loading, for an
// unknown name, for a slot outside 0..127 and for an entry that ends before it starts.
bool scheduleLayer(const std::string& name, uint32_t slot, uint32_t startMs, uint32_t endMs);
// Creates the texture manager, keeps the controller set and the music, loads the sync data.
bool initRuntime(ControllerSet* controllers, MusicState* music);
// Initialises every layer behind the loading screen; the runtime becomes Ready when all succeeded.
void loadShow(WindowHandle window);
// Plays the show to its end or to a quit request, then releases every layer and the shared tools.
void runShow(WindowHandle window);
// Stops the music and marks the runtime quit.
void stopShow();
// Hands a window message to the editor, then to every layer active in the last drawn frame.
void broadcastMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

}  // namespace zelFramework
