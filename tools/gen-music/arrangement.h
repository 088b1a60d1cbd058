#pragma once
// Writes the whole soundtrack into a mix: which instruments play what, section by section.
#include "mix.h"

namespace zelFramework::music {

// Renders every section into `mix` (which must hold at least kSongSeconds) and finishes the mix.
void composeSoundtrack(Mix& mix);

// The harmony: four chords in F minor (Fm, Db, Ab, Eb), as MIDI notes.
const std::vector<float>& chordVoicing(int chord);
float chordRoot(int chord);  // bass register
// Which chord sounds at a beat in the driving sections (two bars per chord, the drop on Fm).
int drivingChordAt(long beat);

}  // namespace zelFramework::music
