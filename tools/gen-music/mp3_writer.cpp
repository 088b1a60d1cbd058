#include "mp3_writer.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "output_file.h"

namespace zelFramework::music {

bool writeMp3(const std::string& path, const Mix& mix)
{
    lame_t lame = lame_init();
    if (!lame)
        return false;
    lame_set_in_samplerate(lame, kSampleRate);
    lame_set_out_samplerate(lame, kSampleRate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_brate(lame, 192);
    lame_set_quality(lame, 5);
    // The Info tag tells decoders the encoder delay and padding, so they trim them and the music stays
    // in sync with the show's clock from the first sample.
    lame_set_bWriteVbrTag(lame, 1);
    lame_set_write_id3tag_automatic(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        std::fprintf(stderr, "gen-music: LAME refused its settings\n");
        return false;
    }
    FILE* f = toolfiles::openForWriting(path, "gen-music");
    if (!f) {
        lame_close(lame);
        return false;
    }
    const int chunk = 8192;
    std::vector<unsigned char> out(static_cast<size_t>(1.25 * chunk + 7200));
    bool ok = true;
    for (size_t pos = 0; pos < mix.size() && ok; pos += chunk) {
        int n = static_cast<int>(std::min<size_t>(chunk, mix.size() - pos));
        int bytes = lame_encode_buffer_ieee_float(lame, &mix.left[pos], &mix.right[pos], n, out.data(),
                                                  static_cast<int>(out.size()));
        ok = bytes >= 0 && std::fwrite(out.data(), 1, static_cast<size_t>(bytes), f) == static_cast<size_t>(bytes);
    }
    if (ok) {
        int bytes = lame_encode_flush(lame, out.data(), static_cast<int>(out.size()));
        ok = bytes >= 0 && std::fwrite(out.data(), 1, static_cast<size_t>(bytes), f) == static_cast<size_t>(bytes);
    }
    if (ok) {
        // The tag frame was reserved at the start of the stream; fill it in now that the totals are known.
        size_t tagBytes = lame_get_lametag_frame(lame, out.data(), out.size());
        ok = tagBytes > 0 && tagBytes <= out.size() && std::fseek(f, 0, SEEK_SET) == 0 &&
             std::fwrite(out.data(), 1, tagBytes, f) == tagBytes;
    }
    lame_close(lame);
    ok = (std::fclose(f) == 0) && ok;
    if (!ok)
        std::fprintf(stderr, "gen-music: MP3 encoding failed for %s\n", path.c_str());
    return ok;
}

namespace {

void putU32(FILE* f, uint32_t v)
{
    unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                          static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::fwrite(b, 1, 4, f);
}

void putU16(FILE* f, uint16_t v)
{
    unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, f);
}

}  // namespace

bool writeWav(const std::string& path, const Mix& mix)
{
    FILE* f = toolfiles::openForWriting(path, "gen-music");
    if (!f)
        return false;
    uint32_t dataBytes = static_cast<uint32_t>(mix.size() * 4);
    std::fwrite("RIFF", 1, 4, f);
    putU32(f, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    putU32(f, 16);
    putU16(f, 1);
    putU16(f, 2);
    putU32(f, kSampleRate);
    putU32(f, kSampleRate * 4);
    putU16(f, 4);
    putU16(f, 16);
    std::fwrite("data", 1, 4, f);
    putU32(f, dataBytes);
    for (size_t i = 0; i < mix.size(); ++i)
        for (float v : {mix.left[i], mix.right[i]})
            putU16(f, static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f))));
    return std::fclose(f) == 0;
}

}  // namespace zelFramework::music
