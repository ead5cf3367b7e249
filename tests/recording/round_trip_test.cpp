// A recording read back through HDF5 holds every sample as appended, in each format, and
// every attribute and event as described.
#include "recording_reader.h"
#include "synthetic_recording.h"
#include "temporary_directory.h"

#include <recording/recorder.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using recording::EventKind;
using recording::SampleFormat;

constexpr int channels = 4;
constexpr std::int64_t scans = 2500;

template <typename Sample> void writeInOddBlocks(recording::Recorder &recorder) {
    constexpr std::int64_t block = 7;
    std::vector<Sample> data;
    for (std::int64_t first = 0; first < scans; first += block) {
        data.clear();
        for (std::int64_t n = first; n < std::min(first + block, scans); ++n) {
            for (int k = 0; k < channels; ++k) {
                if constexpr (std::is_same_v<Sample, std::int16_t>) {
                    data.push_back(synthetic::code(n, k));
                } else {
                    data.push_back(static_cast<Sample>(synthetic::volts(n, k)));
                }
            }
        }
        recorder.append(data.data(), data.size() / channels);
        if (first == 1001) {
            recorder.event({EventKind::Gap, -1, -200279, "the driver fell behind", 25});
        }
    }
}

template <typename Sample> ReadRecording roundTrip(SampleFormat format) {
    TemporaryDirectory directory;
    recording::Recorder recorder(synthetic::config(channels, 1000.0, format, directory.path()));
    recorder.event({EventKind::Trigger, 0, 0, "ai0 rose through 1 V", 0});
    writeInOddBlocks<Sample>(recorder);
    recorder.close();
    EXPECT_EQ(recorder.files(), directory.files());
    return readRecording(recorder.files().at(0));
}

double expected(SampleFormat format, std::int64_t n, int k) {
    switch (format) {
    case SampleFormat::Float32:
        return static_cast<float>(synthetic::volts(n, k));
    case SampleFormat::Int16:
        return synthetic::code(n, k) * synthetic::scale(k) + synthetic::offset(k);
    case SampleFormat::Float64:
        break;
    }
    return synthetic::volts(n, k);
}

