#include "sync/midi/midi_triggers.h"

#include <cmath>

namespace zelFramework {

uint32_t midiTickToMs(uint32_t tick, uint16_t division, uint32_t tempo) {
    const float ms = float(tick) / float(division) * float(tempo) / 1000.0f;
    // Converting a float outside the range of uint32 is undefined: keep such times out of reach.
    if (!(ms >= 0.0f) || ms >= 4294967296.0f) return 0xFFFFFFFFu;
    return uint32_t(ms);
}

std::vector<MidiNoteTrigger> midiTriggersFromMidi(const MidiFile& file) {
    std::vector<MidiNoteTrigger> triggers;
    if (file.tracks.size() < 2) return triggers;
    const MidiTrack& tempoTrack = file.tracks.back();
    if (tempoTrack.events.empty() || !tempoTrack.events.front().isSetTempo()) throw MidiError(MIDI_NOT_A_TEMPO);
    const uint32_t tempo = tempoTrack.events.front().tempo;

    for (size_t t = 0; t + 1 < file.tracks.size(); ++t) {
        uint32_t tick = 0;
        for (const MidiEvent& ev : file.tracks[t].events) {
            tick += ev.delta;
            const uint8_t kind = ev.status & 0xF0;
            if (ev.status < 0x80 || ev.status >= 0xF0 || (kind != 0x80 && kind != 0x90)) continue;
            triggers.push_back({"MIDI-" + midiNoteName(ev.data1), midiTickToMs(tick, file.division, tempo),
                                kind == 0x90});
        }
    }
    return triggers;
}

std::vector<MidiNoteTrigger> midiTriggersFromFile(const std::filesystem::path& path) {
    return midiTriggersFromMidi(readMidiFile(path));
}

}  // namespace zelFramework
