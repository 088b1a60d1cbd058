#pragma once
// The instruments of the soundtrack. Each call renders one hit or note into the mix at a show time in
// seconds; `gain` is the note's level before the mix is normalised.
#include <vector>

#include "mix.h"

namespace zelFramework::music {

// Drums.
void kick(Mix& mix, double t, float gain);
void snare(Mix& mix, double t, float gain, unsigned seed);
void hat(Mix& mix, double t, float gain, bool open, unsigned seed);
void crash(Mix& mix, double t, float gain, unsigned seed);
// A camera-flash accent: boom, snare crack and a short crash together.
void impact(Mix& mix, double t, float gain, unsigned seed);
// Noise swept from low to high between t0 and t1, growing louder: the classic build-up riser.
void riser(Mix& mix, double t0, double t1, float gain, unsigned seed);

// Pitched voices; notes are MIDI numbers (69 = A 440 Hz).
void bass(Mix& mix, double t, double length, float note, float gain, float brightness);
void pad(Mix& mix, double t, double length, const std::vector<float>& notes, float gain, float brightness);
void lead(Mix& mix, double t, double length, float note, float gain, float pan);
void bell(Mix& mix, double t, float note, float gain, float pan);

}  // namespace zelFramework::music
