// The soundtrack synthesiser: timing, instruments, mixing, and the encoded file the show plays.
#include <gtest/gtest.h>

#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "arrangement.h"
#include "instruments.h"
#include "mix.h"
#include "mp3_writer.h"
#include "song_map.h"
#include "support/file_text.h"

using namespace zelFramework::music;

namespace {

using orvotest::fileText;

double rms(const std::vector<float>& v, double t0, double t1)
{
    size_t a = Mix::sampleAt(t0), b = std::min(Mix::sampleAt(t1), v.size());
    double sum = 0;
    for (size_t i = a; i < b; ++i)
        sum += static_cast<double>(v[i]) * v[i];
    return b > a ? std::sqrt(sum / (b - a)) : 0.0;
}

bool allFinite(const Mix& mix)
{
    for (size_t i = 0; i < mix.size(); ++i)
        if (!std::isfinite(mix.left[i]) || !std::isfinite(mix.right[i]) || !std::isfinite(mix.send[i]))
            return false;
    return true;
}

struct Decoded {
    long rate = 0;
    int channels = 0;
    std::vector<short> samples;  // interleaved
    double seconds() const { return channels ? static_cast<double>(samples.size()) / channels / rate : 0; }
};

bool decodeMp3(const std::string& path, Decoded& out)
{
    mpg123_init();
    int err = 0;
    mpg123_handle* h = mpg123_new(nullptr, &err);
    if (!h)
        return false;
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET, 0);  // keep gapless decoding on
    bool ok = mpg123_open(h, path.c_str()) == MPG123_OK;
    int encoding = 0;
    ok = ok && mpg123_getformat(h, &out.rate, &out.channels, &encoding) == MPG123_OK;
    if (ok) {
        mpg123_format_none(h);
        mpg123_format(h, out.rate, out.channels, MPG123_ENC_SIGNED_16);
        std::vector<unsigned char> buffer(1 << 16);
        size_t done = 0;
        int rc;
        while ((rc = mpg123_read(h, buffer.data(), buffer.size(), &done)) == MPG123_OK || rc == MPG123_NEW_FORMAT ||
               (rc == MPG123_DONE && done > 0)) {
            const short* s = reinterpret_cast<const short*>(buffer.data());
            out.samples.insert(out.samples.end(), s, s + done / 2);
            if (rc == MPG123_DONE)
                break;
        }
        ok = rc == MPG123_DONE || rc == MPG123_OK;
    }
    mpg123_close(h);
    mpg123_delete(h);
    return ok;
}

}  // namespace

TEST(SongMap, TempoGridAndCuesLineUp)
{
    // The drop sits on beat 360, on the first chord of the progression (F minor).
    EXPECT_NEAR(cue::drop / kBeat, 360.0, 0.01);
    EXPECT_EQ(drivingChordAt(360), 0);
    EXPECT_GE(kSongSeconds, cue::end);
    const auto& flashes = tunnelFlashTimes();
    // That they are the tunnel's own moments is checked against the show's list (Composition tests).
    ASSERT_FALSE(flashes.empty());
    EXPECT_DOUBLE_EQ(flashes.front(), cue::flashes);
    for (size_t i = 1; i < flashes.size(); ++i)
        EXPECT_LT(flashes[i - 1], flashes[i]);
    EXPECT_LT(flashes.back(), cue::endScreen);
}

TEST(SoundtrackInstruments, EveryVoiceIsSilentBeforeItsOnsetThenAudibleAndFinite)
{
    using Voice = void (*)(Mix&, double);
    const Voice voices[] = {
        [](Mix& m, double t) { kick(m, t, 1); },
        [](Mix& m, double t) { snare(m, t, 1, 3); },
        [](Mix& m, double t) { hat(m, t, 1, true, 4); },
        [](Mix& m, double t) { crash(m, t, 1, 5); },
        [](Mix& m, double t) { impact(m, t, 1, 6); },
        [](Mix& m, double t) { riser(m, t, t + 0.8, 1, 7); },
        [](Mix& m, double t) { bass(m, t, 0.5, 41, 1, 0.8f); },
        [](Mix& m, double t) { pad(m, t, 0.5, chordVoicing(0), 1, 0.5f); },
        [](Mix& m, double t) { lead(m, t, 0.5, 77, 1, 0); },
        [](Mix& m, double t) { bell(m, t, 84, 1, 0); },
    };
    int index = 0;
    for (Voice v : voices) {
        Mix mix(2.0f);
        v(mix, 0.5);
        EXPECT_TRUE(allFinite(mix)) << "voice " << index;
        EXPECT_EQ(rms(mix.left, 0, 0.49), 0.0) << "voice " << index;
        EXPECT_GT(rms(mix.left, 0.5, 1.3) + rms(mix.right, 0.5, 1.3), 1e-3) << "voice " << index;
        ++index;
    }
    // A note that would run past the end of the mix is cut, not written out of bounds.
    Mix shortMix(0.1f);
    pad(shortMix, 0.05, 5.0, chordVoicing(1), 1, 1);
    EXPECT_TRUE(allFinite(shortMix));
}

