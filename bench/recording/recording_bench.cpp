// Writing a recording in virtual time: 16 channels at 62.5 kS/s, delivered in blocks of
// 10 ms of board time, as float32 into HDF5 files through the recorder and as plain raw
// float32 into a file with the same flushes.  The recorder should be at least half as
// fast as the raw file.  Both write into a directory of the benchmark's own under /tmp.
#include <recording/recorder.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int channels = 16;
constexpr double rate = 62500.0;
constexpr std::size_t blockScans = 625;
constexpr std::size_t blocks = 400; // 4 s of board time, 16 MB
constexpr std::size_t blocksPerFlush = 50;

std::vector<float> block() {
    std::vector<float> samples(blockScans * channels);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<float>(i % 2000) / 200.0f - 5.0f;
    }
    return samples;
}

std::string scratchDirectory() {
    char name[] = "/tmp/orvex-recording-bench.XXXXXX";
    return mkdtemp(name);
}

void report(benchmark::State &state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * blocks * blockScans *
                                                      channels * sizeof(float)));
}

void rawFloat32(benchmark::State &state) {
    const std::vector<float> samples = block();
    const std::string directory = scratchDirectory();
    for (auto _ : state) {
        std::FILE *file = std::fopen((directory + "/raw.f32").c_str(), "wb");
        for (std::size_t n = 0; n < blocks; ++n) {
            std::fwrite(samples.data(), sizeof(float), samples.size(), file);
            if ((n + 1) % blocksPerFlush == 0) {
                std::fflush(file);
            }
        }
        std::fclose(file);
        std::filesystem::remove(directory + "/raw.f32");
    }
    std::filesystem::remove_all(directory);
    report(state);
}
BENCHMARK(rawFloat32)->Unit(benchmark::kMillisecond);

void hdf5Float32(benchmark::State &state) {
    const std::vector<float> samples = block();
    const std::string directory = scratchDirectory();
    recording::RecordingConfig config;
    for (int k = 0; k < channels; ++k) {
        config.channels.push_back({"ai" + std::to_string(k), 10.0, "RSE", "V", 1.0, 0.0, {}});
    }
    config.interval = 1.0 / rate;
    config.directory = directory;
    config.pattern = "run.h5";
    config.flushSeconds = blocksPerFlush * blockScans / rate; // the raw file's flushes
    for (auto _ : state) {
        recording::Recorder recorder(config);
        for (std::size_t n = 0; n < blocks; ++n) {
            recorder.append(samples.data(), blockScans);
        }
        recorder.close();
        std::filesystem::remove(directory + "/run.h5");
    }
    std::filesystem::remove_all(directory);
    report(state);
}
BENCHMARK(hdf5Float32)->Unit(benchmark::kMillisecond);

} // namespace
