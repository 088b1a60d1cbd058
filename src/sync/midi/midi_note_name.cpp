#include <string>

#include "sync/midi/midi_file.h"

namespace zelFramework {

std::string midiNoteName(uint8_t key) {
    static const char* const PITCHES[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    const int octave = key / 12;
    return std::string(PITCHES[key - 12 * octave]) + std::to_string(octave);
}

}  // namespace zelFramework
