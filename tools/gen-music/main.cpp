// gen-music: synthesises the show's soundtrack and encodes it to MP3.
//   gen-music OUTPUT.mp3 [--wav OUTPUT.wav]
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "arrangement.h"
#include "mp3_writer.h"
#include "song_map.h"
#include "tool_usage.h"

using namespace zelFramework::music;

int main(int argc, char** argv)
{
    const bool help = zelFramework::toolfiles::helpRequested(argc, argv);
    if (help || argc < 2)
        return zelFramework::toolfiles::printUsage("usage: gen-music OUTPUT.mp3 [--wav OUTPUT.wav]\n", help);
    std::string wavPath;
    for (int i = 2; i + 1 < argc; i += 2)
        if (std::strcmp(argv[i], "--wav") == 0)
            wavPath = argv[i + 1];

    auto started = std::chrono::steady_clock::now();
    Mix mix(static_cast<float>(kSongSeconds));
    composeSoundtrack(mix);
    auto synthesised = std::chrono::steady_clock::now();
    bool ok = writeMp3(argv[1], mix);
    if (ok && !wavPath.empty())
        ok = writeWav(wavPath, mix);
    auto done = std::chrono::steady_clock::now();
    std::printf("gen-music: %.1f s of sound, synthesis %.1f s, encoding %.1f s\n", kSongSeconds,
                std::chrono::duration<double>(synthesised - started).count(),
                std::chrono::duration<double>(done - synthesised).count());
    return ok ? 0 : 1;
}
