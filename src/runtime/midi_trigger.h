// A MIDI note event turned into a timed cue for the layers.
#pragma once

#include <cstdint>
#include <string>

namespace zelFramework {

struct MidiTrigger {
    std::string name;    // "MIDI-" followed by the note name, e.g. "MIDI-C#5"
    uint32_t timeMs = 0; // show time of the event
    bool noteOn = false; // true for a note-on (also with velocity 0), false for a note-off
};

}  // namespace zelFramework
