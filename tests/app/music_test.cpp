// The music module on a real MP3 made at test time by lame from a generated tone, with the dummy
// audio driver (a device that pulls in real time without sound) and with no device at all.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/music.h"
#include "platform/platform.h"
#include "support/trace_capture.h"
#include "tone_file.h"
#include "support/file_text.h"

using namespace zelFramework;
namespace fs = std::filesystem;

namespace {

constexpr int RATE = orvotest::TONE_RATE;
constexpr int SECONDS = 3;
constexpr double TONE_HZ = 1000.0;
constexpr double AMPLITUDE = 0.5;

// One folder per test process with the encoded tone, a truncated copy and two files that are no MP3.
struct Files {
    fs::path dir = fs::temp_directory_path() / ("orvo_music_" + std::to_string(::getpid()));
    fs::path tone = dir / "tone.mp3";
    fs::path truncated = dir / "truncated.mp3";
    fs::path text = dir / "notes.mp3";
    fs::path empty = dir / "empty.mp3";
    fs::path noise = dir / "noise.mp3";
    bool encoded = false;

    Files() {
        fs::create_directories(dir);
        encoded = orvotest::writeToneMp3(tone, SECONDS, TONE_HZ, AMPLITUDE);
        if (encoded) {
            const std::string bytes = orvotest::fileText(tone);
            std::ofstream(truncated, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size() / 2));
        }
        std::ofstream(text) << "This is a text file with a .mp3 name, not a soundtrack.\n";
        std::ofstream(empty).flush();
        std::ofstream junk(noise, std::ios::binary);
        uint32_t x = 12345;  // fixed bytes, so the test never meets a lucky run of frame headers
        for (int i = 0; i < 100000; ++i) junk.put(char((x = x * 1664525u + 1013904223u) >> 24));
    }
    ~Files() { fs::remove_all(dir); }
};

Files& files() {
    static Files f;
    return f;
}

class Music : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(files().encoded) << "lame could not encode the test tone (see scripts/deps.sh)"; }
    void TearDown() override {
        musicSetPausedAll(false);
        musicShutdown();
    }
    static void useDriver(const char* driver) {
        musicShutdown();
        setenv("SDL_AUDIODRIVER", driver, 1);
    }
    // Waits for the position to reach at least the given time (the device pulls in ~23 ms steps).
    static uint32_t waitForTime(MusicStream* s, uint32_t atLeastMs) {
        for (int i = 0; i < 400 && musicGetTime(s) < atLeastMs; ++i) sleepMs(5);
        return musicGetTime(s);
    }
};

int peakBin(const float* spectrum) { return int(std::max_element(spectrum, spectrum + 512) - spectrum); }

}  // namespace

TEST_F(Music, DecodesTheWholeFileIntoStereoFrames) {
    DecodedAudio audio;
    std::string error;
    ASSERT_TRUE(decodeMp3File(files().tone.string(), audio, error)) << error;
    EXPECT_EQ(audio.rate, RATE);
    // The encoder's delay and padding are removed through its gapless header, give or take a frame.
    EXPECT_NEAR(double(audio.frameCount()), double(RATE * SECONDS), 1152.0);
    int16_t peak = 0;
    for (size_t i = RATE; i < size_t(RATE) + 4410; ++i) peak = std::max<int16_t>(peak, audio.frames()[i * 2]);
    EXPECT_NEAR(peak / 32767.0, AMPLITUDE, 0.05);

    // A file cut in half keeps what decoded before the cut.
    DecodedAudio half;
    ASSERT_TRUE(decodeMp3File(files().truncated.string(), half, error));
    EXPECT_GT(half.frameCount(), size_t(RATE) / 2);
    EXPECT_LT(half.frameCount(), audio.frameCount());

    // The stream plays from pieces and knows the same length; all frames at once (the editor's
    // waveform) are the whole decode, made on the first request and kept.
    const MusicState state = openSoundtrack(files().tone.string());
    ASSERT_TRUE(state.valid);
    EXPECT_EQ(musicFrameCount(state.stream), audio.frameCount());
    EXPECT_EQ(musicRate(state.stream), RATE);
    const DecodedAudio* all = musicAudio(state.stream);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->samples, audio.samples);
    EXPECT_EQ(musicAudio(state.stream), all);
}

TEST_F(Music, MissingAndUndecodableFilesLeaveTheRecordInvalidWithOneWarning) {
    for (const fs::path& bad : {files().dir / "absent.mp3", files().text, files().empty, files().noise}) {
        orvotest::TraceCapture capture;
        const MusicState state = openSoundtrack(bad.string());
        EXPECT_FALSE(state.valid) << bad;
        EXPECT_EQ(state.stream, nullptr);
        EXPECT_EQ(state.spectrum, nullptr);
        EXPECT_EQ(capture.count("WARNING (music): "), 1) << capture.text();
        EXPECT_EQ(capture.count("ERROR"), 0);
        EXPECT_TRUE(capture.contains(bad.filename().string()));
        EXPECT_FALSE(capture.quitPosted());
    }
    // Every operation tolerates the null stream of a failed open.
    musicPlay(nullptr);
    musicSetTime(nullptr, 1000);
    musicStop(nullptr);
    EXPECT_EQ(musicGetTime(nullptr), 0u);
    EXPECT_EQ(musicAudio(nullptr), nullptr);
    EXPECT_EQ(musicFrameCount(nullptr), 0u);
}

