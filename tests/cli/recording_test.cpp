// HDF5 files from the tool, in virtual time: `ai acquire --format h5` against a CSV of the
// same run, and `orvex record` rotating, going on after a driver fault, running a week
// unattended, stopping on SIGTERM and refusing a bad configuration.
#include "tool_process.h"

#include "recording/recording_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <numbers>
#include <sstream>
#include <thread>

using testing::HasSubstr;

namespace {

constexpr int scans = 2500;

std::vector<std::vector<double>> csvRows(const std::string &text) {
    std::vector<std::vector<double>> rows;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with("#") || line.starts_with("sample")) {
            continue;
        }
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, field, ','); // the sample's number
        std::vector<double> row;
        while (std::getline(fields, field, ',')) {
            row.push_back(std::stod(field));
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> recordedFiles(const std::string &folder) {
    std::vector<std::string> files;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        // A file still being made has a hidden name.
        if (!entry.path().filename().string().starts_with(".")) {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool hasEvent(const ReadRecording &file, const std::string &kind) {
    return std::any_of(file.events.begin(), file.events.end(),
                       [&](const ReadEvent &event) { return event.kind == kind; });
}

TEST(ToolRecordingTest, AnHdf5ScanHoldsTheCsvSamplesAndDescribesItsChannels) {
    ScratchFolder scratch;
    const std::vector<std::string> scan = {
        "--bench",   virtualBench(),        "ai",      "acquire", "ai0:3",      "--rate",  "1000",
        "--samples", std::to_string(scans), "--range", "ai3=0.1", "--terminal", "ai1=diff"};
    auto asCsv = scan;
    asCsv.insert(asCsv.end(), {"-o", scratch.file("scan.csv")});
    auto asH5 = scan;
    asH5.insert(asH5.end(), {"--format", "h5", "-o", scratch.file("scan.h5")});
    ASSERT_EQ(runTool(asCsv).status, 0);
    const ToolResult h5 = runTool(asH5);
    ASSERT_EQ(h5.status, 0) << h5.err;

    const auto rows = csvRows(readFile(scratch.file("scan.csv")));
    const ReadRecording file = readRecording(scratch.file("scan.h5"));
    ASSERT_EQ(file.rows, scans);
    ASSERT_EQ(file.columns, 4);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(scans));
    for (int n = 0; n < scans; ++n) {
        for (int k = 0; k < 4; ++k) {
            // float32 against six decimals
            ASSERT_NEAR(file.at(n, k), rows[n][k], 1e-6 + 1e-6 * std::fabs(rows[n][k]))
                << "scan " << n << " channel " << k;
        }
    }
    EXPECT_EQ(file.root.texts.at("sample_format"), "float32");
    EXPECT_DOUBLE_EQ(file.root.numbers.at("sample_interval"), 0.001);
    EXPECT_EQ(file.root.texts.at("program"), "orvex ai acquire");
    EXPECT_EQ(file.root.texts.at("board"), "PXI1Slot2");
    EXPECT_EQ(file.root.texts.at("start_time_source"), "at start");
    EXPECT_GT(file.root.numbers.at("start_time_epoch"), 1.7e9);
    EXPECT_FALSE(file.root.texts.at("host").empty());
    EXPECT_EQ(file.channels[1].texts.at("terminal"), "DIFF");
    EXPECT_EQ(file.channels[3].texts.at("name"), "ai3");
    EXPECT_DOUBLE_EQ(file.channels[3].numbers.at("range"), 0.1);
    EXPECT_DOUBLE_EQ(file.channels[0].numbers.at("range"), 10.0);
    EXPECT_TRUE(hasEvent(file, "start"));
    EXPECT_TRUE(hasEvent(file, "stop"));
}

TEST(ToolRecordingTest, Float64AndASingleChannelAndNoStandardOutput) {
    ScratchFolder scratch;
    const ToolResult wide =
        runTool({"--bench", virtualBench(), "ai", "acquire", "0", "--rate", "100", "--samples",
                 "50", "--format", "h5", "--sample-type", "f64", "-o", scratch.file("one.h5")});
    ASSERT_EQ(wide.status, 0) << wide.err;
    const ReadRecording file = readRecording(scratch.file("one.h5"));
    EXPECT_EQ(file.rows, 50);
    EXPECT_EQ(file.root.texts.at("sample_format"), "float64");
    EXPECT_EQ(file.channels.at(0).texts.at("name"), "ai0");

    const ToolResult piped = runTool({"--bench", virtualBench(), "ai", "acquire", "0", "--rate",
                                      "100", "--samples", "5", "--format", "h5"});
    EXPECT_EQ(piped.status, 2);
    EXPECT_THAT(piped.err, HasSubstr("-o FILE.h5"));
}

std::string writeConfig(const ScratchFolder &scratch, const std::string &lines,
                        const std::string &rate = "100") {
    const std::string path = scratch.file("run.conf");
    writeFile(path, "# a test stand\nchannels = ai0:3\nrate = " + rate +
                        "\nrange = ai3=0.1\n"
                        "directory = " +
                        scratch.file("out") + "\n" + lines);
    std::filesystem::create_directory(scratch.file("out"));
    return path;
}

TEST(ToolRecordingTest, RotationEveryTenSecondsGivesSixFilesWithAContinuousCount) {
    ScratchFolder scratch;
    const std::string config =
        writeConfig(scratch, "rotate-seconds = 10\nduration = 60\nnotes = rotation\n");
    const ToolResult run = runTool({"--bench", virtualBench(), "record", config});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("<6>orvex-record: "));

    const auto files = recordedFiles(scratch.file("out"));
    ASSERT_EQ(files.size(), 6u);
    double recordingStart = 0.0;
    for (std::size_t k = 0; k < files.size(); ++k) {
        const ReadRecording file = readRecording(files[k]);
        EXPECT_EQ(file.rows, 1000) << files[k];
        EXPECT_EQ(file.root.numbers.at("first_sample_index"), 1000.0 * static_cast<double>(k));
        EXPECT_EQ(file.root.texts.at("notes"), "rotation");
        if (k == 0) {
            recordingStart = file.root.numbers.at("start_time_epoch");
        }
        EXPECT_NEAR(file.root.numbers.at("start_time_epoch"),
                    recordingStart + 10.0 * static_cast<double>(k), 1e-6);
    }
    EXPECT_TRUE(hasEvent(readRecording(files.back()), "stop"));
}

TEST(ToolRecordingTest, ADriverFaultIsAGapAndTheRunGoesOn) {
    ScratchFolder scratch;
    const std::string config = writeConfig(scratch, "duration = 30\n");
    const ToolResult run = runTool(
        {"--bench", std::string(CLI_TEST_DATA) + "/record_fault_bench.json", "record", config});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("<3>orvex-record: driver error -200279"));

    const auto files = recordedFiles(scratch.file("out"));
    ASSERT_EQ(files.size(), 1u);
    const ReadRecording file = readRecording(files.front());
    EXPECT_EQ(file.rows, 3000); // the run went on to its end
    const auto gap = std::find_if(file.events.begin(), file.events.end(),
                                  [](const ReadEvent &event) { return event.kind == "gap"; });
    ASSERT_NE(gap, file.events.end());
    EXPECT_GT(gap->sampleIndex, 0);
    EXPECT_LT(gap->sampleIndex, 3000);
    EXPECT_GE(gap->duration, 0);
    EXPECT_EQ(gap->code, -200279);
    EXPECT_TRUE(hasEvent(file, "driver_error"));
}

