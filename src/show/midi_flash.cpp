#include "show/midi_flash.h"

#include <algorithm>
#include <cmath>

namespace zelFramework {

int midiPitchClass(std::string_view name) {
    static constexpr std::string_view PREFIX = "MIDI-";
    if (name.substr(0, PREFIX.size()) != PREFIX) return -1;
    name.remove_prefix(PREFIX.size());
    static constexpr std::string_view LETTERS = "C?D?EF?G?A?B";
    const size_t letter = name.empty() ? std::string_view::npos : LETTERS.find(name[0]);
    if (letter == std::string_view::npos || name[0] == '?') return -1;
    const bool sharp = name.size() > 1 && name[1] == '#';
    return int(letter) + (sharp ? 1 : 0);
}

void MidiFlash::noteOn(std::string_view triggerName, float time) {
    const int pitch = midiPitchClass(triggerName);
    if (pitch >= 0 && pitch < MIDI_PITCH_CLASSES) lastNote[size_t(pitch)] = time;
}

float MidiFlash::column(int pitchClass, float time) const {
    if (pitchClass < 0 || pitchClass >= MIDI_PITCH_CLASSES) return 0.0f;
    const float start = lastNote[size_t(pitchClass)];
    const float age = time - start;
    if (start < 0.0f || !(age >= 0.0f) || age >= MIDI_FLASH_SECONDS) return 0.0f;
    const float left = 1.0f - age / MIDI_FLASH_SECONDS;
    return left * left;  // a quick fall after the attack
}

float MidiFlash::strongest(float time) const {
    float s = 0.0f;
    for (int p = 0; p < MIDI_PITCH_CLASSES; ++p) s = std::max(s, column(p, time));
    return s;
}

FlashColour midiPitchColour(int pitchClass) {
    // Hue in sixths of the wheel (0 red, 2 green, 4 blue), fully saturated.
    const float h = float(((pitchClass % MIDI_PITCH_CLASSES) + MIDI_PITCH_CLASSES) % MIDI_PITCH_CLASSES) / 2.0f;
    return {std::clamp(std::fabs(h - 3.0f) - 1.0f, 0.0f, 1.0f), std::clamp(2.0f - std::fabs(h - 2.0f), 0.0f, 1.0f),
            std::clamp(2.0f - std::fabs(h - 4.0f), 0.0f, 1.0f)};
}

}  // namespace zelFramework
