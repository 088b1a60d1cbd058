// What the notes of a MIDI file (--midi) do to the picture: every note-on lights a column of the
// overlay for its pitch (C at the left, B at the right, each in its own colour) and a faint flash of
// the whole frame, both fading out within a fraction of a second. Without notes nothing is drawn.
#pragma once

#include <array>
#include <string_view>

namespace zelFramework {

constexpr float MIDI_FLASH_SECONDS = 0.35f;
constexpr int MIDI_PITCH_CLASSES = 12;

// 0 (C) to 11 (B) for a trigger name such as "MIDI-C#5"; -1 for a name that is no MIDI note.
int midiPitchClass(std::string_view triggerName);

struct MidiFlash {
    // Show time of the latest note-on of each pitch class; negative: none yet.
    std::array<float, MIDI_PITCH_CLASSES> lastNote;
    MidiFlash() { lastNote.fill(-1.0f); }

    void noteOn(std::string_view triggerName, float time);
    // 1 at the note-on, falling to 0 at MIDI_FLASH_SECONDS after it; 0 before any note, and for a
    // time before the note (after seeking back).
    float column(int pitchClass, float time) const;
    // The strongest column now: the strength of the whole-frame flash.
    float strongest(float time) const;
};

struct FlashColour {
    float r, g, b;
};
// The column's colour at full strength: the hue wheel in twelve steps, from red at C.
FlashColour midiPitchColour(int pitchClass);

}  // namespace zelFramework