// The stick of record_week_bench.json: each axis eased from 0 V to 5 V and back once a day.
double stickVolts(double boardSeconds) {
    constexpr double halfDay = 43200.0;
    const double position = boardSeconds / halfDay;
    const double ease = 0.5 - 0.5 * std::cos(std::numbers::pi * (position - std::floor(position)));
    const bool rising = static_cast<long long>(std::floor(position)) % 2 == 0;
    return 5.0 * (rising ? ease : 1.0 - ease);
}

// A week of board time at 10 S/s with a file an hour and a driver fault about once a day,
// in the minute or so that the simulated board's virtual time allows.
TEST(ToolRecordingTest, AnUnattendedWeekKeepsEverySampleAcrossFilesAndFaults) {
    ScratchFolder scratch;
    const std::string config = scratch.file("week.conf");
    writeFile(config, "channels = ai0:3\nrate = 10\nrotate-seconds = 3600\nduration = 604800\n"
                      "directory = " +
                          scratch.file("out") + "\n");
    std::filesystem::create_directory(scratch.file("out"));
    const ToolResult run = runTool(
        {"--bench", std::string(CLI_TEST_DATA) + "/record_week_bench.json", "record", config});
    ASSERT_EQ(run.status, 0) << run.err;

    const auto files = recordedFiles(scratch.file("out"));
    ASSERT_EQ(files.size(), 7u * 24u);
    constexpr double codeVolts = 20.0 / 65536.0;
    std::int64_t next = 0;
    std::int64_t wrong = 0;
    std::vector<ReadEvent> faults;
    std::vector<ReadEvent> gaps;
    for (const std::string &path : files) {
        const ReadRecording file = readRecording(path);
        EXPECT_EQ(file.rows, 36000) << path;
        EXPECT_EQ(file.root.numbers.at("first_sample_index"), static_cast<double>(next)) << path;
        // The signal follows board time, which began with the recording's first sample:
        // each sample must be the one the file's start time and its row say.
        const double fileStart = file.root.numbers.at("start_time_epoch") -
                                 file.root.numbers.at("recording_start_time_epoch");
        for (std::int64_t row = 0; row < file.rows; ++row) {
            const double expected = stickVolts(fileStart + 0.1 * static_cast<double>(row));
            wrong += std::abs(file.at(row, 0)) > codeVolts ||
                     std::abs(file.at(row, 1)) > codeVolts ||
                     std::abs(file.at(row, 2) - expected) > 2 * codeVolts ||
                     std::abs(file.at(row, 3) - expected) > 2 * codeVolts;
        }
        for (const ReadEvent &event : file.events) {
            if (event.kind == "driver_error") {
                faults.push_back(event);
            } else if (event.kind == "gap") {
                gaps.push_back(event);
            }
        }
        next += file.rows;
    }
    EXPECT_EQ(next, 6048000);
    EXPECT_EQ(wrong, 0);
    ASSERT_EQ(faults.size(), 7u);
    ASSERT_EQ(gaps.size(), 7u);
    for (std::size_t k = 0; k < gaps.size(); ++k) {
        EXPECT_EQ(faults[k].code, -200279);
        EXPECT_EQ(gaps[k].code, -200279);
        EXPECT_EQ(gaps[k].sampleIndex, faults[k].sampleIndex);
        EXPECT_GE(gaps[k].duration, 0);
    }
    EXPECT_TRUE(hasEvent(readRecording(files.back()), "stop"));
}

