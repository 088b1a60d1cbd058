// The soundtrack read piece by piece must give exactly the frames of the whole decode, wherever
// playback starts, seeks or runs off the end, and silence rather than a crash when the file goes bad.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/mp3_decoder.h"
#include "support/file_text.h"
#include "tone_file.h"

using namespace zelFramework;
namespace fs = std::filesystem;

namespace {

constexpr size_t PIECE = Mp3Pieces::PIECE_FRAMES;

struct ToneFiles {
    fs::path dir = fs::temp_directory_path() / ("orvo_mp3_pieces_" + std::to_string(::getpid()));
    fs::path tone = dir / "tone.mp3";
    fs::path truncated = dir / "truncated.mp3";
    bool encoded = false;
    DecodedAudio whole, wholeTruncated;

    ToneFiles() {
        fs::create_directories(dir);
        // 3 s: four whole pieces and part of a fifth.
        encoded = orvotest::writeToneMp3(tone, 3, 440.0, 0.6);
        if (!encoded) return;
        const std::string bytes = orvotest::fileText(tone);
        std::ofstream(truncated, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size() * 2 / 5));
        std::string error;
        encoded = decodeMp3File(tone.string(), whole, error) && decodeMp3File(truncated.string(), wholeTruncated, error);
    }
    ~ToneFiles() { fs::remove_all(dir); }
};

ToneFiles& files() {
    static ToneFiles f;
    return f;
}

std::vector<int16_t> readFrames(Mp3Pieces& pieces, uint64_t first, size_t count) {
    std::vector<int16_t> out(count * 2, int16_t(0x5A5A));  // no sample survives unwritten unnoticed
    pieces.read(first, count, out.data());
    return out;
}

std::vector<int16_t> wholeFrames(const DecodedAudio& audio, uint64_t first, size_t count) {
    std::vector<int16_t> out(count * 2, 0);
    for (size_t i = 0; i < count && first + i < audio.frameCount(); ++i) {
        out[i * 2] = audio.frames()[(first + i) * 2];
        out[i * 2 + 1] = audio.frames()[(first + i) * 2 + 1];
    }
    return out;
}

class Mp3PiecesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(files().encoded) << "lame could not encode the test tone (see scripts/deps.sh)"; }
};

}  // namespace

TEST_F(Mp3PiecesTest, PlayingThroughGivesTheWholeDecodeAndDecodesEachPieceOnce) {
    for (const fs::path* file : {&files().tone, &files().truncated}) {
        SCOPED_TRACE(file->filename().string());
        const DecodedAudio& whole = file == &files().tone ? files().whole : files().wholeTruncated;
        Mp3Pieces pieces;
        std::string error;
        ASSERT_TRUE(pieces.open(file->string(), error)) << error;
        EXPECT_EQ(pieces.rate(), whole.rate);
        EXPECT_EQ(pieces.frameCount(), whole.frameCount());
        EXPECT_EQ(pieces.piecesDecoded(), 0u);  // nothing is held until it plays
        // Device-sized pulls that straddle every piece boundary, then a pull running off the end.
        const size_t pull = 1000;
        for (uint64_t at = 0; at < whole.frameCount(); at += pull)
            ASSERT_EQ(readFrames(pieces, at, pull), wholeFrames(whole, at, pull)) << "at frame " << at;
        const uint64_t pieceCount = (whole.frameCount() + PIECE - 1) / PIECE;
        EXPECT_EQ(pieces.piecesDecoded(), pieceCount);
    }
    // The truncated file is really shorter: it ends where its data ends, not where its header said.
    EXPECT_LT(files().wholeTruncated.frameCount(), files().whole.frameCount() / 2);
}

TEST_F(Mp3PiecesTest, SeeksBackwardsForwardsAcrossBoundariesAndPastTheEndGiveTheSameFrames) {
    const DecodedAudio& whole = files().whole;
    Mp3Pieces pieces;
    std::string error;
    ASSERT_TRUE(pieces.open(files().tone.string(), error)) << error;
    const uint64_t end = whole.frameCount();
    struct Span {
        uint64_t first;
        size_t count;
    };
    // Out of order as a seek, --from, a loop back to the start and the editor's scrubbing read them.
    const Span spans[] = {{3 * PIECE + 17, 500},  {PIECE - 10, 20},   {0, 1},         {end - 1, 1},
                          {end - 300, 1024},      {2 * PIECE, PIECE}, {PIECE + 1, 3}, {end + 5000, 64},
                          {4 * PIECE - 1, 2 * PIECE}, {12345, 4000}};
    for (const Span& s : spans)
        ASSERT_EQ(readFrames(pieces, s.first, s.count), wholeFrames(whole, s.first, s.count))
            << "frames " << s.first << " + " << s.count;
    // A read past the end is all silence.
    for (int16_t v : readFrames(pieces, end, 100)) ASSERT_EQ(v, 0);
}

TEST_F(Mp3PiecesTest, AFileThatGoesBadAfterOpeningGivesSilenceAndBadFilesDoNotOpen) {
    const fs::path copy = files().dir / "changing.mp3";
    fs::copy_file(files().tone, copy, fs::copy_options::overwrite_existing);
    Mp3Pieces pieces;
    std::string error;
    ASSERT_TRUE(pieces.open(copy.string(), error)) << error;
    const std::vector<int16_t> start = readFrames(pieces, 0, 100);
    EXPECT_EQ(start, wholeFrames(files().whole, 0, 100));

    // Cut short under the player: the lost frames play as silence, the kept piece still plays.
    const std::string bytes = orvotest::fileText(files().tone);
    std::ofstream(copy, std::ios::binary | std::ios::trunc).write(bytes.data(), 2000);
    for (int16_t v : readFrames(pieces, pieces.frameCount() - 2000, 2000)) ASSERT_EQ(v, 0);
    EXPECT_EQ(readFrames(pieces, 0, 100), start);

    // Removed: silence, everywhere not kept.
    fs::remove(copy);
    for (int16_t v : readFrames(pieces, 2 * PIECE, 4000)) ASSERT_EQ(v, 0);

    // Files that are no soundtrack are refused with the reason the whole decode gives.
    const fs::path text = files().dir / "notes.mp3";
    std::ofstream(text) << "not a soundtrack\n";
    for (const fs::path& bad : {files().dir / "absent.mp3", text}) {
        Mp3Pieces refused;
        std::string reason, wholeReason;
        DecodedAudio unused;
        EXPECT_FALSE(refused.open(bad.string(), reason)) << bad;
        EXPECT_FALSE(decodeMp3File(bad.string(), unused, wholeReason));
        EXPECT_EQ(reason, wholeReason);
        EXPECT_EQ(refused.frameCount(), 0u);
        for (int16_t v : readFrames(refused, 0, 10)) ASSERT_EQ(v, 0);
    }
}
