// Decodes MP3 files into 16-bit interleaved stereo frames: a whole file at once (the editor draws
// its waveform from it) or piece by piece as playback reaches each piece (the music plays from
// these, so a soundtrack never sits decoded whole in memory).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace zelFramework {

struct DecodedAudio {
    int rate = 0;                  // frames per second
    std::vector<int16_t> samples;  // left, right, left, right, ...
    size_t frameCount() const { return samples.size() / 2; }
    const int16_t* frames() const { return samples.data(); }  // 4-byte frames
};

// False (with a reason) when the file cannot be opened or holds no decodable audio. A file that
// breaks off part-way keeps what decoded before the break.
bool decodeMp3File(const std::string& path, DecodedAudio& out, std::string& error);

// One MP3 file read in pieces of PIECE_FRAMES frames, the last few of them kept: the frames are
// exactly those decodeMp3File gives for the file, at any position, in any order of reads.
class Mp3Pieces {
public:
    static constexpr size_t PIECE_FRAMES = 32768;  // about 0.74 s at 44.1 kHz, 128 KiB
    static constexpr size_t PIECES_KEPT = 4;

    Mp3Pieces();
    ~Mp3Pieces();
    Mp3Pieces(const Mp3Pieces&) = delete;
    Mp3Pieces& operator=(const Mp3Pieces&) = delete;

    // Decodes the whole file once, keeping nothing, to learn its rate and its length as
    // decodeMp3File would give them; false, with decodeMp3File's reason, where that fails.
    bool open(const std::string& path, std::string& error);
    int rate() const { return rate_; }
    uint64_t frameCount() const { return frameCount_; }

    // Writes the frames first .. first + count - 1 to `out` (4 bytes each). Frames past the end, and
    // any the file no longer gives (changed or removed since it was opened), are silence. Safe to
    // call from the audio thread and the program thread at once.
    void read(uint64_t first, size_t count, int16_t* out);
    // Pieces decoded so far by reads (each a seek or the next piece of the file).
    uint64_t piecesDecoded() const { return piecesDecoded_; }

private:
    struct Piece {
        uint64_t index = UINT64_MAX;
        uint64_t lastUse = 0;
        std::vector<int16_t> samples;
    };
    struct Decoder;
    const Piece& piece(uint64_t index);
    void decodeInto(Piece& piece, uint64_t index);

    std::mutex mutex_;
    std::unique_ptr<Decoder> decoder_;
    std::vector<Piece> kept_;
    uint64_t useCounter_ = 0;
    uint64_t piecesDecoded_ = 0;
    int rate_ = 0;
    uint64_t frameCount_ = 0;
};

}  // namespace zelFramework
