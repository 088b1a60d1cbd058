// Moving the set-tempo events out of the note tracks into one tempo track.
#include <algorithm>
#include <map>

#include "sync/midi/midi_file.h"

namespace zelFramework {

void separateTempoTrack(MidiFile& file) {
    // By absolute tick; of several at one tick the one met last (tracks in order, events in order) wins.
    std::map<uint32_t, MidiEvent> tempos;
    for (MidiTrack& track : file.tracks) {
        MidiTrack kept;
        uint32_t carried = 0;  // deltas of removed events, handed to the next kept event
        for (size_t i = 0; i < track.events.size(); ++i) {
            MidiEvent& ev = track.events[i];
            if (ev.isSetTempo()) {
                carried += ev.delta;
                tempos[track.ticks[i]] = ev;
                continue;
            }
            ev.delta += carried;
            carried = 0;
            kept.events.push_back(std::move(ev));
            kept.ticks.push_back(track.ticks[i]);
        }
        track = std::move(kept);
    }

    MidiTrack tempoTrack;
    uint32_t previous = 0;
    for (auto& [tick, ev] : tempos) {
        ev.delta = tick - previous;
        previous = tick;
        tempoTrack.events.push_back(ev);
        tempoTrack.ticks.push_back(tick);
    }
    file.tracks.push_back(std::move(tempoTrack));
}

}  // namespace zelFramework
