// The MIDI reader's one error type, carrying the code of what went wrong.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace zelFramework {

enum MidiErrorCode : uint32_t {
    MIDI_CANNOT_OPEN = 0,
    MIDI_BAD_HEADER_READ = 1,
    MIDI_NOT_MIDI = 2,          // neither "MThd" nor "RIFF"
    MIDI_BAD_HEADER_LENGTH = 3, // header length other than 6
    MIDI_FORMAT_2 = 4,
    MIDI_FORMAT_0_TRACKS = 5,   // format 0 with a track count other than 1
    MIDI_SMPTE_DIVISION = 6,
    MIDI_BAD_CHUNK_READ = 7,    // a chunk's identifier and length cannot be read
    MIDI_NOT_A_TRACK = 8,       // a chunk other than "MTrk"
    MIDI_TRACK_CUT_SHORT = 9,   // fewer bytes than the chunk's length
    MIDI_SHORT_TEMPO = 11,      // set-tempo with fewer than 3 data bytes
    MIDI_NO_STATUS = 12,        // a data byte with no status to borrow
    MIDI_UNKNOWN_META = 13,
    MIDI_NOT_A_TEMPO = 26,      // the tempo track does not start with a set-tempo event
};

// The words for a code ("not a MIDI file").
const char* midiErrorText(MidiErrorCode code);

// Every failure of the reader and of the trigger conversion is raised as this one type. what() gives
// the code's words, followed by the detail when there is one ("MIDI file cannot be opened: it is a
// folder, not a file").
class MidiError : public std::exception {
public:
    explicit MidiError(MidiErrorCode code, const std::string& detail = {});
    MidiErrorCode code() const { return code_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    MidiErrorCode code_;
    std::string message_;
};

}  // namespace zelFramework
