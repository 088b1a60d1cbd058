// The editor on a real soundtrack stream: its waveform comes from the decoded frames, and seek,
// pause, play and record taps go to the music.
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "app/music.h"
#include "editor_fixture.h"

namespace orvotest {
namespace {

using namespace zelFramework;
namespace fs = std::filesystem;

constexpr int RATE = 44100;
constexpr int SECONDS = 3;

void put16(std::ofstream& f, uint16_t v) { f.put(char(v & 0xFF)).put(char(v >> 8)); }
void put32(std::ofstream& f, uint32_t v) { put16(f, uint16_t(v & 0xFFFF)), put16(f, uint16_t(v >> 16)); }

// A 3 s stereo tone encoded with lame; empty when the encoder is missing.
fs::path encodedTone() {
    static const fs::path mp3 = [] {
        const fs::path dir = fs::temp_directory_path() / ("orvo_editor_music_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        {
            std::ofstream f(dir / "tone.wav", std::ios::binary);
            const uint32_t frames = RATE * SECONDS, bytes = frames * 4;
            f.write("RIFF", 4), put32(f, 36 + bytes), f.write("WAVEfmt ", 8);
            put32(f, 16), put16(f, 1), put16(f, 2), put32(f, RATE), put32(f, RATE * 4), put16(f, 4), put16(f, 16);
            f.write("data", 4), put32(f, bytes);
            for (uint32_t i = 0; i < frames; ++i) {
                const auto s = int16_t(std::lround(16000.0 * std::sin(2.0 * M_PI * 440.0 * i / RATE)));
                put16(f, uint16_t(s)), put16(f, uint16_t(s));
            }
        }
        const fs::path out = dir / "tone.mp3";
        const std::string cmd = "lame --quiet -b 128 '" + (dir / "tone.wav").string() + "' '" + out.string() + "'";
        return std::system(cmd.c_str()) == 0 && fs::exists(out) ? out : fs::path();
    }();
    return mp3;
}

class EditorMusic : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        const fs::path mp3 = encodedTone();
        ASSERT_FALSE(mp3.empty()) << "lame could not encode the test tone (see scripts/deps.sh)";
        music.stream = musicOpenStream(mp3.string());
        ASSERT_NE(music.stream, nullptr);
        music.valid = true;
        rt.music = &music;
        set.get("fade")->addKey(1.0f, 0.5f);
    }
    void TearDown() override {
        EditorTest::TearDown();
        musicSetPausedAll(false);
        musicShutdown();
    }
    MusicState music;
};

TEST_F(EditorMusic, TheAxisIsTheDecodedSoundtrackAndTabClickSeeksItInWholeMilliseconds) {
    startEditor();
    const DecodedAudio* audio = musicAudio(music.stream);
    EXPECT_EQ(editor->view.samples, audio->frames());
    EXPECT_EQ(editor->view.totalSamples, audio->frameCount());
    EXPECT_EQ(editor->view.sampleRate, uint32_t(RATE));
    EXPECT_EQ(editor->view.visibleEnd, audio->frameCount());

    // Mid-window is frame 48973.5, 1110.51 ms: the music goes to 1110 ms, cut, not rounded.
    editor->view.visibleEnd = 97947;
    press(VK_TAB);
    leftClick(0.5f, 0.6f);
    release(VK_TAB);
    EXPECT_FLOAT_EQ(rt.playTime, 48973.5f / 44100.0f);
    EXPECT_EQ(musicGetTime(music.stream), 1110u);
}

TEST_F(EditorMusic, PausePlayAndRecordTapsGoToTheMusic) {
    startEditor();
    leftClick(0.943f, BUTTON_ROW);
    EXPECT_TRUE(musicPausedAll());
    leftClick(0.91f, BUTTON_ROW);
    EXPECT_FALSE(musicPausedAll());

    musicSetTime(music.stream, 2345);
    rt.playTime = 0.5f;  // the show clock is not what counts while a stream plays
    editor->recordMode = true;
    setKeyDown(VK_SPACE, true);
    editor->draw();
    setKeyDown(VK_SPACE, false);
    Controller* c = set.get("fade");
    ASSERT_EQ(c->keys.size(), 2u);
    EXPECT_FLOAT_EQ(c->keys[1].time, float(musicGetTime(music.stream)) / 1000.0f);
    EXPECT_NEAR(c->keys[1].time, 2.345f, 0.0015f);
}

}  // namespace
}  // namespace orvotest
