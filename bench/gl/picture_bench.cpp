// The picture work that loading does on its worker threads, per picture of the show's sizes: decoding
// a PNG, fitting a slide to the drawn size at 640 x 280 and building mipmap levels. Together with the
// loader's own line ("loaded X s after start (CPU Y s), peak memory Z MB") this shows where the
// start-up time goes; the pictures are smooth gradients with detail, like the generated slides.
#include <benchmark/benchmark.h>

#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gl/picture_file.h"

using namespace zelFramework;

namespace {

DecodedPicture pattern(int width, int height, int channels) {
    DecodedPicture p{width, height, channels, PixelBytes(size_t(width) * size_t(height) * size_t(channels))};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                p.pixels[(size_t(y) * size_t(width) + size_t(x)) * size_t(channels) + size_t(c)] =
                    uint8_t(c == 3 ? ((x / 64 + y / 64) % 2 ? 255 : 128) : (x * (c + 1) + y * 3 + (x ^ y) % 7) & 0xFF);
    return p;
}

std::vector<uint8_t> encodePng(const DecodedPicture& p) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(p.width);
    image.height = png_uint_32(p.height);
    image.format = p.bytesPerPixel == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, p.pixels.data(), 0, nullptr);
    std::vector<uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, p.pixels.data(), 0, nullptr)) bytes.clear();
    bytes.resize(size);
    return bytes;
}

void setPixels(benchmark::State& state, const DecodedPicture& p) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(p.pixels.size()));
    state.counters["MB"] = double(p.pixels.size()) / 1e6;
}

// A full-size slide (1920 x 842, RGBA) and a scene texture (1024 x 512, RGB).
void BM_DecodePng(benchmark::State& state) {
    const int channels = int(state.range(2));
    const DecodedPicture source = pattern(int(state.range(0)), int(state.range(1)), channels);
    const std::vector<uint8_t> file = encodePng(source);
    if (file.empty()) return state.SkipWithError("libpng could not encode the picture");
    for (auto _ : state) {
        DecodedPicture out;
        std::string why;
        if (!decodePicture(file, "picture.png", out, why)) return state.SkipWithError(why.c_str());
        benchmark::DoNotOptimize(out.pixels.data());
    }
    setPixels(state, source);
}
BENCHMARK(BM_DecodePng)->Args({1920, 842, 4})->Args({1024, 512, 3})->Unit(benchmark::kMillisecond);

// A slide kept at the drawn size at 640 x 280, and a video frame at 70 % of that height.
void BM_ResamplePicture(benchmark::State& state) {
    const DecodedPicture source = pattern(int(state.range(0)), int(state.range(1)), int(state.range(2)));
    for (auto _ : state) benchmark::DoNotOptimize(resamplePicture(source, int(state.range(3)), int(state.range(4))));
    setPixels(state, source);
}
BENCHMARK(BM_ResamplePicture)
    ->Args({1920, 842, 4, 640, 280})
    ->Args({1920, 842, 3, 640, 280})
    ->Args({1024, 512, 3, 392, 196})
    ->Unit(benchmark::kMillisecond);

void BM_SmallerLevels(benchmark::State& state) {
    const DecodedPicture source = pattern(int(state.range(0)), int(state.range(1)), 4);
    for (auto _ : state) benchmark::DoNotOptimize(smallerLevels(source));
    setPixels(state, source);
}
BENCHMARK(BM_SmallerLevels)->Args({1920, 842})->Args({1024, 1024})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
