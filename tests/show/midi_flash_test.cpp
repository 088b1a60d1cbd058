// MIDI: what the notes of a --midi file do to the overlay, and that without notes nothing happens.
#include <gtest/gtest.h>

#include "show/midi_flash.h"

namespace zelFramework {
namespace {

TEST(Midi, TriggerNamesGiveTheirPitchClass) {
    EXPECT_EQ(midiPitchClass("MIDI-C5"), 0);
    EXPECT_EQ(midiPitchClass("MIDI-C#5"), 1);
    EXPECT_EQ(midiPitchClass("MIDI-E0"), 4);
    EXPECT_EQ(midiPitchClass("MIDI-A#10"), 10);
    EXPECT_EQ(midiPitchClass("MIDI-B3"), 11);
    for (const char* other : {"", "MIDI-", "MIDI-H5", "MIDI-?5", "NOTE-C5", "C5"}) EXPECT_EQ(midiPitchClass(other), -1) << other;
}

TEST(Midi, ANoteFlashesItsColumnAndFadesOut) {
    MidiFlash flash;
    for (float t : {0.0f, 10.0f, 100.0f}) EXPECT_EQ(flash.strongest(t), 0.0f);  // no note, no light

    flash.noteOn("MIDI-D5", 10.0f);
    EXPECT_EQ(flash.column(2, 10.0f), 1.0f);
    EXPECT_GT(flash.column(2, 10.1f), 0.0f);
    EXPECT_LT(flash.column(2, 10.1f), flash.column(2, 10.05f));
    EXPECT_EQ(flash.column(2, 10.0f + MIDI_FLASH_SECONDS), 0.0f);
    EXPECT_EQ(flash.column(2, 9.5f), 0.0f);  // after seeking back before the note
    EXPECT_EQ(flash.column(3, 10.0f), 0.0f);
    EXPECT_EQ(flash.strongest(10.0f), 1.0f);

    // A chord lights each of its columns; a later note of the same pitch starts its flash again.
    flash.noteOn("MIDI-F#5", 10.2f);
    flash.noteOn("MIDI-D6", 10.3f);
    EXPECT_EQ(flash.column(2, 10.3f), 1.0f);
    EXPECT_GT(flash.column(6, 10.3f), 0.0f);
    flash.noteOn("not a note", 11.0f);
    EXPECT_EQ(flash.strongest(11.0f), 0.0f);
}

TEST(Midi, EveryPitchHasItsOwnSaturatedColour) {
    const FlashColour c = midiPitchColour(0), g = midiPitchColour(4), e = midiPitchColour(8);
    EXPECT_EQ(c.r, 1.0f);
    EXPECT_EQ(c.g, 0.0f);
    EXPECT_EQ(g.g, 1.0f);
    EXPECT_EQ(e.b, 1.0f);
    for (int p = 0; p < MIDI_PITCH_CLASSES; ++p) {
        const FlashColour k = midiPitchColour(p);
        EXPECT_EQ(std::max({k.r, k.g, k.b}), 1.0f) << p;
        EXPECT_EQ(std::min({k.r, k.g, k.b}), 0.0f) << p;
    }
}

}  // namespace
}  // namespace zelFramework
