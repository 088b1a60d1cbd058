#include "app/mp3_decoder.h"

#include <mpg123.h>

#include <memory>

namespace zelFramework {

namespace {

// An hour of 48 kHz stereo is far beyond any soundtrack; a file that decodes to more is not one.
constexpr size_t MAX_FRAMES = size_t(48000) * 3600;

struct HandleCloser {
    void operator()(mpg123_handle* h) const {
        mpg123_close(h);
        mpg123_delete(h);
    }
};
using Handle = std::unique_ptr<mpg123_handle, HandleCloser>;

Handle newDecoder(std::string& error) {
    static const bool initialised = mpg123_init() == MPG123_OK;
    if (!initialised) {
        error = "mpg123_init failed";
        return nullptr;
    }
    int result = MPG123_OK;
    Handle h(mpg123_new(nullptr, &result));
    if (!h) {
        error = std::string("mpg123_new: ") + mpg123_plain_strerror(result);
        return nullptr;
    }
    mpg123_param(h.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_FORCE_STEREO, 0.0);
    // Every rate the decoder knows, always as signed 16-bit stereo.
    mpg123_format_none(h.get());
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) mpg123_format(h.get(), rates[i], MPG123_STEREO, MPG123_ENC_SIGNED_16);
    return h;
}

}  // namespace

bool decodeMp3File(const std::string& path, DecodedAudio& out, std::string& error) {
    out = DecodedAudio{};
    Handle h = newDecoder(error);
    if (!h) return false;
    if (mpg123_open(h.get(), path.c_str()) != MPG123_OK) {
        error = mpg123_strerror(h.get());
        return false;
    }

    std::vector<unsigned char> buffer(64 * 1024);
    long rate = 0;
    int channels = 0, encoding = 0;
    for (;;) {
        size_t got = 0;
        const int result = mpg123_read(h.get(), buffer.data(), buffer.size(), &got);
        if (result == MPG123_NEW_FORMAT) {
            mpg123_getformat(h.get(), &rate, &channels, &encoding);
            if (out.rate != 0 && rate != out.rate) {
                error = "the sample rate changes inside the file";
                break;
            }
            out.rate = int(rate);
        }
        if (got > 0 && out.rate > 0) {
            const auto* samples = reinterpret_cast<const int16_t*>(buffer.data());
            out.samples.insert(out.samples.end(), samples, samples + got / 2);
        }
        if (result == MPG123_DONE) break;
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
            error = mpg123_strerror(h.get());
            break;
        }
        if (out.frameCount() > MAX_FRAMES) {
            error = "longer than an hour";
            out.samples.clear();
            break;
        }
    }
    out.samples.resize(out.frameCount() * 2);  // whole frames only
    if (out.frameCount() == 0 || out.rate <= 0) {
        if (error.empty()) error = "no decodable audio";
        out = DecodedAudio{};
        return false;
    }
    return true;
}

}  // namespace zelFramework
