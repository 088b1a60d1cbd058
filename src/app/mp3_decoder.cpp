#include "app/mp3_decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>

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

Handle openDecoder(const std::string& path, std::string& error) {
    Handle h = newDecoder(error);
    if (h && mpg123_open(h.get(), path.c_str()) != MPG123_OK) {
        error = mpg123_strerror(h.get());
        return nullptr;
    }
    return h;
}

// Decodes the whole file, handing each run of samples to `take`; the rules of decodeMp3File.
// Returns the number of whole frames and sets `rate`; 0 with a reason when nothing is usable.
size_t decodeWhole(const std::string& path, int& rate, std::string& error,
                   const std::function<void(const int16_t*, size_t)>& take) {
    rate = 0;
    Handle h = openDecoder(path, error);
    if (!h) return 0;
    std::vector<unsigned char> buffer(64 * 1024);
    size_t samples = 0;
    for (;;) {
        size_t got = 0;
        const int result = mpg123_read(h.get(), buffer.data(), buffer.size(), &got);
        if (result == MPG123_NEW_FORMAT) {
            long newRate = 0;
            int channels = 0, encoding = 0;
            mpg123_getformat(h.get(), &newRate, &channels, &encoding);
            if (rate != 0 && newRate != rate) {
                error = "the sample rate changes inside the file";
                break;
            }
            rate = int(newRate);
        }
        if (got > 0 && rate > 0) {
            take(reinterpret_cast<const int16_t*>(buffer.data()), got / 2);
            samples += got / 2;
        }
        if (result == MPG123_DONE) break;
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
            error = mpg123_strerror(h.get());
            break;
        }
        if (samples / 2 > MAX_FRAMES) {
            error = "longer than an hour";
            samples = 0;
            break;
        }
    }
    if (samples / 2 == 0 || rate <= 0) {
        if (error.empty()) error = "no decodable audio";
        rate = 0;
        return 0;
    }
    return samples / 2;
}

}  // namespace

bool decodeMp3File(const std::string& path, DecodedAudio& out, std::string& error) {
    out = DecodedAudio{};
    int rate = 0;
    const size_t frames = decodeWhole(path, rate, error, [&out](const int16_t* samples, size_t count) {
        out.samples.insert(out.samples.end(), samples, samples + count);
    });
    if (frames == 0) {
        out = DecodedAudio{};
        return false;
    }
    out.rate = rate;
    out.samples.resize(frames * 2);  // whole frames only
    out.samples.shrink_to_fit();
    return true;
}

struct Mp3Pieces::Decoder {
    std::string path;
    Handle handle;
    uint64_t nextFrame = 0;  // the frame the handle decodes next
};

Mp3Pieces::Mp3Pieces() = default;
Mp3Pieces::~Mp3Pieces() = default;

bool Mp3Pieces::open(const std::string& path, std::string& error) {
    std::lock_guard<std::mutex> lock(mutex_);
    int rate = 0;
    const size_t frames = decodeWhole(path, rate, error, [](const int16_t*, size_t) {});
    if (frames == 0) return false;
    rate_ = rate;
    frameCount_ = frames;
    decoder_ = std::make_unique<Decoder>();
    decoder_->path = path;
    kept_.assign(PIECES_KEPT, Piece{});
    return true;
}

void Mp3Pieces::read(uint64_t first, size_t count, int16_t* out) {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t done = 0;
    while (done < count) {
        const uint64_t frame = first + done;
        if (frame >= frameCount_ || !decoder_) break;
        const Piece& p = piece(frame / PIECE_FRAMES);
        const size_t offset = size_t(frame % PIECE_FRAMES);
        const size_t n = std::min<size_t>(count - done, PIECE_FRAMES - offset);
        std::memcpy(out + done * 2, p.samples.data() + offset * 2, n * 4);
        done += n;
    }
    if (done < count) std::memset(out + done * 2, 0, (count - done) * 4);
}

const Mp3Pieces::Piece& Mp3Pieces::piece(uint64_t index) {
    ++useCounter_;
    for (Piece& p : kept_)
        if (p.index == index) {
            p.lastUse = useCounter_;
            return p;
        }
    Piece& oldest = *std::min_element(kept_.begin(), kept_.end(),
                                      [](const Piece& a, const Piece& b) { return a.lastUse < b.lastUse; });
    decodeInto(oldest, index);
    oldest.lastUse = useCounter_;
    return oldest;
}

// Playback reads the pieces in order, so the handle usually stands at the piece's first frame
// already; otherwise it seeks there (mpg123 seeks to the exact frame, the same samples as a decode
// from the start).
void Mp3Pieces::decodeInto(Piece& p, uint64_t index) {
    ++piecesDecoded_;
    p.index = index;
    p.samples.assign(PIECE_FRAMES * 2, 0);
    Decoder& d = *decoder_;
    const uint64_t start = index * PIECE_FRAMES;
    std::string error;
    if (!d.handle) d.handle = openDecoder(d.path, error);
    if (!d.handle) return;  // silence: the file is gone
    if (d.nextFrame != start) {
        const off_t at = mpg123_seek(d.handle.get(), off_t(start), SEEK_SET);
        if (at < 0 || uint64_t(at) != start) {
            d.handle.reset();  // try afresh on the next piece
            d.nextFrame = 0;
            return;
        }
    }
    const size_t wanted = size_t(std::min<uint64_t>(PIECE_FRAMES, frameCount_ - std::min(start, frameCount_)));
    size_t have = 0;
    while (have < wanted) {
        size_t got = 0;
        const int result = mpg123_read(d.handle.get(), reinterpret_cast<unsigned char*>(p.samples.data() + have * 2),
                                       (wanted - have) * 4, &got);
        have += got / 4;
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) break;
    }
    d.nextFrame = start + have;
}

}  // namespace zelFramework
