// The MIDI reader: files from an independent writer (mido), and hand-made bytes for every error.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "sync/midi/midi_file.h"
#include "sync/midi/midi_triggers.h"
#include "sync_test_support.h"

using namespace zelFramework;

namespace {

std::vector<uint8_t> be32(uint32_t v) { return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }

void append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) { out.insert(out.end(), more.begin(), more.end()); }

std::vector<uint8_t> header(uint16_t format, uint16_t tracks, uint16_t division, uint32_t length = 6) {
    std::vector<uint8_t> b = {'M', 'T', 'h', 'd'};
    append(b, be32(length));
    append(b, {uint8_t(format >> 8), uint8_t(format), uint8_t(tracks >> 8), uint8_t(tracks), uint8_t(division >> 8),
               uint8_t(division)});
    return b;
}

std::vector<uint8_t> chunk(const std::vector<uint8_t>& events, const char* id = "MTrk") {
    std::vector<uint8_t> b(id, id + 4);
    append(b, be32(uint32_t(events.size())));
    append(b, events);
    return b;
}

std::vector<uint8_t> smf(uint16_t format, uint16_t division, const std::vector<std::vector<uint8_t>>& tracks) {
    std::vector<uint8_t> b = header(format, uint16_t(tracks.size()), division);
    for (const auto& t : tracks) append(b, chunk(t));
    return b;
}

MidiErrorCode errorOf(const std::vector<uint8_t>& bytes) {
    try {
        parseMidiFile(bytes);
    } catch (const MidiError& e) {
        return e.code();
    }
    ADD_FAILURE() << "no MidiError raised";
    return MidiErrorCode(999);
}

const std::vector<uint8_t> TEMPO_120 = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};

// Files written by mido, an independent writer, once per test program run.
std::filesystem::path midoFile(const char* name) {
    static const synctest::ScratchFolder folder;
    static const int status = std::system(
        ("/usr/bin/python3 " ORVO_SOURCE_DIR "/tests/sync/make_midi_files.py '" + folder.path.string() + "'").c_str());
    EXPECT_EQ(status, 0) << "writing the MIDI files needs /usr/bin/python3 with mido";
    return folder.path / name;
}

}  // namespace

TEST(MidoFiles, FormatZeroWithRunningStatus) {
    const MidiFile f = readMidiFile(midoFile("format0.mid"));
    EXPECT_EQ(f.format, 0);
    EXPECT_EQ(f.division, 96);
    ASSERT_EQ(f.tracks.size(), 2u);  // the file's track and the tempo track

    const MidiTrack& t = f.tracks[0];
    const struct {
        uint8_t status, data1, data2;
        uint32_t delta, tick;
    } expected[] = {
        {0xFF, 0, 0, 0, 0},      {0x90, 60, 100, 0, 0},  {0x90, 64, 100, 0, 0},    {0x90, 60, 0, 96, 96},
        {0x80, 64, 0, 0, 96},    {0xC0, 5, 0, 0, 96},    {0xB0, 7, 90, 0, 96},     {0xF0, 0, 0, 10, 106},
        {0xE0, 0x64, 0x40, 0, 106}, {0x90, 69, 80, 86, 192}, {0x80, 69, 0, 192, 384}, {0xFF, 0, 0, 0, 384},
    };
    ASSERT_EQ(t.events.size(), std::size(expected));
    ASSERT_EQ(t.ticks.size(), t.events.size());
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t.events[i].status, expected[i].status);
        EXPECT_EQ(t.events[i].data1, expected[i].data1);
        EXPECT_EQ(t.events[i].data2, expected[i].data2);
        EXPECT_EQ(t.events[i].delta, expected[i].delta);
        EXPECT_EQ(t.ticks[i], expected[i].tick);
    }
    EXPECT_EQ(t.events[0].metaType, 0x58);
    EXPECT_EQ(t.events.back().metaType, 0x2F);

    ASSERT_EQ(f.tracks[1].events.size(), 1u);
    EXPECT_EQ(f.tracks[1].events[0].tempo, 500000u);
}