void expectEverySample(const ReadRecording &read, SampleFormat format) {
    ASSERT_EQ(read.rows, scans);
    ASSERT_EQ(read.columns, channels);
    int wrong = 0;
    for (std::int64_t n = 0; n < scans; ++n) {
        for (int k = 0; k < channels; ++k) {
            wrong += read.at(n, k) != expected(format, n, k);
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(RecordingRoundTrip, EachFormatHoldsEverySampleAsAppended) {
    expectEverySample(roundTrip<float>(SampleFormat::Float32), SampleFormat::Float32);
    expectEverySample(roundTrip<double>(SampleFormat::Float64), SampleFormat::Float64);
    expectEverySample(roundTrip<std::int16_t>(SampleFormat::Int16), SampleFormat::Int16);
}

TEST(RecordingRoundTrip, TheFileDescribesTheRecording) {
    ReadRecording read = roundTrip<std::int16_t>(SampleFormat::Int16);
    const std::map<std::string, std::string> texts = {
        {"format", "orvex recording"},
        {"start_time", "2024-05-01T12:00:00.250000Z"},
        {"recording_start_time", "2024-05-01T12:00:00.250000Z"},
        {"start_time_source", "at start"},
        {"sample_format", "int16"},
        {"board", "PXI-6251 (simulated)"},
        {"driver", "liborvex_simboard.so"},
        {"program", "recording_writer"},
        {"program_version", "0.3.0"},
        {"library_version", "0.3.0"},
        {"host", "testhost"},
        {"notes", "synthetic data"}};
    EXPECT_EQ(read.root.texts, texts);
    const std::map<std::string, double> numbers = {
        {"format_version", 1},
        {"start_time_epoch", synthetic::startEpoch},
        {"recording_start_time_epoch", synthetic::startEpoch},
        {"start_time_uncertainty", 0.0005},
        {"sample_interval", 0.001},
        {"sample_rate", 1000.0},
        {"first_sample_index", 0},
        {"file_number", 0},
        {"channel_count", channels},
        {"slot", 2},
        {"rotation_seconds", 0},
        {"rotation_bytes", 0}};
    EXPECT_EQ(read.root.numbers, numbers);
    ASSERT_EQ(read.channels.size(), 4u);
    const char *terminals[] = {"RSE", "NRSE", "DIFF", "RSE"};
    for (int k = 0; k < channels; ++k) {
        EXPECT_EQ(read.channels[k].texts.at("name"), "ai" + std::to_string(k));
        EXPECT_EQ(read.channels[k].texts.at("terminal"), terminals[k]);
        EXPECT_EQ(read.channels[k].texts.at("units"), "V");
        EXPECT_EQ(read.channels[k].numbers.at("range"), 10.0 / (k + 1));
        EXPECT_EQ(read.channels[k].numbers.at("scale"), synthetic::scale(k));
        EXPECT_EQ(read.channels[k].numbers.at("offset"), synthetic::offset(k));
    }
    EXPECT_TRUE(read.calibrations[0].empty());
    EXPECT_EQ(read.calibrations[2], (std::map<std::string, double>{{"volts_at_minus_one", 0.25},
                                                                   {"volts_at_plus_one", 4.75}}));
}

TEST(RecordingRoundTrip, TheProgramsOwnAttributesStandBesideTheFormats) {
    TemporaryDirectory directory;
    recording::RecordingConfig config =
        synthetic::config(1, 10.0, SampleFormat::Float32, directory.path());
    config.extraTexts = {{"x_input", "ai3"}};
    config.extraNumbers = {{"refresh_interval", 0.1}};
    recording::Recorder recorder(config);
    recorder.close();
    const ReadRecording read = readRecording(recorder.files().at(0));
    EXPECT_EQ(read.root.texts.at("x_input"), "ai3");
    EXPECT_EQ(read.root.numbers.at("refresh_interval"), 0.1);
    EXPECT_EQ(read.root.texts.at("program"), "recording_writer");

    config.extraTexts = {{"program", "a name of the format's"}};
    config.pattern = "clash.h5";
    EXPECT_THROW(recording::Recorder{config}, recording::RecordingError);
}

TEST(RecordingRoundTrip, VoltsFilesCarryNoScale) {
    ReadRecording read = roundTrip<float>(SampleFormat::Float32);
    EXPECT_EQ(read.root.texts.at("sample_format"), "float32");
    EXPECT_EQ(read.channels[1].numbers.count("scale"), 0u);
}

TEST(RecordingRoundTrip, EventsKeepTheirSampleIndexTimeAndText) {
    const ReadRecording read = roundTrip<double>(SampleFormat::Float64);
    ASSERT_EQ(read.events.size(), 4u);
    // `missed`: the samples of the gaps up to the event, which date it later than its index.
    const auto expectEvent = [](const ReadEvent &event, const std::string &kind, std::int64_t index,
                                int code, std::int64_t duration, const std::string &text,
                                std::int64_t missed = 0) {
        EXPECT_EQ(event.kind, kind);
        EXPECT_EQ(event.sampleIndex, index);
        EXPECT_DOUBLE_EQ(event.timeOffset, (index + missed) * 0.001);
        EXPECT_EQ(event.code, code);
        EXPECT_EQ(event.duration, duration);
        EXPECT_EQ(event.text, text);
    };
    expectEvent(read.events[0], "start", 0, 0, 0, "");
    expectEvent(read.events[1], "trigger", 0, 0, 0, "ai0 rose through 1 V");
    expectEvent(read.events[2], "gap", 1008, -200279, 25, "the driver fell behind", 25);
    expectEvent(read.events[3], "stop", scans, 0, 0, "", 25);
}

TEST(RecordingRoundTrip, ALongEventTextIsCutAtACharacterBoundary) {
    TemporaryDirectory directory;
    recording::Recorder recorder(
        synthetic::config(1, 10.0, SampleFormat::Float32, directory.path()));
    std::string text = "xy";
    while (text.size() < 300) {
        text += "\u00e9"; // two bytes each, the cut falls inside one
    }
    recorder.event({EventKind::DriverError, 0, -1, text, 0});
    recorder.close();
    const std::string stored = readRecording(recorder.files().at(0)).events.at(1).text;
    EXPECT_EQ(stored, text.substr(0, recording::eventTextSize - 2));
}

TEST(RecordingRoundTrip, ABadConfigurationIsRefusedBeforeAnyFile) {
    TemporaryDirectory directory;
    recording::RecordingConfig config =
        synthetic::config(2, 1000.0, SampleFormat::Int16, directory.path());
    config.pattern = "run-%Q.h5";
    EXPECT_THROW(recording::Recorder{config}, std::invalid_argument);
    config.pattern = "run.h5";
    config.channels[1].scale = 0.0;
    EXPECT_THROW(recording::Recorder{config}, std::invalid_argument);
    config.channels[1].scale = 1.0;
    config.interval = 0.0;
    EXPECT_THROW(recording::Recorder{config}, std::invalid_argument);
    EXPECT_TRUE(directory.files().empty());
}

TEST(RecordingRoundTrip, SamplesOfAnotherFormatAreRefused) {
    TemporaryDirectory directory;
    recording::Recorder recorder(
        synthetic::config(1, 1000.0, SampleFormat::Float32, directory.path()));
    const double sample = 1.0;
    EXPECT_THROW(recorder.append(&sample, 1), std::invalid_argument);
    EXPECT_EQ(recorder.samplesAppended(), 0);
}

} // namespace