#ifndef _WIN32
TEST(ToolRecordingTest, AFullDiskEndsWithStatusOneAndAFileThatOpens) {
    ScratchFolder scratch;
    constexpr long limit = 2 << 20;
    const ToolResult acquired = runToolWithFileLimit(
        {"--bench", virtualBench(), "ai", "acquire", "ai0:3", "--rate", "10000", "--samples",
         "200000", "--format", "h5", "-o", scratch.file("full.h5")},
        limit);
    EXPECT_EQ(acquired.status, 1);
    EXPECT_THAT(acquired.err, HasSubstr("File too large"));
    EXPECT_THAT(acquired.err, HasSubstr("holds the samples flushed before the failure"));
    const ReadRecording file = readRecording(scratch.file("full.h5"));
    EXPECT_GT(file.rows, 0);
    EXPECT_LT(file.rows, 200000);

    const std::string config = writeConfig(scratch, "", "10000");
    const ToolResult recorded =
        runToolWithFileLimit({"--bench", virtualBench(), "record", config}, limit);
    EXPECT_EQ(recorded.status, 1);
    EXPECT_THAT(recorded.err, HasSubstr("<3>orvex-record: cannot make room"));
    const auto files = recordedFiles(scratch.file("out"));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_GT(readRecording(files.front()).rows, 0);
}
#endif