TEST(MidoFiles, FormatOneTempoChangesLeaveNotesInPlace) {
    const MidiFile f = readMidiFile(midoFile("format1.mid"));
    EXPECT_EQ(f.format, 1);
    EXPECT_EQ(f.division, 480);
    ASSERT_EQ(f.tracks.size(), 4u);

    const MidiTrack& lead = f.tracks[1];
    EXPECT_EQ(lead.events[0].metaType, 0x03);
    EXPECT_EQ(lead.events[0].text, "lead");
    // note on 72, note off 72, note on 73 (its delta takes over the removed tempo event's), note off,
    // key signature, sequencer-specific, end of track.
    ASSERT_EQ(lead.events.size(), 8u);
    EXPECT_EQ(lead.events[3].data1, 73);
    EXPECT_EQ(lead.events[3].delta, 480u);
    EXPECT_EQ(lead.ticks[3], 960u);
    EXPECT_EQ(lead.ticks[4], 1440u);
    EXPECT_EQ(lead.events[6].metaType, 0x7F);
    for (size_t t = 0; t + 1 < f.tracks.size(); ++t)
        for (const MidiEvent& ev : f.tracks[t].events) EXPECT_FALSE(ev.isSetTempo());

    const MidiTrack& tempo = f.tracks.back();
    ASSERT_EQ(tempo.events.size(), 3u);
    EXPECT_EQ(tempo.events[0].tempo, 600000u);
    EXPECT_EQ(tempo.events[1].tempo, 300000u);  // from the lead track, ordered by tick
    EXPECT_EQ(tempo.events[2].tempo, 400000u);
    EXPECT_EQ(tempo.ticks, (std::vector<uint32_t>{0, 720, 960}));
    EXPECT_EQ(tempo.events[1].delta, 720u);
    EXPECT_EQ(tempo.events[2].delta, 240u);

    // The RIFF "RMID" wrapper reads as the bare file.
    const MidiFile wrapped = readMidiFile(midoFile("format1.rmi"));
    ASSERT_EQ(wrapped.tracks.size(), f.tracks.size());
    for (size_t t = 0; t < f.tracks.size(); ++t) {
        EXPECT_EQ(wrapped.tracks[t].ticks, f.tracks[t].ticks);
        EXPECT_EQ(wrapped.tracks[t].events.size(), f.tracks[t].events.size());
    }
}

TEST(MidoFiles, TriggersFollowTheTempoChanges) {
    const std::vector<MidiNoteTrigger> triggers = midiTriggersFromFile(midoFile("format1.mid"));
    // 480 ticks per quarter; 600000 us per quarter (1.25 ms a tick) up to tick 720, 300000 us
    // (0.625 ms) up to tick 960, then 400000 us (0.8333 ms): tick 960 is 900 + 150 ms, tick 1440 is
    // 1050 + 400 ms.
    const struct {
        const char* name;
        uint32_t ms;
        bool on;
    } expected[] = {{"MIDI-C6", 0, true},     {"MIDI-C6", 600, false},  {"MIDI-C#6", 1050, true},
                    {"MIDI-C#6", 1450, false}, {"MIDI-C4", 125, true}, {"MIDI-C4", 250, true}};
    ASSERT_EQ(triggers.size(), std::size(expected));
    for (size_t i = 0; i < triggers.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(triggers[i].name, expected[i].name);
        EXPECT_EQ(triggers[i].timeMs, expected[i].ms);
        EXPECT_EQ(triggers[i].noteOn, expected[i].on);
    }

    const std::vector<MidiNoteTrigger> zero = midiTriggersFromFile(midoFile("format0.mid"));
    ASSERT_EQ(zero.size(), 6u);
    EXPECT_EQ(zero[2].name, "MIDI-C5");
    EXPECT_TRUE(zero[2].noteOn);  // velocity 0 is still a note-on
    EXPECT_EQ(zero[2].timeMs, 500u);
    EXPECT_EQ(zero[5].timeMs, 2000u);
}

