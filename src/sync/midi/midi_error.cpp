#include "sync/midi/midi_error.h"

namespace zelFramework {

const char* midiErrorText(MidiErrorCode code) {
    switch (code) {
        case MIDI_CANNOT_OPEN: return "MIDI file cannot be opened";
        case MIDI_BAD_HEADER_READ: return "MIDI header cannot be read";
        case MIDI_NOT_MIDI: return "not a MIDI file";
        case MIDI_BAD_HEADER_LENGTH: return "MIDI header length is not 6";
        case MIDI_FORMAT_2: return "MIDI format 2 is not supported";
        case MIDI_FORMAT_0_TRACKS: return "MIDI format 0 with a track count other than 1";
        case MIDI_SMPTE_DIVISION: return "MIDI time division in SMPTE frames is not supported";
        case MIDI_BAD_CHUNK_READ: return "MIDI chunk header cannot be read";
        case MIDI_NOT_A_TRACK: return "MIDI chunk is not a track";
        case MIDI_TRACK_CUT_SHORT: return "MIDI track is shorter than its length";
        case MIDI_SHORT_TEMPO: return "MIDI set-tempo event has fewer than 3 bytes";
        case MIDI_NO_STATUS: return "MIDI event without a status byte";
        case MIDI_UNKNOWN_META: return "MIDI meta event of an unknown type";
        case MIDI_NOT_A_TEMPO: return "MIDI tempo track does not start with a set-tempo event";
    }
    return "MIDI error";
}

MidiError::MidiError(MidiErrorCode code, const std::string& detail)
    : code_(code), message_(detail.empty() ? std::string(midiErrorText(code)) : midiErrorText(code) + (": " + detail)) {}

}  // namespace zelFramework