// Waits until the recorder has made `count` files, however slowly the machine runs it.
void awaitFiles(const ScratchFolder &scratch, std::size_t count) {
    for (int wait = 0; wait < 200 && recordedFiles(scratch.file("out")).size() < count; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

TEST(ToolRecordingTest, SigtermEndsTheRecordingWithAStopEvent) {
    ScratchFolder scratch;
    const std::string config = writeConfig(scratch, "", "10");
    ToolProcess recorder({"--bench", virtualBench(), "record", config});
    awaitFiles(scratch, 1);
    recorder.signal(SIGTERM);
    const auto run = recorder.finishWithin(20.0);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->status, 0) << run->err;
    const auto files = recordedFiles(scratch.file("out"));
    ASSERT_EQ(files.size(), 1u);
    const ReadRecording file = readRecording(files.front());
    EXPECT_GT(file.rows, 0);
    EXPECT_TRUE(hasEvent(file, "stop"));
}

#ifndef _WIN32
TEST(ToolRecordingTest, SighupStartsANewFileWhereTheLastEnds) {
    ScratchFolder scratch;
    const std::string config = writeConfig(scratch, "", "10");
    ToolProcess recorder({"--bench", virtualBench(), "record", config});
    awaitFiles(scratch, 1);
    recorder.signal(SIGHUP);
    awaitFiles(scratch, 2);
    recorder.signal(SIGTERM);
    const auto run = recorder.finishWithin(20.0);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->status, 0) << run->err;
    EXPECT_THAT(run->err, HasSubstr("<5>orvex-record: a new file begins"));
    const auto files = recordedFiles(scratch.file("out"));
    ASSERT_EQ(files.size(), 2u);
    const ReadRecording first = readRecording(files[0]);
    const ReadRecording second = readRecording(files[1]);
    EXPECT_EQ(second.root.numbers.at("first_sample_index"), static_cast<double>(first.rows));
    EXPECT_TRUE(hasEvent(second, "stop"));
}
#endif

TEST(ToolRecordingTest, TheShippedExampleConfigurationRecords) {
    ScratchFolder scratch;
    std::string example =
        readFile(std::string(CLI_TEST_DATA) + "/../../tools/orvex-cli/orvex-record.conf");
    const auto replace = [&](const std::string &from, const std::string &to) {
        const auto at = example.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        example.replace(at, from.size(), to);
    };
    replace("directory = /var/lib/orvex", "directory = " + scratch.file("out"));
    replace("duration = 0", "duration = 5");
    std::filesystem::create_directory(scratch.file("out"));
    writeFile(scratch.file("stand.conf"), example);
    const ToolResult run =
        runTool({"--bench", virtualBench(), "record", scratch.file("stand.conf")});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto files = recordedFiles(scratch.file("out"));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(readRecording(files.front()).rows, 50);
}

TEST(ToolRecordingTest, ABadConfigurationIsAUsageErrorNamingItsLine) {
    ScratchFolder scratch;
    const struct {
        std::string lines, message;
    } cases[] = {
        {"colour = blue\n", "run.conf:6: unknown key 'colour'"},
        {"notes = a\nnotes = b\n", "run.conf:7: 'notes' is given twice"},
        {"rotate-seconds ten\n", "run.conf:6: not 'key = value'"},
        {"sample-type = i8\n", "sample-type 'i8' is not f32 or f64"},
        {"range = ai9=1\n", "ai9"},
    };
    for (const auto &bad : cases) {
        const ToolResult run =
            runTool({"--bench", virtualBench(), "record", writeConfig(scratch, bad.lines)});
        EXPECT_EQ(run.status, 2) << bad.lines;
        EXPECT_THAT(run.err, HasSubstr(bad.message)) << bad.lines;
    }
    writeFile(scratch.file("empty.conf"), "# nothing\n");
    const ToolResult empty = runTool({"record", scratch.file("empty.conf")});
    EXPECT_EQ(empty.status, 2);
    EXPECT_THAT(empty.err, HasSubstr("give 'channels = ...'"));
}

} // namespace
