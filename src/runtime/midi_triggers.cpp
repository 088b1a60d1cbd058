#include "runtime/midi_triggers.h"

#include "app/trace.h"
#include "platform/platform.h"
#include "sync/midi/midi_triggers.h"

namespace zelFramework {

bool loadMidiTriggers(const std::string& file, std::vector<MidiTrigger>& triggers) {
    // A bad file must end the program through the trace log's quit policy, not as an exception that
    // escapes the loading screen.
    try {
        std::vector<MidiNoteTrigger> notes = midiTriggersFromFile(nativePath(file));
        triggers.reserve(triggers.size() + notes.size());
        for (MidiNoteTrigger& note : notes) triggers.push_back({std::move(note.name), note.timeMs, note.noteOn});
        trace(TRACE_INFO, "midi", "%zu triggers loaded from the MIDI file \"%s\"", notes.size(), file.c_str());
        return true;
    } catch (const MidiError& error) {
        trace(TRACE_ERROR, "midi", "cannot read the MIDI file \"%s\": %s (code %u)", file.c_str(), error.what(),
              unsigned(error.code()));
    } catch (MidiErrorCode code) {
        trace(TRACE_ERROR, "midi", "cannot read the MIDI file \"%s\": %s (code %u)", file.c_str(),
              midiErrorText(code), unsigned(code));
    } catch (const std::exception& error) {
        trace(TRACE_ERROR, "midi", "cannot read the MIDI file \"%s\": %s", file.c_str(), error.what());
    }
    return false;
}

}  // namespace zelFramework
