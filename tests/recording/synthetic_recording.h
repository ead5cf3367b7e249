// The synthetic recording that the tests write and check: its channels and samples
// follow from the sample index alone, so that any file can be checked on its own.
// tests/python/test_recording.py computes the same values.
#ifndef TESTS_RECORDING_SYNTHETIC_RECORDING_H
#define TESTS_RECORDING_SYNTHETIC_RECORDING_H

#include <recording/recording_config.h>

#include <cstdint>
#include <string>

namespace synthetic {

// 2024-05-01T12:00:00.250000Z
constexpr double startEpoch = 1714564800.25;

inline double volts(std::int64_t index, int channel) {
    return channel + static_cast<double>(index % 1000) / 1000.0;
}

inline std::int16_t code(std::int64_t index, int channel) {
    return static_cast<std::int16_t>((index * 37 + channel * 5000) % 65536 - 32768);
}

inline double scale(int channel) {
    return 10.0 / 32768.0 / (channel + 1);
}
inline double offset(int channel) {
    return 0.01 * channel;
}

inline recording::RecordingConfig config(int channels, double rate, recording::SampleFormat format,
                                         const std::string &directory) {
    static const char *const terminals[] = {"RSE", "NRSE", "DIFF"};
    recording::RecordingConfig config;
    for (int k = 0; k < channels; ++k) {
        recording::ChannelDescription channel;
        channel.name = "ai" + std::to_string(k);
        channel.range = 10.0 / (k + 1);
        channel.terminal = terminals[k % 3];
        channel.scale = scale(k);
        channel.offset = offset(k);
        if (k == 2) {
            channel.calibration = {{"volts_at_minus_one", 0.25}, {"volts_at_plus_one", 4.75}};
        }
        config.channels.push_back(channel);
    }
    config.interval = 1.0 / rate;
    config.start = {startEpoch, "at start", 0.0005};
    config.format = format;
    config.directory = directory;
    config.pattern = "run-%Y%m%dT%H%M%S.%f.h5";
    config.provenance = {"PXI-6251 (simulated)",
                         2,
                         "liborvex_simboard.so",
                         "recording_writer",
                         "0.3.0",
                         "0.3.0",
                         "testhost",
                         "synthetic data"};
    return config;
}

} // namespace synthetic

#endif
