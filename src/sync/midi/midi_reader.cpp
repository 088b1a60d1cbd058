// Reading a Standard MIDI File. Every read is bounded by the bytes of the file or, inside a track,
// of the track chunk, whatever a length field or a variable-length quantity claims.
#include "platform/file_read.h"
#include "sync/midi/midi_file.h"

namespace zelFramework {

namespace {

class Cursor {
public:
    explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t left() const { return bytes_.size() - pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    uint8_t peek() const { return bytes_[pos_]; }

    bool u8(uint8_t& out) {
        if (atEnd()) return false;
        out = bytes_[pos_++];
        return true;
    }
    bool be16(uint16_t& out) {
        if (left() < 2) return false;
        out = uint16_t(bytes_[pos_] << 8 | bytes_[pos_ + 1]);
        pos_ += 2;
        return true;
    }
    bool be32(uint32_t& out) {
        if (left() < 4) return false;
        out = uint32_t(bytes_[pos_]) << 24 | uint32_t(bytes_[pos_ + 1]) << 16 | uint32_t(bytes_[pos_ + 2]) << 8 |
              uint32_t(bytes_[pos_ + 3]);
        pos_ += 4;
        return true;
    }
    bool tag(const char* expected) {
        if (left() < 4) return false;
        for (size_t i = 0; i < 4; ++i)
            if (bytes_[pos_ + i] != uint8_t(expected[i])) return false;
        return true;
    }
    // A quantity of 7-bit groups, most significant first; values past 32 bits wrap.
    bool varLength(uint32_t& out) {
        out = 0;
        uint8_t b;
        do {
            if (!u8(b)) return false;
            out = out * 128 + (b & 0x7F);
        } while (b & 0x80);
        return true;
    }
    bool take(size_t count, std::span<const uint8_t>& out) {
        if (left() < count) return false;
        out = bytes_.subspan(pos_, count);
        pos_ += count;
        return true;
    }
    void skip(size_t count) { pos_ += std::min(count, left()); }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

bool acceptedMeta(uint8_t type) {
    if (type >= 1 && type <= 9) return true;
    switch (type) {
        case 0x00: case 0x20: case 0x21: case 0x2F: case 0x51: case 0x54: case 0x58: case 0x59: case 0x7F:
            return true;
        default:
            return false;
    }
}

// The body of one event after its status. False when the chunk ends inside it.
bool readEventBody(Cursor& in, MidiEvent& ev) {
    const uint8_t s = ev.status;
    if (s == MIDI_META) {
        if (!in.u8(ev.metaType)) return false;
        if (!acceptedMeta(ev.metaType)) throw MidiError(MIDI_UNKNOWN_META);
        uint32_t length;
        if (!in.varLength(length)) return false;
        if (ev.metaType == MIDI_META_SET_TEMPO && length < 3) throw MidiError(MIDI_SHORT_TEMPO);
        std::span<const uint8_t> data;
        if (!in.take(length, data)) return false;
        if (ev.metaType == MIDI_META_SET_TEMPO) ev.tempo = uint32_t(data[0]) << 16 | uint32_t(data[1]) << 8 | data[2];
        if (ev.metaType >= 1 && ev.metaType <= 9) ev.text.assign(data.begin(), data.end());
        return true;
    }
    if (s >= 0xF0) {
        uint32_t length;
        std::span<const uint8_t> skipped;
        return in.varLength(length) && in.take(length, skipped);
    }
    const uint8_t kind = s & 0xF0;
    if (!in.u8(ev.data1)) return false;
    if (kind == 0xC0 || kind == 0xD0) return true;
    return in.u8(ev.data2);
}

// Parses a track chunk's bytes. An event cut off by the end of the chunk is dropped.
MidiTrack readTrackEvents(std::span<const uint8_t> chunk) {
    MidiTrack track;
    Cursor in(chunk);
    uint32_t tick = 0;
    while (!in.atEnd()) {
        MidiEvent ev;
        if (!in.varLength(ev.delta) || in.atEnd()) break;
        if (in.peek() >= 0x80) {
            in.u8(ev.status);
        } else if (!track.events.empty()) {
            ev.status = track.events.back().status;  // running status: the byte is the first data byte
        } else {
            throw MidiError(MIDI_NO_STATUS);
        }
        if (!readEventBody(in, ev)) break;
        tick += ev.delta;
        track.events.push_back(std::move(ev));
        track.ticks.push_back(tick);
    }
    return track;
}

MidiTrack readTrackChunk(Cursor& in) {
    const bool isTrack = in.tag("MTrk");
    uint32_t id, length;
    if (!in.be32(id) || !in.be32(length)) throw MidiError(MIDI_BAD_CHUNK_READ);
    if (!isTrack) throw MidiError(MIDI_NOT_A_TRACK);
    std::span<const uint8_t> chunk;
    if (!in.take(length, chunk)) throw MidiError(MIDI_TRACK_CUT_SHORT);
    return readTrackEvents(chunk);
}

}  // namespace

MidiFile parseMidiFile(std::span<const uint8_t> bytes) {
    Cursor in(bytes);
    // An RMID file wraps the standard file: skip the RIFF size, form type and data chunk header.
    while (in.tag("RIFF")) in.skip(4 + 16);
    if (!in.tag("MThd")) throw MidiError(MIDI_NOT_MIDI);
    in.skip(4);

    uint32_t headerLength;
    uint16_t format, trackCount, division;
    if (!in.be32(headerLength) || !in.be16(format) || !in.be16(trackCount) || !in.be16(division))
        throw MidiError(MIDI_BAD_HEADER_READ);
    if (headerLength != 6) throw MidiError(MIDI_BAD_HEADER_LENGTH);
    if (format == 2) throw MidiError(MIDI_FORMAT_2);
    if (format == 0 && trackCount != 1) throw MidiError(MIDI_FORMAT_0_TRACKS);
    if (division & 0x8000) throw MidiError(MIDI_SMPTE_DIVISION);

    MidiFile file;
    file.format = format;
    file.division = division;
    for (uint16_t i = 0; i < trackCount; ++i) file.tracks.push_back(readTrackChunk(in));
    separateTempoTrack(file);
    return file;
}

MidiFile readMidiFile(const std::filesystem::path& path) {
    std::vector<uint8_t> bytes;
    std::string problem;
    if (readFileChecked(path, bytes, problem, MIDI_FILE_LIMIT) != ReadFault::None)
        throw MidiError(MIDI_CANNOT_OPEN, "it " + problem);
    return parseMidiFile(bytes);
}

}  // namespace zelFramework
