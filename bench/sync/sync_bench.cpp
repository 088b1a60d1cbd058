// Costs of the per-frame evaluation, the sync data file and the MIDI reader at the show's sizes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sync/controller_set.h"
#include "sync/midi/midi_file.h"

using namespace zelFramework;

namespace {

// 49 controllers of 20 keys each over the show's 195 s, with every curve and ends code in use.
void fillShowSizedSet(ControllerSet& set) {
    for (int c = 0; c < 49; ++c) {
        Controller* ctl = set.get("bench controller " + std::to_string(c));
        for (int k = 0; k < 20; ++k) ctl->addKey(float(k) * 9.75f + float(c) * 0.01f, float((k * 7 + c) % 10) / 10.0f);
        for (size_t s = 0; s < ctl->segments.size(); ++s)
            ctl->segments[s] = {int32_t(1 + (s + size_t(c)) % 4), int32_t(1 + (s * 3 + size_t(c)) % 7)};
    }
}

std::string scratchFile(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() / "orvo-sync-bench";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

void BM_UpdateShowSizedSet(benchmark::State& state) {
    ControllerSet set;
    fillShowSizedSet(set);
    float t = 0.0f;
    for (auto _ : state) {
        set.update(t);
        benchmark::DoNotOptimize(set.at(48)->value);
        t += 0.016f;
        if (t > 195.0f) t = 0.0f;
    }
}
BENCHMARK(BM_UpdateShowSizedSet);

void BM_SaveShowSizedSet(benchmark::State& state) {
    ControllerSet set;
    fillShowSizedSet(set);
    const std::string path = scratchFile("save.dat");
    for (auto _ : state)
        if (!set.save(path)) state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveShowSizedSet);

void BM_LoadShowSizedSet(benchmark::State& state) {
    ControllerSet source;
    fillShowSizedSet(source);
    const std::string path = scratchFile("load.dat");
    source.save(path);
    ControllerSet set;
    for (auto _ : state)
        if (!set.load(path)) state.SkipWithError("load failed");
}
BENCHMARK(BM_LoadShowSizedSet);

void writeBigEndian(std::ofstream& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.put(char(v >> (8 * i)));
}

// A format 1 file of 10,000 events: a set-tempo track, and 4999 notes (a note-on and a velocity-0
// note-on each, in running status) with an end-of-track.
std::string writeTenThousandEventFile() {
    const std::string path = scratchFile("10000.mid");
    std::string notes;
    for (int i = 0; i < 4999; ++i) {
        const char key = char(36 + i % 48);
        if (i == 0) notes += {'\x00', '\x90', key, '\x60'};
        else notes += {'\x10', key, '\x60'};
        notes += {'\x30', key, '\x00'};  // velocity 0 note-on as the note's end
    }
    notes += {'\x00', '\xFF', '\x2F', '\x00'};
    const std::string tempo = {'\x00', '\xFF', '\x51', '\x03', '\x07', '\xA1', '\x20'};
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write("MThd", 4);
    writeBigEndian(out, 6, 4);
    writeBigEndian(out, 1, 2);
    writeBigEndian(out, 2, 2);
    writeBigEndian(out, 480, 2);
    for (const std::string* track : {&tempo, static_cast<const std::string*>(&notes)}) {
        out.write("MTrk", 4);
        writeBigEndian(out, uint32_t(track->size()), 4);
        out.write(track->data(), std::streamsize(track->size()));
    }
    return path;
}

void BM_ReadMidiFile10000Events(benchmark::State& state) {
    const std::string path = writeTenThousandEventFile();
    size_t events = 0;
    for (auto _ : state) {
        const MidiFile file = readMidiFile(path);
        events = 0;
        for (const MidiTrack& t : file.tracks) events += t.events.size();
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = double(events);
}
BENCHMARK(BM_ReadMidiFile10000Events);

}  // namespace

BENCHMARK_MAIN();
