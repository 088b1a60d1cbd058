// Writing one captured frame: the PNG encoding and the file, per still of the show in docs/show (the
// README's pictures, 640 x 280 frames of the show). A capture encodes on its writer's thread while
// the next frame renders on the same cores, so this time is taken from the show's frames.
#include <benchmark/benchmark.h>

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/png_writer.h"

using namespace zelFramework;

namespace {

struct Frame {
    int width = 0, height = 0;
    std::vector<uint8_t> rows;  // bottom-up, as the window's pixels are read
};

Frame readStill(const std::filesystem::path& path) {
    Frame frame;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.string().c_str())) return frame;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> topDown(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, topDown.data(), 0, nullptr)) return frame;
    frame.width = int(image.width);
    frame.height = int(image.height);
    const size_t stride = size_t(frame.width) * 3;
    frame.rows.resize(topDown.size());
    for (int y = 0; y < frame.height; ++y)
        std::copy_n(topDown.begin() + std::ptrdiff_t(size_t(y) * stride), stride,
                    frame.rows.begin() + std::ptrdiff_t(size_t(frame.height - 1 - y) * stride));
    return frame;
}

void writeFrame(benchmark::State& state, const Frame& frame) {
    const std::string path = (std::filesystem::temp_directory_path() / "orvo_bench_capture_frame.png").string();
    std::string why;
    for (auto _ : state)
        if (!encodePngFile(path, frame.width, frame.height, frame.rows, why)) state.SkipWithError(why.c_str());
    std::error_code ec;
    state.counters["kb"] = double(std::filesystem::file_size(path, ec)) / 1024.0;
    std::filesystem::remove(path, ec);
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path stills = std::filesystem::path(ORVO_SOURCE_DIR) / "docs" / "show";
    std::vector<std::filesystem::path> paths;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(stills, ec))
        if (entry.path().extension() == ".png") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<Frame> frames;
    for (const auto& path : paths) {
        Frame frame = readStill(path);
        if (frame.rows.empty()) continue;
        frames.push_back(std::move(frame));
        benchmark::RegisterBenchmark(("write frame " + path.filename().string()).c_str(),
                                     [&frames, i = frames.size() - 1](benchmark::State& s) { writeFrame(s, frames[i]); })
            ->Unit(benchmark::kMillisecond);
    }
    if (frames.empty()) {
        std::fprintf(stderr, "bench_capture: no still of the show in %s\n", stills.string().c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
