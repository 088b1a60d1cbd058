#include "sync/midi/midi_triggers.h"

#include <algorithm>
#include <cmath>

namespace zelFramework {

uint32_t midiTickToMs(uint32_t tick, uint16_t division, uint32_t tempo) {
    const float ms = float(tick) / float(division) * float(tempo) / 1000.0f;
    // Converting a float outside the range of uint32 is undefined: keep such times out of reach.
    if (!(ms >= 0.0f) || ms >= 4294967296.0f) return 0xFFFFFFFFu;
    return uint32_t(ms);
}

MidiTempoMap::MidiTempoMap(const MidiFile& file) : division_(file.division) {
    segments_.push_back({0, MIDI_DEFAULT_TEMPO, 0.0});
    if (file.tracks.empty()) return;
    const MidiTrack& tempoTrack = file.tracks.back();
    for (size_t i = 0; i < tempoTrack.events.size() && i < tempoTrack.ticks.size(); ++i) {
        const MidiEvent& ev = tempoTrack.events[i];
        if (!ev.isSetTempo()) throw MidiError(MIDI_NOT_A_TEMPO);
        const uint32_t tick = tempoTrack.ticks[i];
        Segment& last = segments_.back();
        if (tick <= last.tick) {
            last.tempo = ev.tempo;  // a tempo at tick 0 replaces the default
            continue;
        }
        const double startUs = last.startUs + double(tick - last.tick) * double(last.tempo) / double(division_);
        segments_.push_back({tick, ev.tempo, startUs});
    }
}

uint32_t MidiTempoMap::ms(uint32_t tick) const {
    const auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                        [](uint32_t t, const Segment& s) { return t < s.tick; });
    const Segment& s = *(after - 1);
    // The opening tempo keeps the single-precision times of a file with one tempo.
    if (s.tick == 0) return midiTickToMs(tick, division_, s.tempo);
    const double ms = (s.startUs + double(tick - s.tick) * double(s.tempo) / double(division_)) / 1000.0;
    if (!(ms >= 0.0) || ms >= 4294967296.0) return 0xFFFFFFFFu;
    return uint32_t(ms);
}

std::vector<MidiNoteTrigger> midiTriggersFromMidi(const MidiFile& file) {
    std::vector<MidiNoteTrigger> triggers;
    if (file.tracks.size() < 2) return triggers;
    const MidiTempoMap tempo(file);
    for (size_t t = 0; t + 1 < file.tracks.size(); ++t) {
        uint32_t tick = 0;
        for (const MidiEvent& ev : file.tracks[t].events) {
            tick += ev.delta;
            const uint8_t kind = ev.status & 0xF0;
            if (ev.status < 0x80 || ev.status >= 0xF0 || (kind != 0x80 && kind != 0x90)) continue;
            triggers.push_back({"MIDI-" + midiNoteName(ev.data1), tempo.ms(tick), kind == 0x90});
        }
    }
    return triggers;
}

std::vector<MidiNoteTrigger> midiTriggersFromFile(const std::filesystem::path& path) {
    return midiTriggersFromMidi(readMidiFile(path));
}

}  // namespace zelFramework
