// The notes of a MIDI file as the runtime's trigger list.
#pragma once

#include <string>
#include <vector>

#include "runtime/midi_trigger.h"

namespace zelFramework {

// Appends the file's note-ons and note-offs as triggers and traces how many (INFO). A file that cannot
// be read or converted leaves the list as it was and is reported as an ERROR trace line naming the
// file, the reason in words and the reader's code, which ends the program through the trace log's
// quit policy; false then.
bool loadMidiTriggers(const std::string& file, std::vector<MidiTrigger>& triggers);

}  // namespace zelFramework
