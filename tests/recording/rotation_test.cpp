// Rotation: the files of a recording join without a sample lost or doubled, each with
// its exact start time in its attributes and its name.
#include "recording_reader.h"
#include "synthetic_recording.h"
#include "temporary_directory.h"

#include <recording/recorder.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using recording::SampleFormat;

constexpr int channels = 4;

// Appends `scans` scans from `first` in blocks of `block`.
void append(recording::Recorder &recorder, std::int64_t first, std::int64_t scans,
            std::int64_t block) {
    std::vector<float> data;
    for (std::int64_t from = first; from < first + scans; from += block) {
        data.clear();
        for (std::int64_t n = from; n < std::min(from + block, first + scans); ++n) {
            for (int k = 0; k < channels; ++k) {
                data.push_back(static_cast<float>(synthetic::volts(n, k)));
            }
        }
        recorder.append(data.data(), data.size() / channels);
    }
}

// The files' samples in a row, each where its first_sample_index says, checked against
// the synthetic signal; returns how many there are in all.
std::int64_t expectContinuous(const std::vector<std::string> &files) {
    std::int64_t next = 0;
    int wrong = 0;
    for (const std::string &file : files) {
        const ReadRecording read = readRecording(file);
        EXPECT_EQ(read.root.numbers.at("first_sample_index"), next) << file;
        for (std::int64_t n = 0; n < read.rows; ++n) {
            for (int k = 0; k < channels; ++k) {
                wrong += read.at(n, k) != static_cast<float>(synthetic::volts(next + n, k));
            }
        }
        next += read.rows;
    }
    EXPECT_EQ(wrong, 0);
    return next;
}

TEST(RecordingRotation, SixtySecondsInTenSecondFilesGiveSixFilesWithExactStarts) {
    TemporaryDirectory directory;
    recording::RecordingConfig config =
        synthetic::config(channels, 100.0, SampleFormat::Float32, directory.path());
    config.rotation.seconds = 10.0;
    config.pattern = "run-%Y%m%dT%H%M%S.%f-%n.h5";
    recording::Recorder recorder(config);
    append(recorder, 0, 6000, 333); // blocks that straddle every seam
    recorder.close();

    const std::vector<std::string> files = directory.files();
    ASSERT_EQ(files, recorder.files());
    ASSERT_EQ(files.size(), 6u);
    EXPECT_EQ(expectContinuous(files), 6000);
    for (int i = 0; i < 6; ++i) {
        const ReadRecording read = readRecording(files[i]);
        EXPECT_EQ(read.rows, 1000);
        EXPECT_EQ(read.root.numbers.at("file_number"), i);
        EXPECT_EQ(read.root.numbers.at("start_time_epoch"), synthetic::startEpoch + i * 10.0);
        const std::string second = i == 0 ? "00" : std::to_string(i * 10);
        EXPECT_EQ(read.root.texts.at("start_time"), "2024-05-01T12:00:" + second + ".250000Z");
        EXPECT_EQ(std::filesystem::path(files[i]).filename(),
                  "run-20240501T1200" + second + ".250000-000" + std::to_string(i) + ".h5");
        // Each file but the first opens with its rotation event; the last ends with stop.
        EXPECT_EQ(read.events.front().kind, i == 0 ? "start" : "rotation");
        EXPECT_EQ(read.events.front().sampleIndex, i * 1000);
        EXPECT_EQ(read.events.back().kind, i == 5 ? "stop" : read.events.front().kind);
    }
}

TEST(RecordingRotation, AFileAfterAGapStartsAtItsFirstSampleNotAtItsIndex) {
    TemporaryDirectory directory;
    recording::RecordingConfig config =
        synthetic::config(channels, 100.0, SampleFormat::Float32, directory.path());
    config.rotation.seconds = 10.0;
    recording::Recorder recorder(config);
    append(recorder, 0, 1500, 100);
    recorder.event({recording::EventKind::Gap, -1, -200279, "scan restarted", 250});
    append(recorder, 1500, 1500, 100);
    recorder.event({recording::EventKind::Gap, -1, -200279, "scan restarted", 50});
    append(recorder, 3000, 100, 100);
    recorder.close();

    const std::vector<std::string> files = recorder.files();
    ASSERT_EQ(files.size(), 4u);
    // The second file begins before the first gap, the third and fourth after it, the
    // fourth after both.
    const double missedSeconds[] = {0.0, 0.0, 2.5, 3.0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(readRecording(files[i]).root.numbers.at("start_time_epoch"),
                         synthetic::startEpoch + i * 10.0 + missedSeconds[i])
            << files[i];
    }
    const ReadRecording second = readRecording(files[1]);
    const auto gap = std::find_if(second.events.begin(), second.events.end(),
                                  [](const ReadEvent &event) { return event.kind == "gap"; });
    ASSERT_NE(gap, second.events.end());
    EXPECT_EQ(gap->sampleIndex, 1500);
    EXPECT_DOUBLE_EQ(gap->timeOffset, 17.5); // the first sample after the gap
    EXPECT_DOUBLE_EQ(readRecording(files[2]).events.front().timeOffset, 22.5); // its rotation
}

TEST(RecordingRotation, BySizeAndOnRequest) {
    TemporaryDirectory directory;
    recording::RecordingConfig config =
        synthetic::config(channels, 1000.0, SampleFormat::Float32, directory.path());
    config.rotation.bytes = 16000; // 1000 scans of four 4-byte samples
    config.pattern = "part-%n.h5";
    recording::Recorder recorder(config);
    append(recorder, 0, 2300, 64);
    recorder.rotateNow();
    append(recorder, 2300, 100, 64);
    recorder.close();

    std::vector<std::int64_t> rows;
    for (const std::string &file : directory.files()) {
        rows.push_back(readRecording(file).rows);
    }
    EXPECT_EQ(rows, (std::vector<std::int64_t>{1000, 1000, 300, 100}));
    EXPECT_EQ(expectContinuous(directory.files()), 2400);
}

TEST(RecordingRotation, AnExistingFileIsNeverReplaced) {
    TemporaryDirectory directory;
    recording::RecordingConfig config =
        synthetic::config(channels, 1000.0, SampleFormat::Float32, directory.path());
    config.pattern = "same.h5";
    std::ofstream(directory.path() + "/same.h5") << "not ours";
    try {
        recording::Recorder recorder(config);
        FAIL() << "made a file over an existing one";
    } catch (const recording::RecordingError &error) {
        EXPECT_NE(std::string(error.what()).find(directory.path() + "/same.h5"), std::string::npos)
            << error.what();
    }
    std::ifstream kept(directory.path() + "/same.h5");
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "not ours");
}

} // namespace