TEST(MidiReader, RunningStatusAndTruncatedEvents) {
    // 90 3C 40, a delta, then 3C 00: two note-ons for key 0x3C, the second with velocity 0.
    MidiFile f = parseMidiFile(smf(0, 96, {{0x00, 0x90, 0x3C, 0x40, 0x10, 0x3C, 0x00}}));
    ASSERT_EQ(f.tracks[0].events.size(), 2u);
    EXPECT_EQ(f.tracks[0].events[1].status, 0x90);
    EXPECT_EQ(f.tracks[0].events[1].data1, 0x3C);
    EXPECT_EQ(f.tracks[0].events[1].data2, 0x00);
    EXPECT_EQ(f.tracks[0].ticks[1], 16u);

    // The chunk ends inside the second event: it is dropped and reading stops at the chunk's end,
    // even though the following bytes of the file would complete it.
    std::vector<uint8_t> cut = smf(1, 96, {{0x00, 0x90, 0x3C, 0x40, 0x00, 0x90, 0x3E}, {0x00, 0xC0}});
    f = parseMidiFile(cut);
    ASSERT_EQ(f.tracks.size(), 3u);
    EXPECT_EQ(f.tracks[0].events.size(), 1u);
    EXPECT_EQ(f.tracks[1].events.size(), 0u);

    // Lengths and quantities that claim more than the chunk holds.
    f = parseMidiFile(smf(0, 96, {{0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F, 'a', 'b'}}));
    EXPECT_TRUE(f.tracks[0].events.empty());
    f = parseMidiFile(smf(0, 96, {{0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}));
    EXPECT_TRUE(f.tracks[0].events.empty());
    f = parseMidiFile(smf(0, 96, {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x80, 0x01, 0x02}}));
    ASSERT_EQ(f.tracks[0].events.size(), 1u);  // a delta past 32 bits wraps, it does not overflow

    // Running status borrows from any kind of event: after a meta event a data byte is a meta type.
    f = parseMidiFile(smf(0, 96, {{0x00, 0xFF, 0x2F, 0x00, 0x00, 0x05, 0x02, 'l', 'a'}}));
    ASSERT_EQ(f.tracks[0].events.size(), 2u);
    EXPECT_EQ(f.tracks[0].events[1].metaType, 0x05);
    EXPECT_EQ(f.tracks[0].events[1].text, "la");
}

TEST(MidiReader, TempoEventsAtOneTickKeepTheLastMet) {
    const std::vector<uint8_t> slow = {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40};  // 1000000
    const std::vector<uint8_t> fast = {0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90};  // 250000
    std::vector<uint8_t> second = fast;
    append(second, {0x60, 0x90, 0x3C, 0x40});
    const MidiFile f = parseMidiFile(smf(1, 96, {slow, second}));
    ASSERT_EQ(f.tracks.back().events.size(), 1u);
    EXPECT_EQ(f.tracks.back().events[0].tempo, 250000u);
    EXPECT_EQ(f.tracks[1].events[0].delta, 0x60u);
    EXPECT_TRUE(f.tracks[0].events.empty());
}

