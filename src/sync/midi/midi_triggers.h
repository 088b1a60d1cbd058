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

// Every note-on and note-off of the file's note tracks, track by track in file order, timed with the
// tempo that opens the tempo track (later tempo changes are not followed). Nothing for a file with
// fewer than two tracks. Raises MidiError: the reader's codes, and MIDI_NOT_A_TEMPO when the file has
// no set-tempo event.
std::vector<MidiNoteTrigger> midiTriggersFromFile(const std::filesystem::path& path);
std::vector<MidiNoteTrigger> midiTriggersFromMidi(const MidiFile& file);

// Milliseconds of an absolute tick: trunc(tick / division * tempo / 1000) in 32-bit float. Times that
// a millisecond count cannot hold (a division of 0, or past 2^32 ms) become 0xFFFFFFFF, never reached.
uint32_t midiTickToMs(uint32_t tick, uint16_t division, uint32_t tempo);

}  // namespace zelFramework
