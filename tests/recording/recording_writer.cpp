// A recorder of synthetic data for the tests that need one in a process of its own: to
// follow its file, kill it, or give it too little room.  It writes blocks of 10 ms of
// board time, paced to real time with --pace, and says after each how many samples it
// has appended.
//   recording_writer DIR [--channels N] [--rate R] [--seconds S] [--rotate S]
//                    [--format f32|f64|i16] [--pace] [--lock-directory-after S]
// --lock-directory-after makes DIR read-only after S seconds of board time.
#include "synthetic_recording.h"

#include <recording/recorder.h>

#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace {

struct Options {
    std::string directory;
    int channels = 4;
    double rate = 1000.0;
    double seconds = 1.0;
    double rotate = 0.0;
    recording::SampleFormat format = recording::SampleFormat::Float32;
    bool pace = false;
    double lockAfter = -1.0;
};

recording::SampleFormat format(const std::string &name) {
    if (name == "f64") {
        return recording::SampleFormat::Float64;
    }
    return name == "i16" ? recording::SampleFormat::Int16 : recording::SampleFormat::Float32;
}

Options options(int argc, char **argv) {
    Options parsed;
    parsed.directory = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string name = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : "0";
        if (name == "--pace") {
            parsed.pace = true;
            continue;
        }
        ++i;
        if (name == "--channels") {
            parsed.channels = std::stoi(value);
        } else if (name == "--rate") {
            parsed.rate = std::stod(value);
        } else if (name == "--seconds") {
            parsed.seconds = std::stod(value);
        } else if (name == "--rotate") {
            parsed.rotate = std::stod(value);
        } else if (name == "--format") {
            parsed.format = format(value);
        } else if (name == "--lock-directory-after") {
            parsed.lockAfter = std::stod(value);
        }
    }
    return parsed;
}

template <typename Sample> void fill(std::vector<Sample> &block, std::int64_t first, int channels) {
    const std::size_t scans = block.size() / static_cast<std::size_t>(channels);
    for (std::size_t n = 0; n < scans; ++n) {
        for (int k = 0; k < channels; ++k) {
            const std::int64_t index = first + static_cast<std::int64_t>(n);
            Sample &sample = block[n * static_cast<std::size_t>(channels) + k];
            if constexpr (std::is_same_v<Sample, std::int16_t>) {
                sample = synthetic::code(index, k);
            } else {
                sample = static_cast<Sample>(synthetic::volts(index, k));
            }
        }
    }
}

template <typename Sample> void record(const Options &options) {
    recording::RecordingConfig config =
        synthetic::config(options.channels, options.rate, options.format, options.directory);
    config.rotation.seconds = options.rotate;
    recording::Recorder recorder(config);
    recorder.event({recording::EventKind::Trigger, 0, 0, "synthetic start", 0});
    const std::int64_t total = std::llround(options.seconds * options.rate);
    const std::int64_t blockScans = std::max<std::int64_t>(1, std::llround(options.rate / 100));
    const std::int64_t lockAt = std::llround(options.lockAfter * options.rate);
    std::vector<Sample> block;
    const auto started = std::chrono::steady_clock::now();
    for (std::int64_t first = 0; first < total; first += blockScans) {
        const std::int64_t scans = std::min(blockScans, total - first);
        block.resize(static_cast<std::size_t>(scans * options.channels));
        fill(block, first, options.channels);
        if (options.pace) {
            std::this_thread::sleep_until(
                started + std::chrono::duration<double>((first + scans) / options.rate));
        }
        const auto reaches = [&](std::int64_t index) {
            return first <= index && index < first + scans;
        };
        if (reaches(lockAt)) {
            chmod(options.directory.c_str(), 0555);
        }
        if (reaches(std::llround(options.rate))) {
            recorder.event({recording::EventKind::DriverError, -1, -200279, "synthetic fault", 0});
            recorder.event({recording::EventKind::Gap, -1, 0, "synthetic gap", 10});
        }
        recorder.append(block.data(), static_cast<std::size_t>(scans));
        std::printf("appended %lld\n", static_cast<long long>(first) + scans);
        std::fflush(stdout);
    }
    recorder.close();
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: recording_writer DIR [options]\n");
        return 2;
    }
    const Options parsed = options(argc, argv);
    try {
        switch (parsed.format) {
        case recording::SampleFormat::Float64:
            record<double>(parsed);
            break;
        case recording::SampleFormat::Int16:
            record<std::int16_t>(parsed);
            break;
        case recording::SampleFormat::Float32:
            record<float>(parsed);
            break;
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "recording_writer: %s\n", error.what());
        return 1;
    }
    return 0;
}