TEST(SoundtrackMix, PansWithEqualPowerAndFinishesAtTheTargetPeak)
{
    Mix mix(1.0f);
    mix.add(10, 1.0f, 0.0f, 0.5f);
    EXPECT_NEAR(mix.left[10], std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(mix.right[10], std::sqrt(0.5f), 1e-6);
    EXPECT_FLOAT_EQ(mix.send[10], 0.5f);
    mix.add(11, 1.0f, -1.0f, 0.0f);
    EXPECT_NEAR(mix.right[11], 0.0f, 1e-6);
    mix.add(mix.size() + 5, 1.0f, 0.0f, 0.0f);  // ignored

    Mix loud(2.0f);
    for (size_t i = 0; i < 4410; ++i)
        loud.add(i, 3.0f * std::sin(i * 0.05f), 0.0f, 1.0f);
    finishMix(loud, 0.89f);
    float peak = 0;
    for (size_t i = 0; i < loud.size(); ++i)
        peak = std::max({peak, std::fabs(loud.left[i]), std::fabs(loud.right[i])});
    EXPECT_NEAR(peak, 0.89f, 1e-5);
    // The reverb leaves a tail after the dry sound has stopped.
    EXPECT_GT(rms(loud.left, 0.3, 0.8), 1e-3);
}

TEST(SoundtrackEncoding, Mp3IsRepeatableAndDecodesToTheSameLengthAndLevel)
{
    auto dir = std::filesystem::temp_directory_path() / "orvo-music-test";
    std::filesystem::create_directories(dir);
    Mix tone(3.0f);
    for (size_t i = 0; i < tone.size(); ++i) {
        float v = 0.5f * std::sin(2 * kPi * 440.0f * i / kSampleRate);
        tone.left[i] = v;
        tone.right[i] = v;
    }
    ASSERT_TRUE(writeMp3((dir / "a.mp3").string(), tone));
    ASSERT_TRUE(writeMp3((dir / "b.mp3").string(), tone));
    EXPECT_EQ(fileText(dir / "a.mp3"), fileText(dir / "b.mp3"));
    Decoded d;
    ASSERT_TRUE(decodeMp3((dir / "a.mp3").string(), d));
    EXPECT_EQ(d.rate, kSampleRate);
    EXPECT_EQ(d.channels, 2);
    EXPECT_GE(d.seconds(), 3.0);
    EXPECT_LT(d.seconds(), 3.2);
    short peak = 0;
    for (short s : d.samples)
        peak = std::max<short>(peak, static_cast<short>(std::abs(s)));
    EXPECT_NEAR(peak / 32768.0, 0.5, 0.06);
    EXPECT_FALSE(writeMp3((dir / "a.mp3" / "nested.mp3").string(), tone));
    std::filesystem::remove_all(dir);
}

// The soundtrack as built into the resources folder: long enough, unclipped, calm intro, loud drop, and a
// hit on the tunnel's flash moments. Decoded once for the whole suite.
class SoundtrackFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::filesystem::path anthem = std::filesystem::path(ORVO_RESOURCES_DIR) / "anthem.mp3";
        if (!std::filesystem::exists(anthem))
            return;
        decoded = std::make_unique<Decoded>();
        if (!decodeMp3(anthem.string(), *decoded)) {
            decoded.reset();
            return;
        }
        left.resize(decoded->samples.size() / 2);
        for (size_t i = 0; i < left.size(); ++i)
            left[i] = decoded->samples[2 * i] / 32768.0f;
    }
    static void TearDownTestSuite() { decoded.reset(); }
    void SetUp() override
    {
        if (!decoded)
            GTEST_SKIP() << "resources not built";
    }
    static double peak(double t0, double t1)
    {
        double p = 0;
        for (size_t i = Mix::sampleAt(t0); i < std::min(Mix::sampleAt(t1), left.size()); ++i)
            p = std::max(p, static_cast<double>(std::fabs(left[i])));
        return p;
    }

    static inline std::unique_ptr<Decoded> decoded;
    static inline std::vector<float> left;
};

TEST_F(SoundtrackFile, CoversTheShowUnclippedAndOnTheShowClock)
{
    ASSERT_EQ(decoded->channels, 2);
    EXPECT_GE(decoded->seconds(), 195.0) << "decoded " << decoded->seconds() << " s";
    // Gapless decoding trims the encoder's delay, so the decoded length is the rendered length.
    EXPECT_NEAR(decoded->seconds(), kSongSeconds, 0.01);
    int clipped = 0;
    for (short s : decoded->samples)
        clipped += std::abs(s) >= 32767;
    EXPECT_EQ(clipped, 0);
}

TEST_F(SoundtrackFile, FollowsTheShowsSections)
{
    // A calm intro well below the drop.
    EXPECT_LT(20 * std::log10(rms(left, 5, 30)), 20 * std::log10(rms(left, 125, 140)) - 3.0);
    EXPECT_LT(peak(0, 30), 0.6 * peak(124, 140));
    // A breath just before the drop, then the hit.
    EXPECT_LT(rms(left, cue::drop - 0.14, cue::drop - 0.01), 0.4 * rms(left, cue::drop + 0.01, cue::drop + 0.3));
    // The stadium's first hit stands out of the rise.
    EXPECT_GT(rms(left, cue::stadium + 0.005, cue::stadium + 0.1), 1.3 * rms(left, cue::stadium - 0.3, cue::stadium - 0.01));
    // Faded out by the end of the show.
    EXPECT_LT(rms(left, 194.5, 195.0), 0.05 * rms(left, 125, 140));
}

TEST_F(SoundtrackFile, HitsTheTunnelsFlashMoments)
{
    int accented = 0;
    for (double t : tunnelFlashTimes())
        accented += rms(left, t + 0.005, t + 0.05) > 1.3 * rms(left, t - 0.06, t - 0.01);
    // Flashes that follow each other within a few tenths of a second land in the previous hit's ring.
    EXPECT_GE(accented, static_cast<int>(tunnelFlashTimes().size() * 3 / 4));
}