// The same playback on a device that pulls frames and, without one, on the stream's own clock.
TEST_F(Music, PositionPauseSeekAndStopWithAndWithoutADevice) {
    for (const bool device : {true, false}) {
        SCOPED_TRACE(device ? "device" : "no device");
        useDriver(device ? "dummy" : "no-such-driver");
        orvotest::TraceCapture capture;
        const MusicState state = openSoundtrack(files().tone.string());
        ASSERT_TRUE(state.valid);
        EXPECT_EQ(musicHasDevice(), device);
        EXPECT_EQ(capture.count("WARNING"), 0) << capture.text();
        MusicStream* s = state.stream;
        EXPECT_EQ(musicGetTime(s), 0u);
        EXPECT_FALSE(musicIsPlaying(s));

        const uint64_t start = performanceCounter();
        musicPlay(s);
        EXPECT_TRUE(musicIsPlaying(s));
        const uint32_t t = waitForTime(s, 200);
        const double elapsedMs = double(performanceCounter() - start) * 1000.0 / double(performanceFrequency());
        EXPECT_GE(t, 200u);
        // The clock never runs ahead of real time; a device may be a buffer ahead.
        EXPECT_LE(double(t), elapsedMs + (device ? 200.0 : 1.0));

        // Paused, the position stands still.
        musicSetPausedAll(true);
        EXPECT_TRUE(musicPausedAll());
        sleepMs(60);  // let a pull that was already running finish
        const uint32_t held = musicGetTime(s);
        sleepMs(150);
        EXPECT_EQ(musicGetTime(s), held);

        // Seek while paused lands exactly; resume continues from there.
        musicSetTime(s, 2000);
        EXPECT_EQ(musicGetTime(s), 2000u);
        musicSetPausedAll(false);
        EXPECT_GE(waitForTime(s, 2100), 2100u);

        // Near the end playback runs off it and finishes there; a seek past the end lands at the end.
        const uint32_t duration = uint32_t(musicFrameCount(s) * 1000 / RATE);
        musicSetTime(s, duration - 50);
        for (int i = 0; i < 100 && musicIsPlaying(s); ++i) sleepMs(5);
        EXPECT_FALSE(musicIsPlaying(s));
        EXPECT_EQ(musicGetTime(s), duration);
        musicSetTime(s, 10 * 60 * 1000);
        EXPECT_EQ(musicGetTime(s), duration);

        // Play from the start again, then stop: halted and rewound.
        musicSetTime(s, 0);
        musicPlay(s);
        waitForTime(s, 100);
        musicStop(s);
        EXPECT_FALSE(musicIsPlaying(s));
        sleepMs(100);
        EXPECT_EQ(musicGetTime(s), 0u);
    }
}

TEST_F(Music, SpectrumShowsTheToneWhilePlayingAndSilenceOtherwise) {
    useDriver("no-such-driver");  // the clock path gives a steady position for the analysis
    std::string name = files().tone.string();
    std::replace(name.begin(), name.end(), '/', '\\');  // names written with backslashes open too
    const MusicState state = openSoundtrack(name);
    ASSERT_TRUE(state.valid);
    const float* spectrum = musicSpectrum();
    ASSERT_NE(spectrum, nullptr);
    for (int k = 0; k < 512; ++k) ASSERT_EQ(spectrum[k], 0.0f);

    musicPlay(state.stream);
    musicSetTime(state.stream, 1000);
    EXPECT_EQ(musicSpectrum(), spectrum);  // one array, refreshed in place
    // 1000 Hz falls in bin 1000 / (44100 / 1024) = 23.2.
    EXPECT_EQ(peakBin(spectrum), 23);
    EXPECT_NEAR(spectrum[23], AMPLITUDE, 0.15);
    for (int k = 0; k < 512; ++k) {
        ASSERT_GE(spectrum[k], 0.0f);
        ASSERT_LE(spectrum[k], 1.0f);
        if (k < 18 || k > 29) {
            ASSERT_LT(spectrum[k], 0.02f) << "bin " << k;
        }
    }

    musicSetPausedAll(true);
    musicSpectrum();
    EXPECT_EQ(*std::max_element(spectrum, spectrum + 512), 0.0f);
}

// The show never closes its stream: the process ends while the device is still pulling frames.
TEST_F(Music, TheProcessExitsCleanlyWhilePlaying) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string tone = files().tone.string();
    // Tearing down under a running audio thread fails only now and then, so try a few exits.
    for (int attempt = 0; attempt < 5; ++attempt)
        EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            const MusicState state = openSoundtrack(tone);
            musicPlay(state.stream);
            sleepMs(150);
            std::exit(musicGetTime(state.stream) > 0 ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}
