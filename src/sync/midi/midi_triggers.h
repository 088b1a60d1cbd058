// Turning a MIDI file's notes into timed triggers for the layers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "sync/midi/midi_file.h"

namespace zelFramework {

// One note-on or note-off at a show time; the runtime copies these into its trigger list.
struct MidiNoteTrigger {
    std::string name;     // "MIDI-" followed by the note name, e.g. "MIDI-C#5"
    uint32_t timeMs = 0;  // show time in milliseconds
    bool noteOn = false;  // true for a note-on (velocity 0 included), false for a note-off
};

// Microseconds per quarter note of a file without a set-tempo event: 120 beats per minute.
constexpr uint32_t MIDI_DEFAULT_TEMPO = 500000;

// Show milliseconds of a file's ticks, following every tempo change of its tempo track; before the
// first set-tempo event (and in a file without one) the tempo is MIDI_DEFAULT_TEMPO. Ticks under the
// opening tempo get the single-precision times of midiTickToMs.
class MidiTempoMap {
public:
    // Raises MIDI_NOT_A_TEMPO when the tempo track holds another kind of event.
    explicit MidiTempoMap(const MidiFile& file);
    uint32_t ms(uint32_t tick) const;

private:
    struct Segment {
        uint32_t tick;   // where this tempo starts
        uint32_t tempo;  // microseconds per quarter note
        double startUs;  // time of `tick`
    };
    std::vector<Segment> segments_;
    uint16_t division_;
};

// Every note-on and note-off of the file's note tracks, track by track in file order, timed by the
// file's tempo map. Nothing for a file with fewer than two tracks. Raises MidiError with the
// reader's codes.
std::vector<MidiNoteTrigger> midiTriggersFromFile(const std::filesystem::path& path);
std::vector<MidiNoteTrigger> midiTriggersFromMidi(const MidiFile& file);

// Milliseconds of an absolute tick: trunc(tick / division * tempo / 1000) in 32-bit float. Times that
// a millisecond count cannot hold (a division of 0, or past 2^32 ms) become 0xFFFFFFFF, never reached.
uint32_t midiTickToMs(uint32_t tick, uint16_t division, uint32_t tempo);

}  // namespace zelFramework
