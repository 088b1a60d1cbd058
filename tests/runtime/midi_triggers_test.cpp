// A named MIDI file becomes the trigger list; a bad one is an ERROR line that asks to quit.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "runtime/midi_triggers.h"
#include "support/trace_capture.h"

namespace zelFramework {
namespace {

std::string writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path.string();
}

TEST(MidiTriggers, NotesBecomeTriggersInFileOrder) {
    // Format 1, two tracks, 480 ticks per quarter; a tempo of 500000 us per quarter (120 bpm).
    std::vector<uint8_t> bytes = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0xE0,
                                  // tempo track
                                  'M', 'T', 'r', 'k', 0, 0, 0, 11, 0x00, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20,
                                  0x00, 0xFF, 0x2F, 0x00,
                                  // notes: C5 on at 0, off at one quarter (500 ms), C#5 on at 1.5 quarters
                                  'M', 'T', 'r', 'k', 0, 0, 0, 17, 0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0,
                                  0x81, 0x70, 0x90, 61, 0, 0x00, 0xFF, 0x2F, 0x00};
    std::vector<MidiTrigger> triggers;
    orvotest::TraceCapture capture;
    ASSERT_TRUE(loadMidiTriggers(writeFile("orvo_runtime_notes.mid", bytes), triggers));
    // The reader's timing is tested with the reader; here each field must arrive in the show's list.
    ASSERT_EQ(triggers.size(), 3u);
    EXPECT_FALSE(triggers[1].noteOn);
    EXPECT_EQ(triggers[2].name, "MIDI-C#5");
    EXPECT_EQ(triggers[2].timeMs, 750u);
    EXPECT_TRUE(triggers[2].noteOn);  // velocity 0 still counts as a note-on
    EXPECT_FALSE(capture.quitPosted());
    EXPECT_TRUE(capture.contains("INFO (midi): 3 triggers loaded from the MIDI file")) << capture.text();
}

TEST(MidiTriggers, ABadFileIsAnErrorLineNotAnException) {
    orvotest::TraceCapture capture({TRACE_INFO, TRACE_TO_DEBUGGER, nullptr, TRACE_ERROR});
    std::vector<MidiTrigger> triggers = {{"MIDI-A5", 1, true}};
    const std::string path = writeFile("orvo_runtime_bad.mid", {'R', 'I', 'F', 'X', 0, 0});
    EXPECT_FALSE(loadMidiTriggers(path, triggers));
    EXPECT_EQ(triggers.size(), 1u);  // the list is left as it was
    EXPECT_TRUE(capture.contains("ERROR (midi)"));
    EXPECT_TRUE(capture.contains(path));
    EXPECT_TRUE(capture.contains(": not a MIDI file (code 2)")) << capture.text();
    EXPECT_TRUE(capture.quitPosted());

    capture.clear();
    EXPECT_FALSE(loadMidiTriggers("no/such/file.mid", triggers));
    EXPECT_TRUE(capture.contains("MIDI file cannot be opened: it does not exist (code 0)")) << capture.text();
    capture.clear();
    EXPECT_FALSE(loadMidiTriggers(std::filesystem::temp_directory_path().string(), triggers));
    EXPECT_TRUE(capture.contains("it is a folder, not a file (code 0)")) << capture.text();
}

}  // namespace
}  // namespace zelFramework
