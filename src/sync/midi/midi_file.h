// Standard MIDI files (and their RIFF "RMID" wrapping) read into tracks of events, with every
// set-tempo event moved into one tempo track after the file's own tracks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <span>
#include <vector>

#include "sync/midi/midi_error.h"

namespace zelFramework {

enum : uint8_t { MIDI_META = 0xFF, MIDI_META_SET_TEMPO = 0x51 };

struct MidiEvent {
    uint8_t status = 0;   // 0x80-0xEF channel message, 0xF0-0xFE system, 0xFF meta
    uint8_t data1 = 0;    // note events: the key
    uint8_t data2 = 0;    // note events: the velocity
    uint32_t delta = 0;   // ticks since the previous event of the track
    uint8_t metaType = 0;
    uint32_t tempo = 0;   // set-tempo: microseconds per quarter note
    std::string text;     // meta types 1 to 9

    bool isSetTempo() const { return status == MIDI_META && metaType == MIDI_META_SET_TEMPO; }
};

struct MidiTrack {
    std::vector<MidiEvent> events;
    std::vector<uint32_t> ticks;  // absolute tick of each event
};

struct MidiFile {
    uint16_t format = 0;
    uint16_t division = 0;  // ticks per quarter note
    std::vector<MidiTrack> tracks;  // the file's tracks, then the tempo track
};

// The largest file the reader takes: songs are a few hundred kilobytes at most.
constexpr uint64_t MIDI_FILE_LIMIT = uint64_t(64) << 20;

// Reads a whole file; raises MidiError on any failure, returning nothing partial.
MidiFile readMidiFile(const std::filesystem::path& path);
// The same from bytes in memory.
MidiFile parseMidiFile(std::span<const uint8_t> bytes);

// Moves every set-tempo event of the file's tracks into a tempo track appended after them.
void separateTempoTrack(MidiFile& file);

// "C5" for key 60: pitch name, then key / 12 as the octave.
std::string midiNoteName(uint8_t key);

}  // namespace zelFramework
