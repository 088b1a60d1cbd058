// Feeds arbitrary bytes to the MIDI reader and the trigger conversion. Any outcome but a MidiError or
// a well-formed file (ticks beside every event, a tempo track of set-tempo events only) is a fault.
#include <cstdlib>

#include "sync/midi/midi_file.h"
#include "sync/midi/midi_triggers.h"

using namespace zelFramework;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MidiFile file;
    try {
        file = parseMidiFile({data, size});
    } catch (const MidiError&) {
        return 0;
    }
    if (file.tracks.empty()) std::abort();
    for (const MidiTrack& t : file.tracks)
        if (t.ticks.size() != t.events.size()) std::abort();
    for (const MidiEvent& ev : file.tracks.back().events)
        if (!ev.isSetTempo()) std::abort();
    try {
        for (const MidiNoteTrigger& trigger : midiTriggersFromMidi(file))
            if (trigger.name.rfind("MIDI-", 0) != 0) std::abort();
    } catch (const MidiError& e) {
        if (e.code() != MIDI_NOT_A_TEMPO) std::abort();
    }
    return 0;
}