TEST(MidiReader, ErrorCodes) {
    synctest::ScratchFolder dir;
    const struct {
        std::filesystem::path path;
        const char* says;
    } unreadable[] = {{dir.path / "missing.mid", "MIDI file cannot be opened: it does not exist"},
                      {dir.path, "MIDI file cannot be opened: it is a folder, not a file"}};
    for (const auto& u : unreadable) {
        try {
            readMidiFile(u.path);
            ADD_FAILURE() << u.path;
        } catch (const MidiError& e) {
            EXPECT_EQ(e.code(), MIDI_CANNOT_OPEN);
            EXPECT_STREQ(e.what(), u.says);
        }
    }

    std::vector<uint8_t> shortHeader = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0};
    std::vector<uint8_t> missingChunk = header(1, 2, 96);
    append(missingChunk, chunk(TEMPO_120));
    append(missingChunk, {'M', 'T', 'r', 'k', 0, 0});
    std::vector<uint8_t> otherChunk = header(1, 1, 96);
    append(otherChunk, chunk({0x00, 0xFF, 0x2F, 0x00}, "XFIH"));
    std::vector<uint8_t> cutChunk = header(0, 1, 96);
    append(cutChunk, be32(0x4D54726B));
    append(cutChunk, be32(100));
    append(cutChunk, {0x00, 0x90, 0x3C, 0x40});

    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        MidiErrorCode code;
    } cases[] = {
        {"empty", {}, MIDI_NOT_MIDI},
        {"not midi", {'M', 'Z', 0, 0, 0, 0, 0, 6}, MIDI_NOT_MIDI},
        {"short header", shortHeader, MIDI_BAD_HEADER_READ},
        {"header length 8", header(0, 1, 96, 8), MIDI_BAD_HEADER_LENGTH},
        {"format 2", header(2, 1, 96), MIDI_FORMAT_2},
        {"format 0 with two tracks", header(0, 2, 96), MIDI_FORMAT_0_TRACKS},
        {"SMPTE division", header(1, 1, 0xE728), MIDI_SMPTE_DIVISION},
        {"missing chunk", missingChunk, MIDI_BAD_CHUNK_READ},
        {"not a track chunk", otherChunk, MIDI_NOT_A_TRACK},
        {"chunk cut short", cutChunk, MIDI_TRACK_CUT_SHORT},
        {"short tempo", smf(0, 96, {{0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}}), MIDI_SHORT_TEMPO},
        {"no status", smf(0, 96, {{0x00, 0x3C, 0x40}}), MIDI_NO_STATUS},
        {"unknown meta", smf(0, 96, {{0x00, 0xFF, 0x7E, 0x00}}), MIDI_UNKNOWN_META},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.what);
        EXPECT_EQ(errorOf(tc.bytes), tc.code);
    }
    // Each code has its own words, not just a number.
    EXPECT_STREQ(MidiError(MIDI_NOT_MIDI).what(), "not a MIDI file");
    EXPECT_STREQ(midiErrorText(MIDI_SMPTE_DIVISION), "MIDI time division in SMPTE frames is not supported");
}

TEST(MidiTriggers, AFileWithoutATempoPlaysAt120BeatsPerMinute) {
    // 96 ticks a quarter note at the default 500000 us: a note-on at 96 ticks is at 500 ms.
    const auto plain = midiTriggersFromMidi(parseMidiFile(smf(0, 96, {{0x00, 0x90, 0x3C, 0x40, 0x60, 0x3E, 0x40}})));
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(plain[0].timeMs, 0u);
    EXPECT_EQ(plain[1].timeMs, 500u);
    EXPECT_EQ(plain[1].name, "MIDI-D5");
    // A file with no tracks at all gives only the tempo track: nothing to trigger, nothing to raise.
    EXPECT_TRUE(midiTriggersFromMidi(parseMidiFile(smf(1, 96, {}))).empty());

    std::vector<uint8_t> notes = TEMPO_120;
    append(notes, {0x60, 0x91, 0x45, 0x40, 0x60, 0x81, 0x45, 0x00, 0x00, 0xA1, 0x45, 0x10});
    const auto triggers = midiTriggersFromMidi(parseMidiFile(smf(0, 96, {notes})));
    ASSERT_EQ(triggers.size(), 2u);
    EXPECT_EQ(triggers[0].name, "MIDI-A5");
    EXPECT_EQ(triggers[0].timeMs, 500u);
    EXPECT_FALSE(triggers[1].noteOn);
    EXPECT_EQ(triggers[1].timeMs, 1000u);
}

TEST(MidiTriggers, TimesAreTruncatedSinglePrecision) {
    // 984 / 480 * 500000 / 1000 is 1024.99... in double precision, but 1025 in 32-bit floats.
    EXPECT_EQ(midiTickToMs(984, 480, 500000), 1025u);
    EXPECT_EQ(midiTickToMs(1, 3, 1000), 0u);
    EXPECT_EQ(midiTickToMs(479, 480, 500000), 498u);
    // Times a millisecond count cannot hold never fire instead of wrapping.
    EXPECT_EQ(midiTickToMs(10, 0, 500000), 0xFFFFFFFFu);
    EXPECT_EQ(midiTickToMs(0, 0, 500000), 0xFFFFFFFFu);
    EXPECT_EQ(midiTickToMs(0xFFFFFFFFu, 1, 0xFFFFFFu), 0xFFFFFFFFu);
}

TEST(MidiNoteName, Names) {
    for (auto [note, name] : {std::pair{0, "C0"}, {61, "C#5"}, {69, "A5"}, {127, "G10"}, {255, "D#21"}})
        EXPECT_EQ(midiNoteName(uint8_t(note)), name);
}
